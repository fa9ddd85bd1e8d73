#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite: the normal
# build, the same suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# the threaded tests under ThreadSanitizer, and a bounded fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

scripts/install-deps.sh

run_suite() { # name, ctest arguments, cmake arguments...
    local name=$1 ctest_args=$2
    shift 2
    echo "== $name build"
    cmake -S "$root" -B "build/$name" -G Ninja -DVELA_BUILD_TESTS=ON "$@" >/dev/null
    cmake --build "build/$name" -j "$jobs"
    echo "== $name tests"
    (cd "build/$name" && ctest --output-on-failure --no-tests=error -j "$jobs" $ctest_args)
}

run_suite release ""
run_suite asan "" -DVELA_SANITIZE=address,undefined -DVELA_BUILD_BENCH=OFF
run_suite tsan "-L threaded" -DVELA_SANITIZE=thread -DVELA_BUILD_BENCH=OFF

if [ -x scripts/fuzz.sh ]; then
    scripts/fuzz.sh "${VELA_FUZZ_SECONDS:-60}"
fi
echo "== all test runs passed"
