#!/usr/bin/env bash
# Builds the release again in another folder and fails unless it gives the
# same SHA256SUMS as RELEASE_DIR, which `make release` must have written from
# the same sources:
#
#   release/check-reproducible.sh [--reuse] [RELEASE_DIR]   (default: build/release-files)
#
# The other folder is the second copy of the sources that
# packaging/check-reproducible.sh builds the package in: another path, other
# file times, umask 077, and a build dated otherwise underneath. That check
# runs first, and so proves the package on the way; with --reuse its copies
# are taken as they stand, as CI does straight after packaging/ci-check.sh
# has run it on the same sources.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
reuse=false
if [ "${1:-}" = --reuse ]; then
  reuse=true
  shift
fi
release="$(realpath "${1:-$root/build/release-files}")"
work="$root/build/reproducible"
other="$work/second-build/elsewhere/src"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"

if ! $reuse || [ ! -d "$other" ]; then
  "$root/packaging/check-reproducible.sh" "$work"
fi
(umask 077 && make -C "$other" release RELEASE_DIR="$work/release-files") >"$work/release.log" 2>&1 ||
  { cat "$work/release.log"; exit 1; }

if ! diff -u "$release/SHA256SUMS" "$work/release-files/SHA256SUMS" >&2; then
  echo "NOT reproducible: the files whose lines differ above came out otherwise in $other" >&2
  exit 1
fi
echo "reproducible: a release built in another folder has the same SHA256SUMS:"
cat "$release/SHA256SUMS"
