#!/usr/bin/env bash
# Gathers what `make package`, `make windows` and `make web` built into one
# folder of downloads, each file named with the version, beside SHA256SUMS
# and a README.txt that says which file is for whom:
#
#   release/gather.sh OUT
#
# The version is CMake's, as the package's build read it from the top
# CMakeLists.txt. The served page's archive is dated SOURCE_DATE_EPOCH (the
# Makefile gives the last commit's time), with its names sorted and no owner
# or time of its own, so that like the other files it comes out the same on
# every build of a commit.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$1"
: "${SOURCE_DATE_EPOCH:?the archive needs a date}"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/release/CMakeCache.txt")"
[ -n "$version" ] || { echo "gather.sh: no version in build/release; run make package first" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
name="tsifrolet-$version"
deb="$root/build/release/tsifrolet_${version}_amd64.deb"
[ -f "$deb" ] || { echo "gather.sh: make package gave no ${deb##*/}, but: $(ls "$root"/build/release/*.deb)" >&2; exit 1; }
install -m 644 "$deb" "$out/"
install -m 644 "$root/build/windows/tsifrolet-setup.exe" "$out/$name-setup.exe"
# The bare program for each kind of Windows, named by it; the installer is
# one for both.
install -m 644 "$root/build/windows/tsifrolet.exe" "$out/$name-windows-64bit.exe"
install -m 644 "$root/build/windows/x86/tsifrolet.exe" "$out/$name-windows-32bit.exe"
install -m 644 "$root/build/web/tsifrolet.html" "$out/$name.html"
install -m 644 "$root/build/windows/third-party-notices.txt" "$out/THIRD-PARTY-NOTICES.txt"
# Unpacked, a folder tsifrolet/ without the version: a new release unpacked
# over the old keeps the page's address, and its service worker the rest.
tar -C "$root/build" --sort=name --format=gnu --mtime="@$SOURCE_DATE_EPOCH" \
  --owner=0 --group=0 --numeric-owner --mode=u=rwX,go=rX --transform='s,^web,tsifrolet,' -cf - web |
  gzip -9n >"$out/$name-web.tar.gz"

# For Windows' Notepad, which before Windows 10 reads neither bare line
# ends nor UTF-8 without its mark.
news="$root/release/news.sh"
{
  printf '\357\273\277'
  awk -v version="$version" -v en="$("$news" latest "$root/release/NEWS" en)" \
    -v ru="$("$news" latest "$root/release/NEWS" ru)" '
    $0 == "@NEWS_EN@" { print en; next }
    $0 == "@NEWS_RU@" { print ru; next }
    { gsub(/@VERSION@/, version); print }' "$root/release/README.txt.in" | sed 's/$/\r/'
} >"$out/README.txt"

# In the same order in every locale.
(
  cd "$out"
  LC_ALL=C
  files=(*)
  sha256sum -- "${files[@]}" >SHA256SUMS
)
echo "The release $version, in $out:"
(cd "$out" && ls -l)
