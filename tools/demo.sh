#!/usr/bin/env bash
# Sets everything up, builds, starts the device simulator on loopback with the sample
# device configuration, and starts Konfidor pre-filled with the simulator's address,
# port and password: pressing "Připojit" connects, logs in and receives the
# configuration. The simulator stops when Konfidor ends.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/bootstrap.sh"
build_dir=${KONFIDOR_BUILD_DIR:-$root/build}

read -r port pid < <("$root/tools/devsim/start-device.sh" "$build_dir" \
    --config "$root/examples/demo-485-device.xm" --password demo)
trap 'kill "$pid" 2>/dev/null || true' EXIT
echo "demo: device simulator listening on 127.0.0.1:$port (password \"demo\")"

# The program writes the received configuration (temp.xm~) into its working directory.
work_dir=$(mktemp -d "${TMPDIR:-/tmp}/konfidor-demo.XXXXXX")
cd "$work_dir"
# The build puts the sample sheet next to the program, where Konfidor looks for sheets.
client=("$build_dir/bin/konfidor" --address 127.0.0.1 --port "$port" --password demo)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: no display here; starting Konfidor off screen for a moment to check that it runs."
    status=0
    QT_QPA_PLATFORM=offscreen timeout 5 "${client[@]}" "$@" || status=$?
    # 124: still running when the time was up, which is what a working start looks like.
    if [ "$status" -ne 124 ]; then
        echo "demo: Konfidor ended early with status $status" >&2
        exit 1
    fi
    echo "demo: Konfidor started and ran; run this on a desktop to use it."
    exit 0
fi
"${client[@]}" "$@"
