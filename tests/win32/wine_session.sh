# A private Wine for the Windows program's tests: a fresh prefix in
# the run's work folder, on a private X server, with a virtual desktop so
# that windows get Wine's own frame (a bare X server has no window manager).
#
#   source tests/win32/wine_session.sh
#   start_wine        # Xvfb, then the prefix (about 15 s)
#   set_dpi 144       # the screen's DPI from the next program on
#
# Wine's output is kept in $work/wine.log. With WINEDEBUG=-all a program
# that fails can still exit 0, so tests check what a program did, never
# only its exit code.

# shellcheck source=../support/private_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/private_session.sh" wine

# WINEARCH=win32 makes a 32-bit prefix, as a 32-bit PC is.
export WINEPREFIX=$work/prefix WINEARCH=${WINEARCH:-win64} WINEDEBUG=-all
# Paths and texts pass between Linux and Wine as UTF-8: the Start menu
# entry's name is Russian.
export LC_ALL=C.UTF-8
# No .NET or Gecko: the prefix would otherwise ask to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# set_registry KEY NAME TYPE:VALUE...: a .reg file imported in one go.
import_registry() {
  printf 'Windows Registry Editor Version 5.00\r\n\r\n%s' "$1" >"$work/settings.reg"
  wine regedit /S "$(winepath -w "$work/settings.reg")" >>"$work/wine.log" 2>&1
  wineserver -w
}

# The screen and Wine's desktop on it, of one size (on a larger screen the
# clicked quiz took four times as long), large enough for the window at every
# DPI: at 200 % it is 1046 pixels wide.
desktop=1280x1024
start_wine() {
  start_x_server "$desktop"
  wineboot --init >>"$work/wine.log" 2>&1
  wineserver -w
  # Debian's Wine does not look in its own font folder: without these the
  # frame's buttons show letters and Tahoma, the dialogs' font, is missing.
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # A program that crashes ends at once, with its exception's code: no crash
  # dialog waits for a click, Wine asks nobody whether to debug it (Auto),
  # and the debugger, named as nothing, cannot start; in both registry views.
  import_registry '[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="'"$desktop"'"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"

[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"
'
}

# wine_tests WHAT SECONDS PROGRAM ARGUMENTS...: a test program of ours under
# Wine, for at most SECONDS, whose own closing line must say that its tests
# passed; its output goes to the terminal. A crash is named as one, by the
# test program's word (crash_report.cpp) or its driver's for the program
# it drives.
wine_tests() {
  local what=$1 limit=$2 out status=0
  shift 2
  # Into a file, not a pipe, which a program left running would hold open.
  timeout "$limit" wine "$@" >"$work/tests.out" 2>&1 || status=$?
  out=$(cat "$work/tests.out")
  printf '%s\n' "$out"
  if grep -q 'CRASHED' <<<"$out"; then
    echo "$what: $(grep -m 1 -o 'CRASHED.*' <<<"$out")" >&2
  elif [ "$status" -eq 124 ]; then
    echo "$what: timed out after $limit s" >&2
  elif ! grep -q '^\[  PASSED  \]' <<<"$out" || grep -q '^\[  FAILED  \]' <<<"$out"; then
    echo "$what: the tests did not all pass (exit code $status)" >&2
  else
    return 0
  fi
  # Whatever it left running would keep the next `wineserver -w` waiting.
  wineserver -k 2>/dev/null || true
  return 1
}

# set_dpi DPI: what the display reports from the next program started on.
set_dpi() {
  import_registry "[HKEY_CURRENT_USER\\Control Panel\\Desktop]
\"LogPixels\"=dword:$(printf '%08x' "$1")
"
  wineserver -k 2>/dev/null || true
  wineserver -w
}

stop_wine() {
  wineserver -k 2>/dev/null || true
}
