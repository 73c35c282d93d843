# Shared by the checks that run the program on a real desktop stack: a
# private work folder, a mark that every process of the run inherits so that
# the clean-up finds them all (the ones D-Bus or a compositor starts on
# demand included), waiting with a time limit (a generous one for what the
# run starts), and a private X server.
# The clean-up ends the X server too, as a process of the run.
#
#   source tests/support/private_session.sh NAME
#
# Sets $work; exports HOME, XDG_RUNTIME_DIR and the XDG folders inside it.

step_timeout=${STEP_TIMEOUT:-15}

work=$(mktemp -d "${TMPDIR:-/tmp}/tsifrolet-$1.XXXXXX")
export TSIFROLET_SESSION_RUN=$work

processes_of_this_run() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    [ "$pid" != $$ ] || continue
    grep -qsxzF "TSIFROLET_SESSION_RUN=$work" "$environ" && echo "$pid"
  done
  return 0
}

cleanup() {
  local pids
  pids=$(processes_of_this_run)
  if [ -n "$pids" ]; then
    kill $pids 2>/dev/null || true
    for _ in $(seq 20); do
      pids=$(processes_of_this_run)
      [ -n "$pids" ] || break
      sleep 0.1
    done
    [ -z "$pids" ] || kill -9 $pids 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# wait_for DESCRIPTION COMMAND...: retries COMMAND until it succeeds or the
# step's time is up.
wait_for() {
  local what=$1; shift
  local deadline=$((SECONDS + step_timeout))
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then
      echo "Timed out after ${step_timeout} s waiting for $what." >&2
      return 1
    fi
    sleep 0.1
  done
}

# wait_for_start WHAT PID LOG COMMAND...: as wait_for, for a program the run
# has just started as PID (a window manager, a compositor, a screen reader):
# its first start on a new machine can take far longer than any later one,
# so it has START_TIMEOUT (120 s unless told), and fails at once if it ends.
# Either way what it wrote into LOG is shown.
start_timeout=${START_TIMEOUT:-120}
# An ended child that is not yet reaped is still found by kill -0.
running() { ps -o stat= -p "$1" 2>/dev/null | grep -qv Z; }
wait_for_start() {
  local what=$1 pid=$2 log=$3; shift 3
  local deadline=$((SECONDS + start_timeout)) started=$SECONDS
  until "$@" >/dev/null 2>&1; do
    if ! running "$pid" || [ $SECONDS -ge $deadline ]; then
      if running "$pid"; then
        echo "Timed out after ${start_timeout} s waiting for $what." >&2
      else
        echo "$what ended before it was ready, after $((SECONDS - started)) s." >&2
      fi
      echo "What it wrote ($log):" >&2
      tail -n 40 "$log" 2>/dev/null | sed 's/^/  /' >&2
      return 1
    fi
    sleep 0.1
  done
}

# Private homes: as root in CI, the programs started here would otherwise
# write into the real ones, and the run must not depend on anything in them.
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM \
  XDG_SESSION_TYPE XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP

# start_x_server [SIZE] [DPI]: the private X server every check shares.
# shellcheck source=x_server.sh
source "$(dirname "${BASH_SOURCE[0]}")/x_server.sh"

# start_session_bus: a private D-Bus session bus; exports its address.
start_session_bus() {
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" >"$work/dbus.log" 2>&1 &
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
  wait_for_start "the D-Bus session bus" $! "$work/dbus.log" test -S "$work/bus"
}
