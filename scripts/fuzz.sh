#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, ASan and UBSan) in build-fuzz and runs them: first the
# kept regression inputs of fuzz/regressions/<target>/, then new inputs from the seed corpus
# fuzz/corpus/<target>/ for SECONDS each. A finding stops the run; its input is written to
# build-fuzz/artifacts/ and its report to the target's log.
#   scripts/fuzz.sh SECONDS [LOGDIR]      one target after another
#   scripts/fuzz.sh -j SECONDS [LOGDIR]   all targets at once
# ORVA_FUZZ_BUILD names another build folder, for a second run beside a long one.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

parallel=0
if [ "${1:-}" = "-j" ]; then
    parallel=1
    shift
fi
seconds=${1:?usage: $0 [-j] SECONDS [LOGDIR]}
logs=${2:-}
build=${ORVA_FUZZ_BUILD:-build-fuzz}
targets=(framer savefile firmware monitor)
logs=${logs:-$build/logs}
# A firmware file is tried up to a little past the 64 KiB image buffer.
declare -A max_len=([framer]=4096 [savefile]=16384 [firmware]=66000 [monitor]=256)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DORVA_FUZZ=ON -DORVA_BUILD_UI=OFF -DORVA_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz -j"$(nproc 2>/dev/null || echo 2)"
mkdir -p "$logs" "$build"/artifacts

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_target() {  # run_target NAME
    local name=$1 bin=$build/bin/fuzz_$1 log=$logs/$1.log
    local kept=(fuzz/regressions/"$name"/*)
    : >"$log"
    if [ -e "${kept[0]}" ]; then
        "$bin" "${kept[@]}" >>"$log" 2>&1 || return 1
    fi
    mkdir -p "$build"/corpus/"$name"
    "$bin" -max_total_time="$seconds" -max_len="${max_len[$name]}" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build"/artifacts/"$name"- \
        "$build"/corpus/"$name" fuzz/corpus/"$name" >>"$log" 2>&1
}

report() {  # report NAME STATUS
    if [ "$2" -eq 0 ]; then
        echo "fuzz_$1: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$logs/$1.log" |
            tail -1 | awk '{print $2}') executions, no finding ($logs/$1.log)"
    else
        echo "fuzz_$1: FAILED, see $logs/$1.log" >&2
        tail -40 "$logs/$1.log" >&2
    fi
}

failed=0
if [ "$parallel" -eq 1 ]; then
    declare -A pids
    for t in "${targets[@]}"; do
        run_target "$t" &
        pids[$t]=$!
    done
    for t in "${targets[@]}"; do
        status=0
        wait "${pids[$t]}" || status=$?
        report "$t" "$status"
        [ "$status" -eq 0 ] || failed=1
    done
else
    for t in "${targets[@]}"; do
        status=0
        run_target "$t" || status=$?
        report "$t" "$status"
        [ "$status" -eq 0 ] || failed=1
    done
fi
exit "$failed"
