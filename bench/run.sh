#!/usr/bin/env bash
# What `make bench` shows: the quiz's own work under Google Benchmark, then
# the program's start-up beside a Qt window of the same size with one label,
# the floor any window that draws text stands on (and an empty one).
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
probes=("$bin/startup_probe_one_label" "$bin/startup_probe_floor" "$bin/startup_probe_window")

echo "== The quiz"
"$bin/quiz_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>&1 |
  grep -Ev '^\*\*\*WARNING\*\*\* Library was built as DEBUG'

source tests/support/x_server.sh
start_x_server 1280x800 96

echo
echo "== Start-up to the first painted frame, under Xvfb (xcb)"
BENCH_LABEL="Qt window, Xvfb" QT_QPA_PLATFORM=xcb "$bin/startup_launcher" "$runs" "${probes[@]}"
echo
echo "== The same on the offscreen platform"
env -u DISPLAY -u BENCH_SUMMARY QT_QPA_PLATFORM=offscreen "$bin/startup_launcher" "$runs" "${probes[@]}"
echo
echo "Targets: start-up within 1.25x the one-label window, peak memory within 1.15x."
