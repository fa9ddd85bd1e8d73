#!/usr/bin/env bash
# Installs what is missing, builds the library, starts the emulated terminal
# and runs the example cash-register program against it: a card purchase with
# the terminal's status messages, the result fields and the receipt.
#
#   scripts/demo.sh          over TCP on 127.0.0.1
#   scripts/demo.sh serial   over the emulated terminal's pseudo-terminal
set -euo pipefail
cd "$(dirname "$0")/.."
transport=${1:-tcp}
case "$transport" in
tcp | serial) ;;
*)
    echo "usage: $0 [tcp|serial]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DVELA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" \
    --target purchase_tcp purchase_serial vela-terminal
bin=build/release/examples
# A paced emulated terminal: a pause before each message it sends, as a real
# terminal takes its time, so the polling program can show each status.
terminal=(build/release/tools/vela-terminal --pace 700 --quiet)

# The terminal prints where it can be reached; it is stopped on the way out.
announce=$(mktemp)
terminal_pid=
stop_terminal() {
    if [ -n "$terminal_pid" ]; then
        kill "$terminal_pid" 2>/dev/null || true
        wait "$terminal_pid" 2>/dev/null || true
    fi
    rm -f "$announce"
}
trap stop_terminal EXIT

if [ "$transport" = tcp ]; then
    "${terminal[@]}" --tcp >"$announce" &
else
    "${terminal[@]}" --pty >"$announce" &
fi
terminal_pid=$!
for _ in $(seq 100); do
    [ -s "$announce" ] && break
    sleep 0.05
done
line=$(head -n 1 "$announce")
if [ -z "$line" ]; then
    echo "the emulated terminal did not start" >&2
    exit 1
fi
echo "emulated terminal: $line"

if [ "$transport" = tcp ]; then
    "$bin/purchase_tcp" 127.0.0.1 "${line##*:}" 12550
else
    "$bin/purchase_serial" "${line#serial device: }" 12550
fi
