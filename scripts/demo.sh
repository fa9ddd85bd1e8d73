#!/usr/bin/env bash
# Installs what is missing, builds the library and runs the example program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DVELA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
build/release/examples/lifecycle_example build/release/src/api/c/libvelaecr.so
