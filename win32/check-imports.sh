#!/usr/bin/env bash
# Fails unless the program imports only functions that Windows 7 has: those
# in win32/windows7-imports.txt.
#
#   win32/check-imports.sh [PROGRAM]    (default: build/windows/tsifrolet.exe)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program="${1:-$here/../build/windows/tsifrolet.exe}"

imports=$(x86_64-w64-mingw32-objdump -p "$program" |
  awk '/DLL Name:/ { dll = $3; next } dll && /^\t[0-9a-f]+[ \t]/ { print dll "!" $NF }' | sort -u)
[ -n "$imports" ] || { echo "check-imports: found no imports in $program" >&2; exit 1; }
unknown=$(comm -23 <(printf '%s\n' "$imports") <(grep -v '^#' "$here/windows7-imports.txt" | sort -u))
if [ -n "$unknown" ]; then
  echo "$program imports functions not known to be in Windows 7:" >&2
  printf '  %s\n' $unknown >&2
  exit 1
fi
echo "imports: $(wc -l <<<"$imports") functions from $(cut -d'!' -f1 <<<"$imports" | sort -u | tr '\n' ' ')all in Windows 7"
