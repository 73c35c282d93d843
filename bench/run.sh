#!/usr/bin/env bash
# What `make bench` shows: the quiz's own work under Google Benchmark, then
# the program's start-up beside an empty Qt window of the same size.
#
#   bench/run.sh BUILD_DIR [RUNS]
#
# Start-up is measured twice. Under Xvfb the probes use the xcb platform a
# learner's X11 desktop uses: connecting to the server, mapping the window,
# waiting for its first Expose and sending the frame, so this is the figure
# that counts. On the offscreen platform the same probes show the program's
# own work without the X server's share, which is noisy on a small machine.
set -euo pipefail
cd "$(dirname "$0")/.."

build=$1
runs=${2:-15}
bin=$build/bench
probes=("$bin/startup_probe_floor" "$bin/startup_probe_one_label" "$bin/startup_probe_window")

echo "== The quiz"
"$bin/quiz_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>&1 |
  grep -Ev '^\*\*\*WARNING\*\*\* Library was built as DEBUG'

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.05; done
[ -s "$displayfile" ] || { echo "bench: Xvfb did not start" >&2; exit 1; }

echo
echo "== Start-up to the first painted frame, under Xvfb (xcb)"
DISPLAY=:$(cat "$displayfile") QT_QPA_PLATFORM=xcb "$bin/startup_launcher" "$runs" "${probes[@]}"
echo
echo "== The same on the offscreen platform"
QT_QPA_PLATFORM=offscreen "$bin/startup_launcher" "$runs" "${probes[@]}"
echo
echo "Targets: start-up within 1.25x the empty window, peak memory within 1.15x."
