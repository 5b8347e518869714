#!/usr/bin/env bash
# Runs each libFuzzer target of fuzz/, built in the hardened build (scripts/hardened-build.sh),
# for a bounded time, starting from its committed seeds in fuzz/corpus/<target>/. Fails when a target
# crashes, leaks, hits a sanitizer report or breaks one of its checks; the input that did it is
# kept in build-fuzz/artifacts/.
#
#   scripts/ci/20-fuzz.sh                 (also: make fuzz)
#   FUZZ_SECONDS=300 scripts/ci/20-fuzz.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
seconds=${FUZZ_SECONDS:-30}

export ASAN_OPTIONS="detect_leaks=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

build=$(scripts/hardened-build.sh)

mkdir -p "$build/artifacts"
failed=()
for seeds in fuzz/corpus/*/; do
    target=$(basename "$seeds")
    # New inputs go to the first folder, so the committed seeds stay as they are.
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    echo "== fuzz_$target for ${seconds}s"
    "$build/fuzz/fuzz_$target" "$corpus" "$seeds" -max_total_time="$seconds" \
        -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" || failed+=("$target")
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "20-fuzz.sh: failed: ${failed[*]} (inputs in $build/artifacts/)" >&2
    exit 1
fi
