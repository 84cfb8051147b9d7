#!/usr/bin/env bash
# Prints `kelmora stats table` for every registry entry of the demo data under several option sets,
# so a change to the table code can be checked for byte-identical output:
#   tools/stats_table_outputs.sh build/kelmora > before.txt      (on the old tree)
#   tools/stats_table_outputs.sh build/kelmora --compare before.txt
# The demo folder is copied to a temporary folder first (comparison mode writes prefetch files).
set -euo pipefail
cd "$(dirname "$0")/.."

kelmora=${1:?usage: $0 KELMORA [--compare FILE]}
compare=""
if [ "${2:-}" = "--compare" ]; then compare=${3:?--compare needs a file}; fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
cp data/sample/Kelmora_4r32.* "$data/"

# Each set touches other columns: the window's end with and without later draws ("Факт" and the
# three deltas), the sorted reading, a descending numeric sort, the decimal separator and the norm.
option_sets=(
  ""
  "--offset 20 --window 300 --sort 17 --desc"
  "--offset 3 --window 57 --sorted --sort 8"
  "--window 2147483647 --sort 11 --desc"
  "--prefetch --sort 5"
  "--prefetch --offset 100 --window 500 --sort 0 --desc"
)

print_all() {
  local codes
  codes=$("$kelmora" --data-dir "$data" stats list | tail -n +2 | cut -f2)
  for code in $codes; do
    for opts in "${option_sets[@]}"; do
      echo "### $code $opts"
      # shellcheck disable=SC2086
      "$kelmora" --data-dir "$data" stats table "$code" $opts 2>&1 || echo "exit $?"
    done
    echo "### $code --sort 2 (decimal comma)"
    "$kelmora" --data-dir "$data" --decimal-separator , stats table "$code" --sort 2 2>&1 || echo "exit $?"
  done
}

if [ -z "$compare" ]; then
  print_all
  exit 0
fi
after=$(mktemp)
trap 'rm -rf "$data" "$after"' EXIT
print_all > "$after"
if cmp -s "$compare" "$after"; then
  echo "identical: $(grep -c '^### ' "$after") tables"
else
  diff "$compare" "$after" | head -40
  echo "DIFFERENT" >&2
  exit 1
fi
