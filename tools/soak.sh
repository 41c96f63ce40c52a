#!/usr/bin/env bash
# The soak run: one program, offscreen, against the in-process device simulator,
# through connect, build, change, "Set", confirmation, new login and disconnect as
# fast as the protocol allows, every tenth cycle against a misbehaving device.
# Prints cycles, resident memory, open descriptors, widgets and the logs' own text
# after the first cycle, after 50 and at the end.
#
#   bash tools/soak.sh MINUTES
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
minutes=${1:?usage: tools/soak.sh MINUTES}
"$root/tools/bootstrap.sh" >/dev/null
build_dir=${KONFIDOR_BUILD_DIR:-$root/build}
QT_QPA_PLATFORM=offscreen "$build_dir/bin/konfidor-soak" --minutes "$minutes" \
    --sheets "$root/examples" 2> >(grep -v -e '^QStandardPaths' -e 'does not support raise' >&2)
