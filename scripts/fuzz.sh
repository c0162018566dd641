#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz/ (clang 14, the whole program instrumented) and runs
# each for the given number of seconds (default 60), one after another, at low priority.
#
#     scripts/fuzz.sh [seconds] [fuzz_<name>...]
#     scripts/fuzz.sh --corpus      each target once over its saved inputs (the test run's part)
#
# A target's dictionary of words its inputs are made of, fuzz/<target>.dict, is used when there
# is one. Inputs that reach new code are kept in build-fuzz/corpus/<target> and used again by the
# next run; the committed seeds in fuzz/corpus/<target> are read, never written. A finding
# (crash, sanitizer report, broken check, an input running over 10 s) is saved as
# build-fuzz/findings/<target>-<kind>-<hash>; reproduce it with build-fuzz/fuzz/<target> <file>.
# The exit status is 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true

scripts/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCLAVITOR_FUZZ=ON \
    -DCLAVITOR_BUILD_TESTS=OFF -DCLAVITOR_BUILD_BENCHMARKS=OFF
cmake --build build-fuzz --parallel "$(nproc)"
if [ "$seconds" = --corpus ]; then
    exec ctest --test-dir build-fuzz --output-on-failure --parallel "$(nproc)"
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

# The targets write their files below a scratch folder of their own, on a RAM disk where there
# is one: every input writes and syncs files.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=$(mktemp -d -p /dev/shm clavitor-fuzz.XXXXXX)
else
    scratch=$(mktemp -d)
fi
trap 'rm -rf "$scratch"' EXIT
export CLAVITOR_FUZZ_SCRATCH="$scratch"
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
# Where memory was taken and given back is left out of the reports: recording it for every
# allocation costs a third of the speed. Running the saved input again gives the full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}

mkdir -p build-fuzz/findings
status=0
summary=()
for target in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$target"
    log="build-fuzz/$target.log"
    echo "== $target: $seconds s"
    # A target on the trusted scenarios' library takes the seeds and words of the safe one's.
    seeds=${target%_trusted}
    dictionary=()
    if [ -f "fuzz/$seeds.dict" ]; then
        dictionary=(-dict="fuzz/$seeds.dict")
    fi
    # Leaks are left to the corpus runs of the tests: looking for them after every input
    # halves the speed.
    if nice -n 10 "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -detect_leaks=0 -print_final_stats=1 "${dictionary[@]}" \
        -artifact_prefix="build-fuzz/findings/$target-" \
        "build-fuzz/corpus/$target" "fuzz/corpus/$seeds" >"$log" 2>&1; then
        outcome="no finding"
    else
        outcome="FINDING, see $log"
        status=1
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    summary+=("$target: ${executions:-?} executions, $outcome")
done

printf '%s\n' "${summary[@]}"
exit $status
