#!/usr/bin/env bash
# Runs each fuzz target for a bounded time, starting from the committed seeds.
# What the fuzzer learns is kept under the build folder, so the next run goes
# on from there; an input that breaks a rule is saved there too, and the
# script fails.
#
#   fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."

build=$1
seconds=${2:-60}
for target in fuzz_parse_answer fuzz_quiz_commands; do
  corpus=$build/corpus/$target
  findings=$build/findings
  mkdir -p "$corpus" "$findings"
  echo "== $target: ${seconds}s"
  # -timeout: one input taking a second is already a hang for this program.
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=1 -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" "$corpus" "fuzz/corpus/$target" 2>"$build/$target.log" ||
    { tail -n 40 "$build/$target.log"; echo "$target: finding saved in $findings" >&2; exit 1; }
  grep -aE '^#[0-9]+[[:space:]]+DONE|^Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
    "$build/$target.log"
done
