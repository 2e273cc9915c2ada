#!/usr/bin/env bash
# Sets up, builds every preset and runs every test; each preset ends with its own count line,
# the whole run with "N passed, M failed, K skipped".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh" || exit 1
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"

presets=(native native-asan windows windows-x86)
passed=0
failed=0
skipped=0
status=0

# Counts the cases of gtest reports: "passed failed skipped".
count_cases() {
  cat "$@" 2>/dev/null | awk '
    /<testcase / { if (open) finish(); open = 1; bad = 0; skip = ($0 ~ /result="skipped"/); notrun = ($0 ~ /status="notrun"/)
                   if ($0 ~ /\/>[[:space:]]*$/) finish(); next }
    /<failure/   { bad = 1 }
    /<\/testcase>/ { if (open) finish() }
    function finish() { if (!notrun) { if (bad) f++; else if (skip) s++; else p++ } open = 0 }
    END { if (open) finish(); printf "%d %d %d\n", p, f, s }'
}

for preset in "${presets[@]}"; do
  build="$root/build/$preset"
  echo "== $preset: configure and build"
  if ! cmake --preset "$preset" >"$root/build-$preset.log" 2>&1 || ! cmake --build --preset "$preset" >>"$root/build-$preset.log" 2>&1; then
    tail -40 "$root/build-$preset.log"
    echo "== $preset: build FAILED"
    failed=$((failed + 1))
    status=1
    continue
  fi
  rm -rf "$build/test-results" && mkdir -p "$build/test-results" "$build/test-tmp"

  # Without 32-bit Wine the x86 programs cannot start: each counts as skipped with the cases
  # the same program ran for x64 (one where there is no report).
  if [ "$preset" = windows-x86 ] && ! wine32_present; then
    echo "== $preset: tests skipped: 32-bit Wine (wine32:i386) is not installed"
    s=0
    while read -r name; do
      read -r xp xf xs < <(count_cases "$root/build/windows/test-results/$name.xml")
      s=$((s + (xp + xf + xs > 0 ? xp + xf + xs : 1)))
    done < <(ctest --preset "$preset" -N | sed -n 's/^ *Test *#[0-9]*: //p')
    echo "== $preset: 0 passed, 0 failed, $s skipped"
    skipped=$((skipped + s))
    continue
  fi

  jobs=2
  case "$preset" in windows*) wine_up "$build"; jobs=1 ;; esac
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$build/ctest.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  case "$preset" in windows*) wine_down ;; esac
  # A short fuzzing pass; each target counts as one case of this preset.
  [ "$preset" = native-asan ] && "$root/fuzz/run-fuzzers.sh" 10 --report "$build/test-results"

  read -r p f s < <(count_cases "$build"/test-results/*.xml)
  # A program that failed without reporting a failed case (a crash, a sanitizer report at
  # exit) counts as one failure of its own.
  while read -r name; do
    [ -n "$name" ] || continue
    read -r _ nf _ < <(count_cases "$build/test-results/$name.xml" 2>/dev/null || echo "0 0 0")
    [ "${nf:-0}" -gt 0 ] || f=$((f + 1))
  done < <(sed -n '/The following tests FAILED/,$p' "$build/ctest.log" | sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p')
  echo "== $preset: $p passed, $f failed, $s skipped"
  passed=$((passed + p))
  failed=$((failed + f))
  skipped=$((skipped + s))
done

[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed, $skipped skipped"
exit "$status"
