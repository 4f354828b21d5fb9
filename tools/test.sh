#!/usr/bin/env bash
# Builds everything twice, plainly and with AddressSanitizer + UndefinedBehaviorSanitizer,
# warnings as errors, and runs every test in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/quarnel-setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DQUARNEL_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600
}

run_suite build/test-release -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build/test-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUARNEL_SANITIZE=ON -DQUARNEL_BUILD_BENCH=OFF
