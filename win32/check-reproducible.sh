#!/usr/bin/env bash
# Builds the Windows program and its installer again in another folder and
# fails unless both are byte for byte the ones in BUILD_DIR, which must have
# been built from the same sources.
#
#   win32/check-reproducible.sh [BUILD_DIR]    (default: build/windows)
#
# The second build differs in what must not matter: the folder (so every
# path), the files' modification times and the umask. The sources are the
# files git knows of, committed or not.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:-$root/build/windows}")"
work="$(mktemp -d "${TMPDIR:-/tmp}/tsifrolet-reproducible.XXXXXX")"
trap 'rm -rf "$work"' EXIT

other="$work/somewhere/else"
mkdir -p "$other"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  tar -C "$root" --null --files-from=- --ignore-failed-read -cf - 2>/dev/null |
  tar -C "$other" --touch -xf -
(umask 077 && make -C "$other" windows) >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }

for file in tsifrolet.exe x86/tsifrolet.exe tsifrolet-setup.exe; do
  if ! cmp -s "$build/$file" "$other/build/windows/$file"; then
    echo "not reproducible: $file differs between $build and a build in another folder" >&2
    exit 1
  fi
done
echo "reproducible: a build in another folder gave the same tsifrolet.exe, x86/tsifrolet.exe and tsifrolet-setup.exe"
