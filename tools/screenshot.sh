#!/usr/bin/env bash
# Photographs the real program under a virtual X server, as a learner sees it:
# at scale 1 and 2, at a font DPI of 144, and mid-quiz after a wrong answer.
#
#   tools/screenshot.sh PROGRAM OUTDIR
set -euo pipefail

program=$(realpath "$1")
outdir=$2
mkdir -p "$outdir"

source "$(dirname "$0")/../tests/support/x_server.sh"
start_x_server 1280x800 96

# shoot NAME [ENV=VALUE...] [-- ACTIONS]: starts the program, optionally
# clicks at window-relative points given in device-independent pixels,
# and saves the window as NAME.png.
shoot() {
  local name=$1; shift
  local envs=() actions=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do envs+=("$1"); shift; done
  [ $# -gt 0 ] && { shift; actions=("$@"); }

  env "${envs[@]}" "$program" &
  local pid=$! window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name 'Цифролёт' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "screenshot: the window did not appear" >&2; kill $pid; return 1; }
  sleep 0.5
  local scale=1
  for e in "${envs[@]}"; do case $e in QT_SCALE_FACTOR=*) scale=${e#*=} ;; esac; done
  local action
  for action in "${actions[@]}"; do
    case $action in
      click:*)
        local xy=${action#click:}
        xdotool mousemove --window "$window" $(( ${xy%,*} * scale )) $(( ${xy#*,} * scale )) click 1 ;;
      type:*) xdotool type --window "$window" "${action#type:}" ;;
    esac
    sleep 0.3
  done
  import -window "$window" "$outdir/$name.png"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  echo "wrote $outdir/$name.png ($(identify -format '%wx%h' "$outdir/$name.png"))"
}

# The buttons: "Пример" at (268, 228), "Да" at (264, 172); the answer field at (360, 128).
shoot start QT_SCALE_FACTOR=1
shoot start-scale2 QT_SCALE_FACTOR=2
shoot start-fontdpi144 QT_FONT_DPI=144
shoot playing QT_SCALE_FACTOR=1 -- click:268,228 click:268,228 click:360,128 type:1 click:264,172
shoot playing-scale2 QT_SCALE_FACTOR=2 -- click:268,228 click:360,128 type:7 click:264,172
