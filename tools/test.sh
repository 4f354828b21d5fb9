#!/usr/bin/env bash
# Builds everything twice, plainly and with AddressSanitizer + UndefinedBehaviorSanitizer,
# warnings as errors, and runs every test in both builds; then runs the fuzzers for a while.
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

# Line tables (-g1) are all a sanitizer report or a backtrace needs for file and line, and on two
# cores they build much faster than full debug information.
run_suite build/test-release -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
run_suite build/test-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DQUARNEL_SANITIZE=ON -DQUARNEL_BUILD_BENCH=OFF

# Each fuzzer for a bounded time, where Debian's clang is there to build them, as many at once as
# there are cores. New inputs go to a scratch corpus so that the committed seeds stay as they
# are; a crash or a broken property fails the run, with the input kept under build/fuzz/findings.
fuzz_one() {
    local dir=$1 target=$2
    rm -rf "$dir/corpus/$target"
    mkdir -p "$dir/corpus/$target"
    "$dir/fuzz/fuzz_$target" "$dir/corpus/$target" "fuzz/corpus/$target" \
        -max_total_time="${QUARNEL_FUZZ_SECONDS:-20}" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$dir/findings/$target-" >"$dir/$target.log" 2>&1
}

run_fuzzers() {
    if ! command -v clang++-14 >/dev/null; then
        echo "clang++-14 not found: fuzzing skipped"
        return 0
    fi
    local dir=build/fuzz
    cmake -S . -B "$dir" -DQUARNEL_FUZZ=ON -DQUARNEL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
    cmake --build "$dir" -j"$jobs"
    mkdir -p "$dir/findings"
    local targets=(list_file profile_file engine key_rules resource_script qt_form qt_translation
        gtk_builder po_catalogue preference_rules)
    local failed=() target i
    for ((i = 0; i < ${#targets[@]}; i += jobs)); do
        local batch=("${targets[@]:i:jobs}") pids=()
        for target in "${batch[@]}"; do
            echo "Fuzzing $target for ${QUARNEL_FUZZ_SECONDS:-20} s"
            fuzz_one "$dir" "$target" &
            pids+=($!)
        done
        for ((j = 0; j < ${#batch[@]}; ++j)); do
            target=${batch[j]}
            if wait "${pids[j]}"; then
                tail -n 1 "$dir/$target.log"
            else
                tail -n 60 "$dir/$target.log"
                echo "fuzz_$target found a problem; its input is in $dir/findings"
                failed+=("$target")
            fi
        done
    done
    [ ${#failed[@]} -eq 0 ]
}

run_fuzzers
