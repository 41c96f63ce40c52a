#!/usr/bin/env bash
# Builds the fuzz targets (clang 14, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, into build-fuzz/) and runs one of them.
#
#   tools/fuzz.sh TARGET [SECONDS]      TARGET: xml receive script sheet variant
#   FUZZ_RUNS=10000000 tools/fuzz.sh xml 7200    stops at whichever comes first
#
# The run starts from the kept inputs (tests/fuzz/corpus/TARGET and
# tests/fuzz/regressions/TARGET) and grows its own corpus in
# build-fuzz/corpus/TARGET. A finding (crash, sanitizer report, broken check,
# time-out, memory blow-up) lands in build-fuzz/findings/TARGET/; once fixed, its
# input goes to tests/fuzz/regressions/TARGET/, where the test suite replays it.
# The last line sums the run up: executions, coverage (edges), findings.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:?usage: tools/fuzz.sh xml|receive|script|sheet|variant [SECONDS]}
seconds=${2:-600}
case "$target" in
xml | receive | script | sheet | variant) ;;
*) echo "fuzz.sh: no target named $target" >&2; exit 2 ;;
esac
build_dir=${KONFIDOR_FUZZ_BUILD_DIR:-$root/build-fuzz}

KONFIDOR_BUILD_DIR=$build_dir \
    KONFIDOR_EXTRA_PACKAGES="clang-14 libfuzzer-14-dev" \
    KONFIDOR_CMAKE_ARGS="-DKONFIDOR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 -DKONFIDOR_BENCH=OFF" \
    KONFIDOR_BUILD_TARGETS="konfidor_fuzz_$target" \
    "$root/tools/bootstrap.sh"

corpus=$build_dir/corpus/$target
findings=$build_dir/findings/$target
mkdir -p "$corpus" "$findings"
seeds=("$root/tests/fuzz/corpus/$target")
[ -d "$root/tests/fuzz/regressions/$target" ] && seeds+=("$root/tests/fuzz/regressions/$target")
log=$build_dir/fuzz-$target.log

export QT_QPA_PLATFORM=offscreen
# Leaks are looked for at the end of each input's process only, which libFuzzer
# does not have; the test suite's sanitizer run covers them.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# An input may take 10 s and 2 GiB: slower or larger ones are findings. The
# receive target's inputs reach past the 16 MiB bound by repetition, and the
# sanitizers' byte loops take seconds over such a stream where the plain build
# takes well under one (a 17 MB line: 0.6 s), so it gets 30 s.
timeout=10
[ "$target" = receive ] && timeout=30
status=0
(cd "$findings" && "$build_dir/tests/fuzz/konfidor_fuzz_$target" \
    -dict="$root/tests/fuzz/dict/$target.dict" \
    -max_total_time="$seconds" ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} \
    -timeout="$timeout" -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "${seeds[@]}") 2>&1 | tee "$log" | grep -E '^#[0-9]+ +(pulse|REDUCE|NEW|DONE)|ERROR|SUMMARY' |
    awk 'NR % 20 == 1 || /DONE|ERROR|SUMMARY/' || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | awk '{ print $2 }')
found=$(find "$findings" -maxdepth 1 -type f | wc -l)
echo "fuzz $target: executions ${runs:-?} edges ${edges:-?} findings $found ($findings)"
[ "$found" -eq 0 ]
