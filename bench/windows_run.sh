#!/usr/bin/env bash
# The Windows program's start-up under Wine, beside an empty Win32 window of
# the same size also under Wine; part of `make bench`. Also the sizes of the
# program and its installer.
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

echo "== The Windows program under Wine: start to its first idle moment (shown and painted)"
wine "$build/bench/windows_startup_launcher.exe" "$runs" \
  "$(winepath -w "$build/bench/windows_probe_floor.exe")" "$(winepath -w "$build/tsifrolet.exe")"
stop_wine
echo
for file in tsifrolet.exe tsifrolet-setup.exe; do
  echo "$file: $(( $(stat -c %s "$build/$file") / 1024 )) KB"
done
echo "Targets: start-up within 1.25x the empty window, memory within 1.15x; tsifrolet.exe under 400 KB, the installer under 500 KB."
