#!/usr/bin/env bash
# Starts the device simulator in the background on a loopback address (by default
# 127.0.0.1 with a free port, serving examples/demo-485-device.xm, password "demo") and
# prints "PORT PID" once it listens, so a demo can point the client at it and stop it.
#
#   tools/devsim/start-device.sh BUILD_DIR [konfidor-devsim options...]
set -euo pipefail
build_dir=${1:?usage: start-device.sh BUILD_DIR [options...]}
shift
log=$(mktemp "${TMPDIR:-/tmp}/konfidor-devsim.XXXXXX")
"$build_dir/bin/konfidor-devsim" --port 0 "$@" >"$log" 2>&1 &
pid=$!
for _ in $(seq 100); do
    port=$(sed -n 's/^konfidor-devsim: listening on .*:\([0-9]*\)$/\1/p' "$log")
    if [ -n "$port" ]; then
        echo "$port $pid"
        exit 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
        cat "$log" >&2
        exit 1
    fi
    sleep 0.1
done
echo "start-device.sh: the simulator did not start listening" >&2
kill "$pid"
exit 1
