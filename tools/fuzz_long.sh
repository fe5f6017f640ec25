#!/usr/bin/env bash
# Long fuzzing runs outside the test command: each fuzz target of the asan build
# (cmake --workflow --preset asan, or cmake --preset asan && cmake --build build-asan)
# for SECONDS (default 1800) on its corpus in build-asan, one after the other, then a
# line per target with its executions and executions per second.
#   bash tools/fuzz_long.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-asan
seconds=${1:-1800}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(raw_path_fuzzer gsi_fuzzer known_points_fuzzer limits_fuzzer xls_stream_fuzzer xls_ole_fuzzer)
fi
# The raw path's runs touch some 30,000 coverage features each; libFuzzer's entropic
# schedule, which weighs every one of them every run, took a third of its time.
declare -A flags=([raw_path_fuzzer]=-entropic=0)
declare -A corpus=([raw_path_fuzzer]=raw [gsi_fuzzer]=gsi [known_points_fuzzer]=known_points
                   [limits_fuzzer]=limits [xls_stream_fuzzer]=stream [xls_ole_fuzzer]=ole)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
summary=()
for target in "${targets[@]}"; do
  log=$build/$target.long.log
  echo "$target: $seconds s, log in $log" >&2
  status=0
  "$build/$target" ${flags[$target]:-} -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
    "$build/tests/fuzz/corpus/${corpus[$target]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  summary+=("$target: ${runs:-?} executions, ${rate:-?} a second, status $status")
done
printf '%s\n' "${summary[@]}"
