#!/usr/bin/env bash
# Sets everything up, builds, and starts Konfidor.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/bootstrap.sh"
build_dir=${KONFIDOR_BUILD_DIR:-$root/build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: no display here; checking that the program starts, then stopping."
    exec "$build_dir/bin/konfidor" --version
fi
exec "$build_dir/bin/konfidor" "$@"
