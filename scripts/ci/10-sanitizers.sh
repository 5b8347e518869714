#!/usr/bin/env bash
# Runs the whole test suite in the hardened build (scripts/hardened-build.sh: AddressSanitizer
# and UndefinedBehaviorSanitizer). Fails on a failing test and on any sanitizer
# report, also from the program copies the tests start with their output discarded: reports
# go to files, which are shown at the end.
#
#   scripts/ci/10-sanitizers.sh          (also: make sanitize)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=$(scripts/hardened-build.sh)
reports=$root/$build/sanitizer-reports

export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:strict_init_order=1:check_initialization_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen

rm -rf "$reports"
mkdir -p "$reports"

# The kill storms and the kills at each step test crash safety, which the plain run covers;
# killed copies leave no reports, and a preloaded library would come before the sanitizers'.
status=0
scripts/run-tests.sh "$build" 'KilledWhilePrinting|KilledAtEachStep' || status=$?

if compgen -G "$reports/*" >/dev/null; then
    for report in "$reports"/*; do
        echo "== $report"
        cat "$report"
    done
    echo "10-sanitizers.sh: sanitizer reports above" >&2
    exit 1
fi
exit $status
