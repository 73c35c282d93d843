#!/usr/bin/env bash
# The packaging stage of CI: builds the Debian package and checks it the way a
# user's system would meet it.
#
#   packaging/ci-check.sh
#
# 1. `make package`, then the menu entry and the AppStream data as shipped
#    in the .deb, lintian (errors and warnings fail), and two more builds
#    that must give the very same file;
# 2. installs the .deb with apt, starts the installed program through its
#    menu entry's command on Qt's offscreen platform and expects it still
#    running, silently, three seconds later; then plays a whole quiz on it
#    on a private X server (packaging/play-quiz.sh);
# 3. purges the package and expects none of its files left behind.
#
# Step 2 and 3 change the system, so this wants root, as CI runs.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

package=tsifrolet
app_id=io.github.tsifrolet.Tsifrolet
work="build/ci-check"

# dpkg's word on the package: installed, config-files, ... or nothing.
package_status() { dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true; }

step() { printf '\n== %s\n' "$*"; }
fail() {
  echo "ci-check: $*" >&2
  exit 1
}

step "building the package"
make package
debs=(build/release/${package}_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package in build/release, found: ${debs[*]}"
deb="$(pwd)/${debs[0]}"

step "the menu entry and the AppStream data, as shipped"
tools/ensure-packages.sh package-checks
rm -rf "$work" && mkdir -p "$work/tree"
dpkg-deb -x "$deb" "$work/tree"
desktop="$work/tree/usr/share/applications/$app_id.desktop"
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/$app_id.metainfo.xml"
# The tree check also proves that the metainfo's launchable names a real desktop file.
appstreamcli validate-tree --no-net "$work/tree"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
for size in 48x48/apps/$icon.png scalable/apps/$icon.svg; do
  [ -s "$work/tree/usr/share/icons/hicolor/$size" ] || fail "the menu entry's icon is missing: $size"
done
echo "the menu entry, the AppStream data and the icons agree on $app_id"

step "lintian"
status=0
lintian --info --pedantic --display-experimental --fail-on error,warning "$deb" >"$work/lintian" 2>&1 || status=$?
grep -v '^running with root privileges' "$work/lintian" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings (above)"
echo "lintian: no errors, no warnings"

step "reproducibility"
packaging/check-reproducible.sh

step "install with apt"
case "$(package_status)" in
  "" | not-installed) ;;
  *) apt-get remove --purge -y -qq -o Dpkg::Use-Pty=0 "$package" ;;
esac
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0 "$deb"
dpkg-query -L "$package" >"$work/files"
for path in /usr/bin/tsifrolet "/usr/share/applications/$app_id.desktop" \
  "/usr/share/metainfo/$app_id.metainfo.xml" "/usr/share/doc/$package/copyright"; do
  [ -e "$path" ] || fail "not installed: $path"
done

step "start the installed program"
command="$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")"
[ "$(command -v "$command")" = /usr/bin/tsifrolet ] || fail "the menu entry's command '$command' is not /usr/bin/tsifrolet"
# A private runtime folder keeps Qt from warning about a missing one, so any
# word on stderr (a missing plugin, font or picture) is a real fault.
runtime="$(mktemp -d)"
status=0
(cd / && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" \
  timeout 3 "$command") >"$work/stdout" 2>"$work/stderr" || status=$?
rmdir "$runtime"
cat "$work/stdout" "$work/stderr"
[ "$status" -eq 124 ] || fail "the program ended with status $status before its 3 seconds were up"
[ ! -s "$work/stderr" ] || fail "the program complained on stderr (above)"
echo "the installed program ran for 3 seconds without a word"

step "a whole quiz on the installed program, on a private X server"
tools/ensure-packages.sh shots
env -u DISPLAY -u WAYLAND_DISPLAY packaging/play-quiz.sh /usr/bin/tsifrolet

step "purge"
apt-get remove --purge -y -qq -o Dpkg::Use-Pty=0 "$package"
case "$(package_status)" in
  "" | not-installed) ;;
  *) fail "after the purge dpkg still has $package as $(package_status)" ;;
esac
left=()
while IFS= read -r path; do
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    # Shared folders (/usr/share/...) stay; one that no package owns and
    # that is empty is ours and should have gone.
    if ! dpkg-query -S "$path" >/dev/null 2>&1 && [ -z "$(ls -A "$path")" ]; then
      left+=("$path")
    fi
  elif [ -e "$path" ] || [ -L "$path" ]; then
    left+=("$path")
  fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left behind after the purge: ${left[*]}"
echo "purged: none of the $(wc -l <"$work/files") paths the package installed is left"
