#!/usr/bin/env bash
# Builds the Debian package twice with `make package` and fails unless the two
# .deb files are byte for byte the same.
#
#   packaging/check-reproducible.sh [WORK_DIR]    (default: build/reproducible)
#
# The two builds differ in everything that must not matter: the folder they
# are built in (so every path), the files' modification times, and the umask.
# The second is also built on top of a build dated otherwise, as in a working
# copy where `make package` ran before the last commit: nothing compiled may
# keep a date. Both packages are dated by the last commit, as `make package`
# dates them. The sources are the files git knows of, committed or not, so a
# change can be checked before it is committed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/ensure-packages.sh" build package
work="${1:-$root/build/reproducible}"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"

# copy_sources DEST: the tracked and untracked, not ignored, files, with the
# current time as their modification time.
copy_sources() {
  mkdir -p "$1"
  git -C "$root" ls-files -z --cached --others --exclude-standard |
    tar -C "$root" --null --files-from=- --ignore-failed-read -cf - 2>/dev/null |
    tar -C "$1" --touch -xf -
}

rm -rf "$work"
first="$work/one/tsifrolet"
second="$work/second-build/elsewhere/src"

copy_sources "$first"
make -C "$first" package >"$work/one.log" 2>&1 || { cat "$work/one.log"; exit 1; }

sleep 1 # a later second for every file time of the second copy
copy_sources "$second"
(
  umask 077
  SOURCE_DATE_EPOCH=1 make -C "$second" package
  make -C "$second" package
) >"$work/two.log" 2>&1 || { cat "$work/two.log"; exit 1; }

debs=("$first"/build/release/*.deb "$second"/build/release/*.deb)
sha256sum "${debs[@]}"
if cmp -s "${debs[0]}" "${debs[1]}"; then
  echo "reproducible: both builds gave the same $(basename "${debs[0]}")"
  exit 0
fi

# Say where they differ: the file list with modes and times, then the contents.
echo "NOT reproducible: the two packages differ" >&2
for i in 0 1; do
  mkdir -p "$work/unpacked$i"
  dpkg-deb -c "${debs[$i]}" >"$work/list$i"
  dpkg-deb -I "${debs[$i]}" >>"$work/list$i"
  dpkg-deb -x "${debs[$i]}" "$work/unpacked$i"
done
diff "$work/list0" "$work/list1" >&2 || true
diff -r "$work/unpacked0" "$work/unpacked1" >&2 || true
exit 1
