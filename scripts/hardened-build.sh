#!/usr/bin/env bash
# Configures and builds the hardened build in one folder (build-asan/ unless HARDENED_BUILD_DIR
# says otherwise): clang with AddressSanitizer and UndefinedBehaviorSanitizer on everything,
# plus libFuzzer's coverage instrumentation, so that the same objects serve the test programs
# (scripts/ci/10-sanitizers.sh) and the fuzz targets (scripts/ci/20-fuzz.sh). Optimised lightly,
# with line tables only: the reports still name file and line, and the objects stay small.
# Prints the folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${HARDENED_BUILD_DIR:-build-asan}

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
    -DCMAKE_UNITY_BUILD=ON -DZELK_FUZZ=ON -DZELK_BENCH=OFF >&2
cmake --build "$build" -j"$(nproc)" --target all test_programs fuzz_targets >&2
echo "$build"
