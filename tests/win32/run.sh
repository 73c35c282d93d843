#!/usr/bin/env bash
# What `make windows-test` runs once the Windows programs are built: in one
# fresh Wine prefix on a private X server, a check that the program writes
# nothing, the quiz's own tests and the window's tests at 96 dpi, those that
# the DPI changes again at 144 and 192 dpi, those again at each DPI on the
# program as it runs on Windows 7, then the installer. Screenshots of the
# window mid-quiz and with its closing box, at each DPI, go to
# build/windows/screenshots for a person to look at.
#
#   tests/win32/run.sh BUILD_DIR [INSTALLER]
#
# The 32-bit build (build/windows/x86) is played in a 32-bit prefix
# (WINEARCH=win32), with the installer of the 64-bit build beside it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/windows}")
installer=$(realpath "${2:-$build/tsifrolet-setup.exe}")

# shellcheck source=wine_session.sh
source tests/win32/wine_session.sh
# shellcheck source=installer_checks.sh
source tests/win32/installer_checks.sh
start_wine
echo "Wine is ready ($SECONDS s)."

# The user's registry, where a program keeps its settings (without an
# administrator it can write nowhere else), exported as text.
user_registry() {
  rm -f "$work/user.reg"
  wine regedit /E "$(winepath -w "$work/user.reg")" HKEY_CURRENT_USER >>"$work/wine.log" 2>&1
  iconv -f UTF-16 -t UTF-8 "$work/user.reg"
}

# The bare program, run from its build folder as from a USB stick, writes
# no file and no setting while a learner clicks and types.
check_writes_nothing() {
  wineserver -w
  user_registry >"$work/before.reg"
  touch "$work/before"
  sleep 1
  TSIFROLET_EXE=$(winepath -w "$build/tsifrolet.exe") wine_tests "The test of what the program writes" 120 \
    "$build/tests/win32/win32_window_tests.exe" --gtest_filter='WindowsForm.Clicks*' --gtest_brief=1 || exit 1
  wineserver -w
  user_registry >"$work/after.reg"
  local written
  written=$(find "$WINEPREFIX/drive_c" "$build" "$HOME" -newer "$work/before" -type f)
  if [ -n "$written" ] || ! diff "$work/before.reg" "$work/after.reg" >&2; then
    echo "The program wrote something: ${written:-settings, above}" >&2
    exit 1
  fi
  echo "The program writes no file and no setting."
}

check_writes_nothing
shots=$build/screenshots
rm -rf "$shots"

# window_tests PROGRAM SHOTS: what the DPI changes (the form's size and
# places, the pictures, the letters, a whole quiz and the screenshots), on
# PROGRAM.
# Both tests must have run: a filter that matched one less would pass.
window_tests() {
  mkdir -p "$2"
  local out
  out=$(TSIFROLET_EXE=$(winepath -w "$1") TSIFROLET_SCREENSHOTS=$(winepath -w "$2") \
    wine_tests "The window tests on ${1##*/}" 300 "$build/tests/win32/win32_window_tests.exe" --gtest_brief=1 \
    --gtest_filter='WindowsForm.ScalesAsOne*:WindowsQuiz.TypedQuiz*') || { printf '%s\n' "$out"; exit 1; }
  printf '%s\n' "$out"
  grep -q '^\[  PASSED  \] 2 tests\.' <<<"$out" || { echo "The window tests on $1 ran other than 2 tests." >&2; exit 1; }
}

# Every test at 96 dpi, then at 144 and 192 dpi what the DPI changes, each
# also on the program as it runs on Windows 7.
for dpi in 96 144 192; do
  start=$SECONDS
  if [ "$dpi" = 96 ]; then
    mkdir -p "$shots/$dpi"
    TSIFROLET_SCREENSHOTS=$(winepath -w "$shots/$dpi") ctest --test-dir "$build" --output-on-failure
  else
    set_dpi "$dpi"
    window_tests "$build/tsifrolet.exe" "$shots/$dpi"
  fi
  windows7=$SECONDS
  window_tests "$build/tests/win32/tsifrolet-windows7.exe" "$shots/$dpi-windows7"
  for bmp in "$shots/$dpi"*/*.bmp; do
    [ -e "$bmp" ] && convert "$bmp" -trim +repage "${bmp%.bmp}.png" && rm "$bmp"
  done
  echo "At $dpi dpi: passed in $((windows7 - start)) s, as on Windows 7 in $((SECONDS - windows7)) s;" \
    "screenshots in $shots/$dpi and $shots/$dpi-windows7."
done

# The 32-bit program on 64-bit Windows too, where a parent who took it for
# either kind runs it.
if [ -f "$build/x86/tsifrolet.exe" ]; then
  set_dpi 96
  start=$SECONDS
  window_tests "$build/x86/tsifrolet.exe" "$shots/96-32bit"
  echo "The 32-bit program at 96 dpi: passed in $((SECONDS - start)) s."
fi

check_installer "$installer" "$build"
stop_wine
echo "Done in $SECONDS s."
