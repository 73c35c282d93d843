#!/usr/bin/env bash
# Asks real desktops to stretch the window and checks that it stays whole,
# alive and at its own size:
# - openbox and xfwm4 on X11: no maximise action offered, and a request to
#   maximise or to go full screen leaves the window as it was;
# - Weston on native Wayland (QT_QPA_PLATFORM=wayland), where Qt draws its
#   own title bar with a maximise button, on the window and on the closing
#   message: a click on it does not cost the program its connection, and
#   the window comes back to its size;
# - Weston with XWayland, the program left to choose: it opens through
#   XWayland, whose frame offers no maximise, and refuses the same requests.
# Everything runs on a private virtual X server and is stopped afterwards.
#
#   tests/desktop/window_stays_fixed.sh PROGRAM
set -euo pipefail

program=$(realpath "$1")
source "$(dirname "$0")/../support/private_session.sh" desktop
export LANG=C.UTF-8 LC_ALL=C.UTF-8

width=523 height=324
# On failure the screen is kept where DESKTOP_CHECK_SHOT says, for a look.
fail() {
  echo "FAIL: $*" >&2
  [ -z "${DESKTOP_CHECK_SHOT:-}" ] || import -display "$xvfb_display" -window root "$DESKTOP_CHECK_SHOT" || true
  exit 1
}

# The form's green, found on the whole screen of the virtual X server:
# "WIDTH HEIGHT LEFT TOP" of every pixel of that colour.
green_box() {
  import -display "$xvfb_display" -window root png:- 2>/dev/null |
    convert - -fill black +opaque '#00C000' -trim -format '%w %h %X %Y' info: 2>/dev/null
}
green_is_form_size() { read -r w h _ <<<"$(green_box)" && [ "$w" = $width ] && [ "$h" = $height ]; }

# window_of DISPLAY: the program's X11 window there.
window_of() { DISPLAY=$1 xdotool search --classname tsifrolet 2>/dev/null | head -n 1; }
x11_size_is_form_size() {
  DISPLAY=$1 xwininfo -id "$2" | grep -q "Width: $width" &&
    DISPLAY=$1 xwininfo -id "$2" | grep -q "Height: $height"
}

# stretch_by_request DISPLAY WINDOW: asks the window manager, as a desktop's
# keyboard shortcut or task bar would, to maximise and then to go full
# screen; each time the window must be back at its size, and still running.
stretch_by_request() {
  local display=$1 window=$2 state
  for state in maximized_vert,maximized_horz fullscreen; do
    DISPLAY=$display wmctrl -i -r "$window" -b add,$state
    # A window manager that refuses a request leaves no trace: it has a second to act, or not.
    sleep 1
    wait_for "the window to refuse $state" x11_size_is_form_size "$display" "$window" ||
      fail "$state: the window is $(DISPLAY=$display xwininfo -id "$window" | grep -E 'Width|Height' | tr -s ' \n' ' ')"
    wait_for "the form to be whole on screen after $state" green_is_form_size ||
      fail "$state: the green on screen is $(green_box)"
    program_alive || fail "$state: the program ended"
  done
}

# The program is not reaped until stop_program waits for it: an ended one
# lingers as a zombie, which kill -0 still finds.
program_alive() { ps -o stat= -p "$app" | grep -qv Z; }
stop_program() { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; }

start_x_server 1024x768
xvfb_display=$DISPLAY
# xfwm4 reads its settings over D-Bus, and without a bus it gives up.
start_session_bus

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
for wm in "openbox --sm-disable" "xfwm4 --compositor=off --sm-client-disable"; do
  echo "${wm%% *} on X11"
  $wm >"$work/${wm%% *}.log" 2>&1 &
  wm_pid=$!
  wait_for_start "${wm%% *}" $wm_pid "$work/${wm%% *}.log" wm_running
  "$program" >"$work/program-${wm%% *}.log" 2>&1 &
  app=$!
  wait_for "the window" window_of "$DISPLAY"
  window=$(window_of "$DISPLAY")
  actions=$(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)
  case $actions in *MAXIMIZE*) fail "${wm%% *} offers to maximise: $actions" ;; esac
  echo "  ${wm%% *} allows: ${actions#*= }"
  stretch_by_request "$DISPLAY" "$window"
  stop_program
  kill "$wm_pid"
  wait "$wm_pid" 2>/dev/null || true
  xprop -root -remove _NET_SUPPORTING_WM_CHECK
done

echo "Weston on Wayland"
cat >"$work/weston.ini" <<INI
[core]
idle-time=0
[shell]
panel-position=none
background-color=0xff404040
INI
weston --backend=x11-backend.so --width=1000 --height=740 --socket=tsifrolet-wayland \
  --config="$work/weston.ini" --xwayland >"$work/weston.log" 2>&1 &
weston_pid=$!
wait_for_start "Weston" $weston_pid "$work/weston.log" test -S "$XDG_RUNTIME_DIR/tsifrolet-wayland"
wait_for_start "Weston's XWayland" $weston_pid "$work/weston.log" grep -q 'xserver listening on display' "$work/weston.log"
xwayland_display=$(grep -o 'xserver listening on display :[0-9]*' "$work/weston.log" | grep -o ':[0-9]*$')
export WAYLAND_DISPLAY=tsifrolet-wayland XDG_SESSION_TYPE=wayland

echo "  native Wayland, Qt's own title bar"
# Qt's log of the compositor's messages tells whether a click reached it.
QT_LOGGING_RULES="qt.qpa.wayland=true" DISPLAY=$xwayland_display QT_QPA_PLATFORM=wayland \
  "$program" >"$work/program-wayland.log" 2>&1 &
app=$!
wait_for "the form on screen" green_is_form_size || fail "the green on screen is $(green_box)"
[ -z "$(window_of "$xwayland_display")" ] || fail "the window went to XWayland, not to Wayland"
read -r _ _ left top <<<"$(green_box)"
# Qt's title bar is 30 px high, with 3 px borders; its maximise button is
# the second from the right, 18 px wide with 5 px gaps.
max_x=$((left - 3 + width + 6 - 2 * 18 - 3 * 5 + 9)) max_y=$((top - 30 + 15))
maximised_times_at_least() {
  [ "$(grep -c 'Received xdg_toplevel.configure .*WindowMaximized' "$work/program-wayland.log")" -ge "$1" ]
}

# click_maximise N X Y: clicks the maximise button at X Y until the
# compositor has maximised a window of the program N times in all. The
# compositor sees the pointer only once it has entered its own window, and
# Qt's title bar only once it has entered Qt's, so the pointer comes from
# outside both each time, by way of the background above the button.
click_maximise() {
  local tries
  for tries in 1 2 3 4 5; do
    DISPLAY=$xvfb_display xdotool mousemove --sync 1010 750 mousemove --sync "$2" 2 \
      mousemove --sync "$2" "$3" click 1
    step_timeout=2 wait_for "the compositor to maximise the window" maximised_times_at_least "$1" && return
    program_alive || return 0
  done
  fail "the click on maximise never reached the compositor: $(grep configure "$work/program-wayland.log" | tail -n 3)"
}
still_running() {
  program_alive ||
    fail "the click on maximise ended the program: $(grep -v '^qt\.qpa' "$work/program-wayland.log")"
}
# back_from_maximise N: waits until the program has applied a configure that
# undoes the compositor's Nth maximise, which it could not had that maximise
# cost it its connection.
undone_times_at_least() {
  awk -v n="$1" '/Applied pending xdg_toplevel configure/ { if (/WindowMaximized/) m++; else if (m >= n) found = 1 }
    END { exit !found }' "$work/program-wayland.log"
}
back_from_maximise() {
  wait_for "the program back from maximise $1" undone_times_at_least "$1" && still_running ||
    { still_running; fail "the program never applied the end of maximise $1"; }
}
for round in 1 2; do
  click_maximise $round $max_x $max_y
  back_from_maximise $round
  wait_for "the window back at its size" green_is_form_size || fail "the green on screen is $(green_box)"
  echo "  maximised by the compositor, back at ${width}x${height}, still running ($round)"
done

# The closing message has Qt's title bar too. Twenty-one clicks on "Пример"
# end the quiz; the message is the light grey outside the form's frame.
DISPLAY=$xvfb_display xdotool mousemove --sync 1010 750 mousemove --sync $((left + 268)) $((top + 200)) \
  mousemove --sync $((left + 268)) $((top + 228))
for _ in $(seq 21); do
  DISPLAY=$xvfb_display xdotool click 1
done
message_box() {
  import -display "$xvfb_display" -window root png:- 2>/dev/null |
    convert - -fill black -draw "rectangle $((left - 3)),$((top - 30)) $((left + width + 3)),$((top + height + 3))" \
      -fill white -opaque 'srgb(239,239,239)' -fill black +opaque white -trim -format '%w %h %X %Y' info: 2>/dev/null
}
message_is_shown() { read -r box_w box_h box_left box_top <<<"$(message_box)" && [ "${box_w:-0}" -gt 200 ]; }
wait_for "the closing message" message_is_shown || fail "no closing message on screen"
box_before=$(message_box)
click_maximise 3 $((box_left + box_w - 2 * 18 - 3 * 5 + 9)) $((box_top + 15))
back_from_maximise 3
message_back_at_its_size() { [ "$(message_box)" = "$box_before" ]; }
wait_for "the message back at its size" message_back_at_its_size ||
  fail "the message was ${box_before%% +*}, is $(message_box)"
echo "  the closing message maximised by the compositor, back at ${box_w}x${box_h}, still running"
stop_program
echo "  through XWayland, left to the program's choice"
DISPLAY=$xwayland_display "$program" >"$work/program-xwayland.log" 2>&1 &
app=$!
wait_for "the window on XWayland" window_of "$xwayland_display" ||
  fail "no X11 window on XWayland: $(cat "$work/program-xwayland.log")"
wait_for "the form on screen" green_is_form_size || fail "the green on screen is $(green_box)"
stretch_by_request "$xwayland_display" "$(window_of "$xwayland_display")"
stop_program

echo "The window stayed fixed on openbox, xfwm4, native Wayland and XWayland."
