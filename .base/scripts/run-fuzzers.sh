#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang and runs each for FUZZ_SECONDS.
# Usage: run-fuzzers.sh BUILD_DIR [SECONDS]
# New inputs go to BUILD_DIR/work/<target>; the committed seeds in fuzz/corpus/<target>
# are only read. A crash leaves its input in BUILD_DIR/artifacts and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-fuzz}
seconds=${2:-60}

./scripts/install-deps.sh clang libclang-rt-14-dev
cmake -S fuzz -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build_dir/artifacts"
for fuzzer in "$build_dir"/fuzz_*; do
    [[ -f "$fuzzer" && -x "$fuzzer" ]] || continue
    target=${fuzzer##*/fuzz_}
    mkdir -p "$build_dir/work/$target"
    echo "== $target: ${seconds} s"
    log="$build_dir/$target.log"
    status=0
    "$fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build_dir/artifacts/$target-" \
        "$build_dir/work/$target" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    grep -E 'cov:' "$log" | tail -1 || true
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
    if [[ $status -ne 0 ]]; then
        grep -E '==ERROR|SUMMARY|deadly signal|Test unit written' "$log" || true
        echo "$target failed (exit $status); full output in $log"
        exit 1
    fi
done
