#!/usr/bin/env bash
# Runs the Java purchase example as the README shows it, against vela-terminal
# listening on a free port of 127.0.0.1, and checks that the purchase was
# approved and printed its receipt.
#   run_purchase_example.sh VELA_TERMINAL COMMAND...
# COMMAND is the example's command line up to the library path; the
# terminal's address, port and the amount are appended.
set -u
terminal=$1
shift

exec {terminal_out}< <(exec "$terminal" --tcp --quiet)
terminal_pid=$!
trap 'kill "$terminal_pid" 2>/dev/null' EXIT

port=
if read -r -t 10 -u "$terminal_out" line; then
    port=${line##*:}
fi
case $port in
'' | *[!0-9]*)
    echo "vela-terminal did not start: ${line:-no output}"
    exit 1
    ;;
esac

output=$(timeout 120 "$@" 127.0.0.1 "$port" 100)
status=$?
echo "$output"
if [ "$status" -ne 0 ]; then
    echo "the example ended with status $status"
    exit 1
fi
for expected in "amount      100" "RRN         123456789012" "receipt:"; do
    if ! grep -qF -- "$expected" <<<"$output"; then
        echo "missing in the example's output: $expected"
        exit 1
    fi
done
