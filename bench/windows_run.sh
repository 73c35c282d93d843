#!/usr/bin/env bash
# The Windows programs' start-up under Wine, 64- and 32-bit, each beside an
# empty Win32 window of the same size and the same window with the form's
# plain controls; part of `make bench`. Also the sizes of the programs and
# the installer.
#
#   bench/windows_run.sh BUILD_DIR [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
runs=${2:-15}

# shellcheck source=../tests/win32/wine_session.sh
source tests/win32/wine_session.sh
start_wine
# The launcher runs under Wine, which knows the file by its Windows name.
if [ -n "${BENCH_SUMMARY:-}" ]; then
  BENCH_SUMMARY=$(winepath -w "$BENCH_SUMMARY")
  export BENCH_SUMMARY
fi

# Each program beside its two floors of the same kind: the empty window, and
# the window with the form's controls as the system's plain ones. The 32-bit
# ones run as on a 64-bit PC, in the same prefix.
for kind in 64 32; do
  dir=$build
  [ "$kind" = 64 ] || dir=$build/x86
  echo "== The ${kind}-bit Windows program under Wine: start to its first idle moment (shown and painted)"
  BENCH_NAME="Win32 ${kind}-bit, Wine" wine "$dir/bench/windows_startup_launcher.exe" "$runs" \
    "$(winepath -w "$dir/bench/windows_probe_floor.exe")" "$(winepath -w "$dir/bench/windows_probe_controls.exe")" \
    "$(winepath -w "$dir/tsifrolet.exe")"
done
stop_wine
echo
for file in tsifrolet.exe x86/tsifrolet.exe tsifrolet-setup.exe; do
  echo "$file: $(( $(stat -c %s "$build/$file") / 1024 )) KB"
done
echo "Targets: start-up within 1.25x the empty window, memory within 1.15x; tsifrolet.exe under 400 KB, the installer under 500 KB."
