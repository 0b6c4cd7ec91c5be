#!/usr/bin/env bash
# Builds the libFuzzer targets in a tree of their own (build/fuzz: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time from a seed corpus of the files of its own
# kind (the shipped files and the tests' fixtures its SEEDS name): NERIX_FUZZ_SECONDS each (default 120 under CI=true, 10 otherwise), as many at once as there
# are cores. A crash, leak or timeout fails the script; the input that caused it is kept under
# build/artefacts/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --fuzz

if [ "${CI:-}" = "true" ]; then
    seconds=${NERIX_FUZZ_SECONDS:-120}
else
    seconds=${NERIX_FUZZ_SECONDS:-10}
fi
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
    echo "NERIX_FUZZ_SECONDS must be a whole number of seconds, not '$seconds'" >&2
    exit 2
fi

build=build/fuzz
artefacts=build/artefacts/fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# -O1 runs many more inputs a second than -O0 and keeps the stacks readable.
cmake -S . -B "$build" -G Ninja -DNERIX_FUZZ=ON -DNERIX_WERROR=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" "${launcher[@]}"
cmake --build "$build" --target nerix_fuzzers

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Only this run's failures are kept, so what lies there is what failed now.
rm -rf "$artefacts"
mkdir -p "$artefacts" "$build/logs"
mapfile -t fuzzers <"$build/fuzzers.txt"

# One target's run; its exit status is libFuzzer's (or timeout's when the run outlives its bound). Its
# seeds are copied into a scratch corpus: libFuzzer adds the inputs it finds to the corpus, and the
# source tree is never written.
run_one() {
    local exe=$1 max_len=$2 patterns=$3 name corpus pattern seed
    name=$(basename "$exe")
    corpus=$build/corpus/$name
    rm -rf "$corpus"
    mkdir -p "$corpus"
    for pattern in $patterns; do
        for seed in $pattern; do
            [ -f "$seed" ] && cp "$seed" "$corpus/$(tr '/' '_' <<<"$seed")"
        done
    done
    if [ -z "$(ls -A "$corpus")" ]; then
        echo "$name: no seed file matches '$patterns'" >&2
        return 2
    fi
    # A fixed seed for repeatable runs; the outer bound stops a run that libFuzzer's own bound misses
    # (a stall while it loads the corpus).
    timeout --kill-after=30 $((seconds + 300)) "$exe" "$corpus" -seed=1 -max_total_time="$seconds" \
        -max_len="$max_len" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artefacts/$name-" >"$build/logs/$name.log" 2>&1
}

echo "Fuzzing ${#fuzzers[@]} targets for $seconds s each"
jobs_at_once=$(nproc)
trap 'kill $(jobs -p) 2>/dev/null' EXIT
for line in "${fuzzers[@]}"; do
    read -r exe max_len patterns <<<"$line"
    while (($(jobs -rp | wc -l) >= jobs_at_once)); do
        wait -n || true
    done
    name=$(basename "$exe")
    rm -f "$build/logs/$name.status"
    (
        status=0
        run_one "$exe" "$max_len" "$patterns" || status=$?
        echo "$status" >"$build/logs/$name.status"
    ) &
done
wait
trap - EXIT

failed=0
for line in "${fuzzers[@]}"; do
    read -r exe _ <<<"$line"
    name=$(basename "$exe")
    log=$build/logs/$name.log
    status=$(cat "$build/logs/$name.status" 2>/dev/null || echo "none")
    runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -1)
    [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#' || true)
    if [ "$status" = 0 ]; then
        echo "$name: ${runs:-0} runs, no crash"
        continue
    fi
    failed=1
    echo "$name: FAILED after ${runs:-0} runs (exit status $status); the end of $log:" >&2
    tail -40 "$log" >&2 || true
    if unit=$(sed -nE 's/.*Test unit written to (.*)$/\1/p' "$log" | tail -1) && [ -n "$unit" ]; then
        echo "$name: the input is kept in $unit (run again: $exe $unit);" \
            "add it to the target's replay test as a case." >&2
    fi
done
exit "$failed"
