#!/usr/bin/env bash
# Instruction counts (valgrind --tool=callgrind, deterministic) of one Redraw
# of the 20,000-line workload, with anti-aliasing off and on, and of the two
# floor loops over the same lines, per line and as ratios.
#   bash bench/callgrind_lines.sh <build dir>
set -euo pipefail
build=${1:-build}
bench="$build/bench/lines_bench"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
declare -A count
for name in redraw-aliased redraw-antialiased bresenham wu; do
  QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --collect-atstart=no \
    --toggle-collect='*draw_once*' --callgrind-out-file="$out/$name" \
    "$bench" --once="$name" >/dev/null 2>&1
  count[$name]=$(awk '/^totals:/ {print $2}' "$out/$name")
done
lines=20000
for name in redraw-aliased redraw-antialiased bresenham wu; do
  printf '%-20s %14d instructions, %8.0f per line\n' "$name" "${count[$name]}" \
    "$(echo "${count[$name]} / $lines" | bc -l)"
done
printf 'aliased Redraw / Bresenham floor: %.2f\n' "$(echo "${count[redraw-aliased]} / ${count[bresenham]}" | bc -l)"
printf 'anti-aliased Redraw / Wu floor:   %.2f\n' "$(echo "${count[redraw-antialiased]} / ${count[wu]}" | bc -l)"
