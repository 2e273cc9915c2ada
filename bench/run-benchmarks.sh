#!/usr/bin/env bash
# Runs the benchmarks: natively with Google Benchmark (100k and 1M files), then under Wine
# (100k files, the drive and folder tree over 4,000 folders holding 20,000, and the backup page
# loading 2,000 stored entries) with the programs and their wineserver on one CPU. Trees are written once into build/bench-trees and
# kept.
#   bench/run-benchmarks.sh [native|wine]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
which=${1:-all}
"$root/scripts/setup.sh"
trees="$root/build/bench-trees"
mkdir -p "$trees"

# Benchmarks want an optimised build of the native preset.
cmake --preset native >/dev/null
cmake --build --preset native --target selection_benchmark make_tree >/dev/null

if [ "$which" != wine ]; then
  BKQN_BENCH_DIR="$trees" taskset -c 1 "$root/build/native/bench/selection_benchmark" --benchmark_color=false
fi

if [ "$which" != native ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target BkQnFiles wine_selection_bench wine_tree_bench wine_page_bench >/dev/null
  tree=$("$root/build/native/bench/make_tree" 100000 "$trees/bkqn-tree-100000")
  # shellcheck source=../scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  wine_up "$root/build/windows"
  trap wine_down EXIT
  "$root/scripts/wine-run" "$WINEPREFIX" regsvr32 /s "$root/build/windows/server/BkQnFiles.dll"
  "$root/scripts/wine-run" "$WINEPREFIX" "$root/build/windows/bench/wine_selection_bench.exe" "$tree" 7
  # A folder of 4,000 folders holding five each, the shape of a side-by-side store.
  folders="$trees/bkqn-folders-4000x5"
  [ -d "$folders" ] || printf '%s\n' "$folders"/Dir{0000..3999}/Sub{0..4} | xargs -d '\n' mkdir -p
  "$root/scripts/wine-run" "$WINEPREFIX" "$root/build/windows/bench/wine_tree_bench.exe" "Z:${folders//\//\\}" 5
  # The page's list is slow to fill under Xvfb in both columns of the comparison: 3 rounds.
  page="$trees/bkqn-page-2000"
  "$root/scripts/wine-run" "$WINEPREFIX" "$root/build/windows/bench/wine_page_bench.exe" "Z:${page//\//\\}" 3
fi
