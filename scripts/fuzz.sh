#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
# Builds the libFuzzer targets in build/fuzz with clang and runs every one of
# them (each executable named fuzz_<name>) for SECONDS seconds, starting from
# its stored seed corpus fuzz/corpus/<name>/. New inputs go to
# build/fuzz/work/<name>/, findings to build/fuzz/artifacts/<name>/.
# Fails on any crash, leak, time-out or broken invariant.
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/fuzz
jobs=${VELA_JOBS:-$(nproc)}

echo "== fuzz build"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DVELA_BUILD_FUZZ=ON \
    -DVELA_BUILD_TESTS=OFF -DVELA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs"

mapfile -t targets < <(find "$build" -type f -perm -u+x -name 'fuzz_*' \
    -not -path '*/CMakeFiles/*' | sort)
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz targets found in $build" >&2
    exit 1
fi

for exe in "${targets[@]}"; do
    name=${exe##*/fuzz_}
    work=$build/work/$name
    artifacts=$build/artifacts/$name
    mkdir -p "$work" "$artifacts"
    seeds=()
    [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
    echo "== fuzz $name for ${seconds}s"
    log=$build/fuzz_$name.log
    if ! "$exe" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$work" "${seeds[@]}" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "== fuzz $name: FINDING (log $log, inputs in $artifacts)" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "== fuzz $name: ${runs:-?} executions, no finding"
done
