#!/usr/bin/env bash
# A fleet of eight simulated converters on 127.0.0.2 to 127.0.0.9, configured by the
# example playbook with 4 forks: the first run changes and confirms all eight, the
# second changes nothing and sends no apply, a check-mode run with other values
# reports them and sends nothing. Prints the wall time per device of each run.
#
#   bash contrib/ansible/tests/fleet.sh [DEVICES]     (default 8, at most 250)
#
# Builds the program into build/ first when needed (KONFIDOR_BUILD_DIR to change
# it). Installs ansible-core from Debian when it is missing, and skips with a
# message when it cannot.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$(cd "$here/../.." && pwd)
build_dir=${KONFIDOR_BUILD_DIR:-$root/build}
devices=${1:-8}
[ "$devices" -ge 1 ] && [ "$devices" -le 250 ] || { echo "fleet.sh: 1 to 250 devices"; exit 2; }
forks=${FLEET_FORKS:-4}

KONFIDOR_BUILD_DIR=$build_dir KONFIDOR_BUILD_TARGETS="konfidor konfidor-devsim" \
    "$root/tools/bootstrap.sh" >/dev/null

if ! command -v ansible-playbook >/dev/null; then
    if [ "$(id -u)" = 0 ] && apt-get update -qq >/dev/null 2>&1 &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ansible-core >/dev/null 2>&1; then
        :
    else
        echo "fleet.sh: skipped: ansible-playbook is not installed and cannot be installed"
        exit 0
    fi
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

inventory=$work/inventory.yml
{
    echo "converters:"
    echo "  vars:"
    echo "    ansible_connection: local"
    echo "    ansible_python_interpreter: /usr/bin/python3"
    echo "    converter_password: demo"
    echo "    com1_baud: \"9600\""
    echo "    konfidor_program: $build_dir/bin/konfidor"
    echo "  hosts:"
} >"$inventory"
for i in $(seq 2 $((devices + 1))); do
    address=127.0.0.$i
    "$build_dir/bin/konfidor-devsim" --listen "$address" --port 0 --reset-delay 200 \
        --apply-file "$work/applied-$i.xml" >"$work/devsim-$i.out" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        grep -q listening "$work/devsim-$i.out" && break
        sleep 0.1
    done
    port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$work/devsim-$i.out")
    [ -n "$port" ] || { echo "fleet.sh: simulator $i did not start"; cat "$work/devsim-$i.out"; exit 1; }
    printf '    converter-%s:\n      converter_address: %s\n      converter_port: %s\n' \
        "$i" "$address" "$port" >>"$inventory"
done

# Runs the example playbook; its JSON report goes to $work/NAME.json.
play() {
    local name=$1 report=$work/$1.json
    shift
    local start end
    start=$(date +%s.%N)
    (cd "$here" && ANSIBLE_STDOUT_CALLBACK=json ANSIBLE_COLLECTIONS_PATH="$here" \
        ANSIBLE_LOCALHOST_WARNING=false ansible-playbook -i "$inventory" -f "$forks" \
        examples/playbook.yml "$@") >"$report" || true
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v n="$devices" -v f="$forks" -v what="$name" \
        'BEGIN { printf "fleet.sh: %s: %.2f s for %d devices, %.3f s per device (%d forks)\n", what, e - s, n, (e - s) / n, f }'
}

# Every host's task result has this result and this changed flag, and nothing failed.
expect() {
    python3 - "$1" "$2" "$3" "$devices" <<'PYTHON'
import json, sys
report, result, changed, devices = sys.argv[1], sys.argv[2], sys.argv[3] == "changed", int(sys.argv[4])
with open(report) as f:
    play = json.load(f)
hosts = play["plays"][0]["tasks"][0]["hosts"]
wrong = {name: (h.get("result"), h.get("changed"), h.get("msg"))
         for name, h in hosts.items()
         if h.get("result") != result or bool(h.get("changed")) != changed or h.get("failed")}
if len(hosts) != devices or wrong:
    sys.exit("fleet.sh: %s: expected %s/%s on %d hosts, got %d hosts, wrong: %s"
             % (report, result, sys.argv[3], devices, len(hosts), wrong))
PYTHON
}

applies() { ls "$work"/applied-*.xml 2>/dev/null | wc -l; }

play first
expect "$work/first.json" applied changed
[ "$(applies)" = "$devices" ] || { echo "fleet.sh: $(applies) of $devices devices received an apply"; exit 1; }
grep -q 'location="Rozvodna converter-2"' "$work/applied-2.xml" || { echo "fleet.sh: wrong apply"; exit 1; }
rm -f "$work"/applied-*.xml

play second
expect "$work/second.json" unchanged unchanged
[ "$(applies)" = 0 ] || { echo "fleet.sh: the second run sent $(applies) applies"; exit 1; }

play check-mode --check --diff -e com1_baud=38400
expect "$work/check-mode.json" dry-run changed
[ "$(applies)" = 0 ] || { echo "fleet.sh: the check-mode run sent $(applies) applies"; exit 1; }

echo "fleet.sh: $devices converters configured, idempotent, check mode sends nothing"
