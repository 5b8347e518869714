#!/usr/bin/env bash
# Runs the tests of a build folder: most of them several at a time, then one by one, alone, the
# kill storms and the races, which time what they do against the program's work (a loaded machine
# moves those moments), and the tests that print through CUPS, which count the jobs of a shared
# queue. Tests whose names match SKIP (a regular expression) do not run.
#
#   scripts/run-tests.sh BUILD_DIR [SKIP]
set -uo pipefail

build=${1:?usage: run-tests.sh BUILD_DIR [SKIP]}
skip=${2:-}
alone='Killed|Racing|Cups'
jobs=$(($(nproc) * 2))

cd "$build" || exit 1
status=0
ctest --output-on-failure --timeout 600 -j"$jobs" -E "${skip:+$skip|}$alone" || status=1
ctest --output-on-failure --timeout 600 -R "$alone" ${skip:+-E "$skip"} || status=1
exit $status
