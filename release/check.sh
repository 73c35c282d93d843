#!/usr/bin/env bash
# Checks a release folder as `make release` writes it:
#
#   release/check.sh DIR
#
# 1. it holds exactly the files of a release, each named with CMake's
#    version (project(VERSION) in the top CMakeLists.txt, as the package's
#    build read it), and the README names each;
# 2. SHA256SUMS lists every other file, and `sha256sum -c` passes;
# 3. every version inside agrees with the names: the package's control
#    data, its changelog, AppStream's newest release and the manual page;
#    the version resource of the program and of the installer (whose entry
#    in the installed programs, DisplayVersion, comes from the same
#    definition, and is read back under Wine by `make windows-test`); the
#    served page's service worker, which names its cache after the version.
#
# Every fault is told, not only the first.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/release/CMakeCache.txt")"
[ -n "$version" ] || { echo "check.sh: no version in build/release; run make package first" >&2; exit 1; }
faults=0
fault() {
  echo "release check: $*" >&2
  faults=$((faults + 1))
}
# same WHAT FOUND: WHAT must say the version.
same() { [ "$2" = "$version" ] || fault "$1 says '${2}', not $version"; }

name="tsifrolet-$version"
deb="tsifrolet_${version}_amd64.deb"
downloads=("$deb" "$name-setup.exe" "$name-web.tar.gz" "$name-windows-64bit.exe" "$name-windows-32bit.exe"
  "$name.html" THIRD-PARTY-NOTICES.txt README.txt)
listed() { printf '%s\n' "$@" | LC_ALL=C sort; }

if ! diff <(listed "${downloads[@]}" SHA256SUMS) <(cd "$dir" && LC_ALL=C ls) >/dev/null; then
  fault "$dir should hold exactly: $(listed "${downloads[@]}" SHA256SUMS | tr '\n' ' ')but holds: $(cd "$dir" && LC_ALL=C ls | tr '\n' ' ')"
fi
for file in "${downloads[@]:0:7}"; do
  grep -qF "$file" "$dir/README.txt" 2>/dev/null || fault "README.txt does not name $file"
done
if [ -f "$dir/SHA256SUMS" ]; then
  [ "$(awk '{ sub(/^\*/, "", $2); print $2 }' "$dir/SHA256SUMS" | LC_ALL=C sort)" = "$(listed "${downloads[@]}")" ] ||
    fault "SHA256SUMS does not list exactly the other files"
  (cd "$dir" && sha256sum --strict --quiet -c SHA256SUMS) || fault "sha256sum -c SHA256SUMS fails (above)"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if [ -f "$dir/$deb" ]; then
  same "the package's control data" "$(dpkg-deb -f "$dir/$deb" Version)"
  dpkg-deb -x "$dir/$deb" "$work/deb"
  same "the package's changelog" \
    "$(zcat "$work/deb/usr/share/doc/tsifrolet/changelog.gz" | sed -n '1s/^tsifrolet (\([^)]*\)).*/\1/p')"
  same "AppStream's newest release" \
    "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$work"/deb/usr/share/metainfo/*.xml | head -n 1)"
  same "the manual page" \
    "$(zcat "$work/deb/usr/share/man/man1/tsifrolet.1.gz" | sed -n 's/^\.TH .*"Tsifrolet \([^"]*\)".*/\1/p')"
fi
# A version resource's texts are UTF-16, each name followed by its value.
for exe in "$name-windows-64bit.exe" "$name-windows-32bit.exe" "$name-setup.exe"; do
  [ -f "$dir/$exe" ] || continue
  for key in FileVersion ProductVersion; do
    same "$exe's $key" "$(strings -el "$dir/$exe" | grep -A 1 -x "$key" | sed -n 2p)"
  done
done
# Each bare program of the kind its name says: a PE32+ header for 64-bit
# Windows, PE32 for 32-bit, and the installer itself 32-bit, to start on both.
pe_kind() { objdump -f "$1" 2>/dev/null | sed -n 's/.*file format \(pei-[a-z0-9-]*\).*/\1/p'; }
for pair in "$name-windows-64bit.exe pei-x86-64" "$name-windows-32bit.exe pei-i386" "$name-setup.exe pei-i386"; do
  set -- $pair
  [ -f "$dir/$1" ] || continue
  [ "$(pe_kind "$dir/$1")" = "$2" ] || fault "$1 is $(pe_kind "$dir/$1"), not $2"
done
archive="$dir/$name-web.tar.gz"
if [ -f "$archive" ]; then
  same "the page's service worker" "$(tar -xzOf "$archive" tsifrolet/sw.js |
    sed -n 's/^const CACHE = "tsifrolet-\(.*\)-[0-9a-f]*";$/\1/p')"
  # Unpacked as it is into a site's folder: one folder, nobody's files.
  tar --numeric-owner -tvzf "$archive" | awk '$2 != "0/0" || $NF !~ /^tsifrolet\// { bad = 1 } END { exit bad }' ||
    fault "$name-web.tar.gz should hold only tsifrolet/..., owned by 0/0"
  tar -xzOf "$archive" tsifrolet/tsifrolet.html | cmp -s - "$dir/$name.html" ||
    fault "$name.html is not the page in $name-web.tar.gz"
fi

if [ "$faults" -gt 0 ]; then
  echo "release check: $faults faults in $dir" >&2
  exit 1
fi
echo "release check: $dir holds the release $version, every file named, summed and versioned alike"
