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
    # No screen: the same demo in the headless check mode. It connects, receives the
    # configuration, builds the sheet, changes the device name, applies it, answers the
    # device's question with yes and logs in again, printing one record per event.
    echo "demo: no display here, so the demo runs headless (--check); records follow."
    "${client[@]}" --check --run "eName.Text:=Demo;" --run "Set;" --answer yes "$@"
    echo "demo: done (headless). On a desktop the same command opens the windows."
    exit 0
fi
"${client[@]}" "$@"
