#!/usr/bin/env bash
# What `make windows-test` runs once the Windows programs are built: in one
# fresh Wine prefix on a private X server, the quiz's own tests and the
# window's tests at 96 dpi, the window's tests again at 144 dpi, then the
# installer. Screenshots of the window mid-quiz and with its closing box, at
# both DPIs, go to build/windows/screenshots for a person to look at.
#
#   tests/windows/run.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/windows}")

# shellcheck source=wine_session.sh
source tests/windows/wine_session.sh
# shellcheck source=installer_checks.sh
source tests/windows/installer_checks.sh
start_wine
echo "Wine is ready ($SECONDS s)."

shots=$build/screenshots
rm -rf "$shots"
for dpi in 96 144; do
  mkdir -p "$shots/$dpi"
  [ "$dpi" = 96 ] || set_dpi "$dpi"
  tests=$([ "$dpi" = 96 ] && echo . || echo WindowsWindowTests)
  TSIFROLET_SCREENSHOTS=$(winepath -w "$shots/$dpi") ctest --test-dir "$build" --output-on-failure -R "$tests"
  for bmp in "$shots/$dpi"/*.bmp; do
    [ -e "$bmp" ] && convert "$bmp" -trim +repage "${bmp%.bmp}.png" && rm "$bmp"
  done
  echo "At $dpi dpi: passed ($SECONDS s); screenshots in $shots/$dpi."
done

check_installer "$build"
stop_wine
echo "Done in $SECONDS s."
