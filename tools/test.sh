#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite with CTest.
#
#   bash tools/test.sh              the suite (build/)
#   bash tools/test.sh --sanitize   the suite under AddressSanitizer and
#                                   UndefinedBehaviorSanitizer (build-asan/);
#                                   any report fails the test that caused it
# Further arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ "${1:-}" = --sanitize ]; then
    shift
    export KONFIDOR_BUILD_DIR=${KONFIDOR_BUILD_DIR:-$root/build-asan}
    export KONFIDOR_CMAKE_ARGS="${KONFIDOR_CMAKE_ARGS:-} -DKONFIDOR_SANITIZE=ON"
    # A report ends the process with a failure; leaks count too.
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
fi
"$root/tools/bootstrap.sh"
build_dir=${KONFIDOR_BUILD_DIR:-$root/build}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" "$@"
