# The installer, in the Wine prefix of tests/win32/run.sh: a silent
# install for the current user, the Start menu entry and the entry in the
# list of installed programs, the program started from its entry, and a
# silent uninstall that leaves nothing behind; then the same for every user
# of the PC (/AllUsers), the machine's entries instead of the user's.
#
# The installer is the same for every PC; the program it must install is the
# one of the prefix's kind, which BUILD_DIR holds.
#
#   check_installer INSTALLER BUILD_DIR

fail() {
  echo "installer ($scope): $*" >&2
  exit 1
}

# The uninstall entry under ROOT, exported as a file (UTF-16) and read as
# UTF-8: `reg query` prints through the console's code page, which garbles
# Russian. On 64-bit Windows it is read in the 64-bit registry view, where
# Windows looks for a 64-bit program's entry: `wine` may start the 32-bit
# tools, which would see the other.
read_uninstall_entry() {
  local view=()
  [ "$WINEARCH" = win32 ] || view=(/reg:64)
  rm -f "$work/entry.reg"
  wine reg export "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tsifrolet" \
    "$(winepath -w "$work/entry.reg")" "${view[@]}" /y >>"$work/wine.log" 2>&1 || true
  if [ -s "$work/entry.reg" ]; then iconv -f UTF-16 -t UTF-8 "$work/entry.reg" | tr -d '\r'; fi
}

# The value of NAME in the entry: a string without its quotes, a dword in hex.
uninstall_value() {
  read_uninstall_entry "$root" | awk -v name="\"$1\"" -F= '$1 == name {
    value = substr($0, length(name) + 2)
    if (value ~ /^dword:/) print "0x" substr(value, 7); else { gsub(/^"|"$/, "", value); print value }
  }'
}

# check_installation INSTALLER BUILD_DIR SCOPE: SCOPE is "user" or "all".
check_installation() {
  local setup=$1 build=$2 options=(/S) programs menu installed
  scope=$3
  if [ "$scope" = user ]; then
    local user_dir
    user_dir=$(winepath -u 'C:\users')/$(id -un)
    programs=$user_dir/AppData/Local/Programs/Tsifrolet
    menu=$user_dir/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
    root=HKEY_CURRENT_USER
  else
    options+=(/AllUsers)
    programs=$(winepath -u 'C:\Program Files')/Tsifrolet
    menu=$(winepath -u 'C:\ProgramData')/Microsoft/Windows/Start\ Menu/Programs
    root=HKEY_LOCAL_MACHINE
  fi
  installed=$programs/tsifrolet.exe

  wine "$setup" "${options[@]}" >>"$work/wine.log" 2>&1 || fail "the installer failed"
  # Started from 64-bit Wine, the 32-bit installer may still be writing when
  # `wine` returns: the prefix is done once every program in it is.
  wineserver -w
  cmp -s "$installed" "$build/tsifrolet.exe" || fail "${build##*/}/tsifrolet.exe was not installed in $programs"
  [ -f "$programs/uninstall.exe" ] || fail "no uninstaller"
  grep -q 'winpthreads' "$programs/THIRD-PARTY-NOTICES.txt" || fail "no third-party notices beside the program"
  [ -f "$menu/Цифролёт.lnk" ] || fail "no Start menu entry «Цифролёт»"

  [ "$(uninstall_value DisplayName)" = "Цифролёт" ] || fail "the list of programs does not name it"
  [ "$(uninstall_value DisplayVersion)" = "$(sed -n 's/^ *VERSION \([0-9.]*\)$/\1/p' CMakeLists.txt)" ] ||
    fail "the list of programs has the wrong version: $(uninstall_value DisplayVersion)"
  [ -n "$(uninstall_value Publisher)" ] || fail "no publisher"
  case $(uninstall_value DisplayIcon) in *tsifrolet.exe,0) ;; *) fail "no icon in the list of programs" ;; esac
  [ $(($(uninstall_value EstimatedSize))) -gt 0 ] || fail "no size in the list of programs"

  TSIFROLET_SHORTCUT=$(winepath -w "$menu/Цифролёт.lnk") TSIFROLET_INSTALLED=$(winepath -w "$installed") \
    wine_tests "The installed program's test" 60 "$build/tests/win32/win32_window_tests.exe" \
    --gtest_filter='WindowsInstalled.StartsFromItsStartMenuEntry' --gtest_brief=1 >>"$work/wine.log" ||
    fail "the program did not start from its Start menu entry"

  # Uninstalled while the program runs, everything stays.
  TSIFROLET_EXE=$(winepath -w "$installed") TSIFROLET_INSTALLED=$(winepath -w "$installed") \
    wine_tests "The uninstaller beside the running program" 90 "$build/tests/win32/win32_window_tests.exe" \
    --gtest_filter='WindowsInstalled.UninstallingItWhileItRuns*' --gtest_brief=1 >>"$work/wine.log" ||
    fail "uninstalled while it ran, the program did not stay whole"
  [ -f "$menu/Цифролёт.lnk" ] || fail "uninstalled while it ran, the program lost its Start menu entry"
  [ "$(uninstall_value DisplayName)" = "Цифролёт" ] || fail "uninstalled while it ran, the program left the list"
  wineserver -w

  # The uninstaller runs on from a copy of itself and returns at once.
  wine "$(winepath -w "$programs/uninstall.exe")" /S >>"$work/wine.log" 2>&1
  step_timeout=60 wait_for "the uninstaller to finish" test ! -e "$programs"
  [ ! -e "$menu/Цифролёт.lnk" ] || fail "the Start menu entry is still there"
  [ -z "$(uninstall_value DisplayName)" ] || fail "the list of programs still has it"
}

check_installer() {
  check_installation "$1" "$2" user
  check_installation "$1" "$2" all
  echo "The installer installs, starts and uninstalls the program, for one user and for all, in a $WINEARCH prefix."
}
