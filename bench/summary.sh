#!/usr/bin/env bash
# The table that closes `make bench`: every front end's ratio to its floor,
# as each bench wrote it (one tab-separated line each: front end, measure,
# median, smallest, largest, target), with whether the median meets it.
#
#   bench/summary.sh SUMMARY_FILE
set -euo pipefail
[ -s "$1" ] || { echo "No ratios were written to $1." >&2; exit 1; }
echo
echo "== Every front end beside its floor (ratio of each run to the floor's run beside it)"
awk -F'\t' '
  BEGIN { printf "%-18s %-12s %7s %7s %7s %7s  %s\n", "front end", "measure", "median", "min", "max", "target", "" }
  { printf "%-18s %-12s %6.2fx %6.2fx %6.2fx %6.2fx  %s\n", $1, $2, $3, $4, $5, $6, ($3 <= $6 ? "met" : "NOT met") }
' "$1"
