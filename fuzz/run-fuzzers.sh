#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) in build/fuzz and runs each in turn.
#   fuzz/run-fuzzers.sh                    a short pass: about a minute in all
#   fuzz/run-fuzzers.sh SECONDS            SECONDS per target
#   fuzz/run-fuzzers.sh --runs N           N executions per target
# Options: --max-time S caps each target's time (with --runs); --report DIR writes one
# gtest-style XML report per target into DIR; names after the options pick targets.
# New inputs go to build/fuzz/corpus/<target> (the seeds in fuzz/corpus/ are only read),
# findings to build/fuzz/findings/<target>/, logs to build/fuzz/logs/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
all_targets=(fuzz_entry_text fuzz_masks fuzz_registry_path fuzz_restore_target fuzz_backup_run)

seconds=12
runs=""
report=""
targets=()
while (($#)); do
  case "$1" in
    --runs) runs=$2; seconds=""; shift 2 ;;
    --max-time) seconds=$2; shift 2 ;;
    --report) report=$2; shift 2 ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    [0-9]*) seconds=$1; shift ;;
    *) targets+=("$1"); shift ;;
  esac
done
((${#targets[@]})) || targets=("${all_targets[@]}")

# One gtest-style case, so the test script counts a target like any test.
write_report() {  # target passed(1/0) seconds message
  [ -n "$report" ] || return 0
  mkdir -p "$report"
  local entry="    <testcase name=\"$1\" classname=\"fuzz\" time=\"$3\""
  if [ "$2" -eq 1 ]; then
    entry+=" />"
  else
    entry+=$'>\n      <failure message="'"$4"$'"/>\n    </testcase>'
  fi
  printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' "<testsuites tests=\"1\" name=\"fuzz\">" \
    "  <testsuite name=\"fuzz\" tests=\"1\" failures=\"$((1 - $2))\">" "$entry" '  </testsuite>' '</testsuites>' \
    >"$report/$1.xml"
}

mkdir -p "$build"
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DBKQN_FUZZ=ON &&
       cmake --build "$build" --target "${targets[@]}"; } >"$build.log" 2>&1; then
  tail -30 "$build.log"
  echo "fuzz: build FAILED"
  for target in "${targets[@]}"; do write_report "$target" 0 0 "build failed"; done
  exit 1
fi

status=0
mkdir -p "$build/logs"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus" "$findings"
  limits=()
  [ -n "$runs" ] && limits+=("-runs=$runs")
  [ -n "$seconds" ] && limits+=("-max_total_time=$seconds")
  start=$(date +%s)
  (cd "$findings" && nice "$build/fuzz/$target" "${limits[@]}" -timeout=25 -print_final_stats=1 \
     -artifact_prefix="$findings/" "$corpus" "$root/fuzz/corpus/$target") >"$log" 2>&1
  result=$?
  elapsed=$(($(date +%s) - start))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
  if [ "$result" -eq 0 ]; then
    echo "fuzz: $target passed: ${execs:-?} runs in ${elapsed}s, $coverage"
    write_report "$target" 1 "$elapsed" ""
  else
    status=1
    grep -m1 -E 'property failed|ERROR:' "$log"
    echo "fuzz: $target FAILED after ${elapsed}s; input and log: $findings/, $log"
    write_report "$target" 0 "$elapsed" "see $log"
  fi
done
exit "$status"
