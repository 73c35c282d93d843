#!/usr/bin/env bash
# The one private X server every check, benchmark and screenshot here runs
# on: Xvfb on a display it picks itself (so nobody else's server is touched),
# waited for by the display number it writes once it is ready, never by time.
#
#   source tests/support/x_server.sh
#   start_x_server [WIDTHxHEIGHT] [DPI]     exports DISPLAY; the server ends with the shell
#
#   tests/support/x_server.sh [WIDTHxHEIGHT] [DPI] -- COMMAND [ARG...]
#                                           runs COMMAND on a server of its own
#
# The default screen is 1280x800 at 96 dpi.

# start_x_server [SIZE] [DPI]: a fresh server; X_SERVER_PID names it.
start_x_server() {
  local size=${1:-1280x800} dpi=${2:-96} folder
  # The pipe in a folder only this user can enter: a name merely picked in
  # the shared /tmp could be taken by someone else before it is made.
  folder=$(mktemp -d "${TMPDIR:-/tmp}/tsifrolet-x.XXXXXX")
  mkfifo "$folder/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -dpi "$dpi" -nolisten tcp 3>"$folder/display" >"$folder/log" 2>&1 &
  X_SERVER_PID=$!
  # Reading the pipe blocks until Xvfb writes its display, or returns empty
  # once Xvfb has died without a word: no fixed wait either way, and a limit
  # only for a server that hangs, which is then ended.
  local display=""
  read -r -t "${X_SERVER_TIMEOUT:-60}" display <"$folder/display" || true
  if [ -z "$display" ]; then
    kill "$X_SERVER_PID" 2>/dev/null || true
    wait "$X_SERVER_PID" 2>/dev/null || true
    echo "The X server did not start (Xvfb -screen 0 ${size}x24); it said:" >&2
    sed 's/^/  /' "$folder/log" >&2
    rm -rf "$folder"
    return 1
  fi
  rm -rf "$folder"
  export DISPLAY=:$display
  # Ended with the shell, before whatever the caller already does on exit.
  local before
  before=$(trap -p EXIT | sed -E "s/^trap -- '(.*)' EXIT$/\1/")
  # shellcheck disable=SC2064 # the pid is fixed now, on purpose
  trap "kill $X_SERVER_PID 2>/dev/null || true${before:+; $before}" EXIT
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  args=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do args+=("$1"); shift; done
  [ "${1:-}" = -- ] && [ $# -ge 2 ] || { echo "usage: $0 [WIDTHxHEIGHT] [DPI] -- COMMAND [ARG...]" >&2; exit 2; }
  shift
  start_x_server "${args[@]}"
  # Not exec: the trap must outlive the command to end the server.
  status=0
  "$@" || status=$?
  exit "$status"
fi
