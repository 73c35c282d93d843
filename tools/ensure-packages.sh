#!/usr/bin/env bash
# Installs the Debian packages a task needs, and only those that are missing.
# Asking dpkg-query first keeps a repeated `make` quick and silent; apt runs
# only when something really has to be installed.
#
#   tools/ensure-packages.sh GROUP...
#
# Groups: build (compile, test, run), shots (screenshots under Xvfb),
#         assets (re-render the pictures), package (.deb and its checks),
#         fuzz (clang with libFuzzer and the sanitizer runtimes),
#         bench (Google Benchmark, and Xvfb for start-up under X11),
#         profile (finding where time and memory go).
set -euo pipefail

packages_for() {
  case "$1" in
    build) echo g++ cmake make libgtest-dev qt6-base-dev qt6-base-private-dev fonts-liberation2 ;;
    shots) echo xvfb xauth imagemagick xdotool ;;
    assets) echo librsvg2-bin imagemagick ;;
    package) echo dpkg-dev file lintian desktop-file-utils appstream fakeroot git ;;
    fuzz) echo clang libclang-rt-dev ;;
    bench) echo libbenchmark-dev xvfb xauth ;;
    profile) echo linux-perf heaptrack valgrind strace ;;
    *) echo "unknown package group: $1" >&2; return 1 ;;
  esac
}

is_installed() {
  dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null | grep -qx installed
}

missing=()
for group in "$@"; do
  for pkg in $(packages_for "$group"); do
    is_installed "$pkg" || missing+=("$pkg")
  done
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
