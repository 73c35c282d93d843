#!/usr/bin/env bash
# Plays one whole quiz on an installed program as a learner who answers
# nothing would, with the mouse: «Пример» twenty-one times, the closing
# message (its title as every front end's tests expect it) closed by Enter,
# then «Выход», after which the program must have ended with status 0.
#
#   packaging/play-quiz.sh COMMAND [ARG...]
#
# COMMAND starts the program: /usr/bin/tsifrolet, or the same inside a
# Debian root (chroot ROOT /usr/bin/tsifrolet). It runs on the X server in
# DISPLAY, or on a private one when DISPLAY is unset; the program's output
# is shown if it fails.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
learner_sees=$here/../tests/support/learner_sees.tsv
# shellcheck source=../tests/support/x_server.sh
source "$here/../tests/support/x_server.sh"
log=$(mktemp)
program=""
end() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  rm -f "$log"
}
trap end EXIT
# After the trap above: the server's own is added to it.
[ -n "${DISPLAY:-}" ] || start_x_server 1024x768
fail() {
  echo "play-quiz: $*; the program said:" >&2
  sed 's/^/  /' "$log" >&2
  exit 1
}
# until_true SECONDS WHAT COMMAND...: COMMAND retried until it succeeds.
until_true() {
  local limit=$1 what=$2
  local deadline=$((SECONDS + limit))
  shift 2
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "no $what after $limit s"
    sleep 0.2
  done
}
title=$(awk -F'\t' '$1 == "closing.title" { print $2 }' "$learner_sees")

"$@" >"$log" 2>&1 &
program=$!
# A first start in a fresh system builds the font cache first.
until_true 60 window xdotool search --onlyvisible --classname tsifrolet
window=$(xdotool search --onlyvisible --classname tsifrolet | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
# «Пример» and «Выход», in the window's own pixels.
xdotool mousemove --sync $((X + 268)) $((Y + 228))
xdotool click --repeat 21 --delay 50 1
until_true 15 "closing message «$title»" xdotool search --onlyvisible --name "^$title\$"
box=$(xdotool search --onlyvisible --name "^$title\$" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) key Return
box_gone() { ! xdotool search --onlyvisible --name "^$title\$"; }
until_true 15 "end of the closing message" box_gone
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --sync $((X + 268)) $((Y + 284)) click 1
program_ended() { ! kill -0 "$program" 2>/dev/null || ps -o stat= -p "$program" | grep -q Z; }
until_true 15 "end after «Выход»" program_ended
status=0
wait "$program" || status=$?
program=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "a whole quiz played: twenty problems, the closing message «$title», and «Выход»"
