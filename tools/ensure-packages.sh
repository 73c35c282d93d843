#!/usr/bin/env bash
# Installs the Debian packages a task needs, and only those that are missing.
# Asking dpkg-query first keeps a repeated `make` quick and silent; apt runs
# only when something really has to be installed.
#
#   tools/ensure-packages.sh GROUP...
#
# Groups: build (compile, test, run), shots (screenshots under Xvfb),
#         assets (re-render the pictures), package (build the .deb),
#         package-checks (validate and lint the .deb),
#         fuzz (clang with libFuzzer and the sanitizer runtimes),
#         bench (Google Benchmark, and Xvfb for start-up under X11),
#         profile (finding where time and memory go),
#         web (the page: emscripten, node, Chromium for its tests, font subsetting,
#             wabt to check its WebAssembly),
#         npm (where node came without it),
#         browsers (Firefox ESR and WebKit with its WebDriver, for the page's tests),
#         a11y (the Orca screen reader, speaking into nothing, on Xvfb),
#         desktops (real window managers and a Wayland compositor, headless),
#         win32 (the Win32 program: mingw-w64, NSIS, and Wine on Xvfb to test it),
#         readme (a fresh Debian root to try the README's first steps in).
#
# apt's own output goes to a log file (TSIFROLET_APT_LOG, by default
# ~/.cache/tsifrolet/apt.log, each user's own); the terminal gets one line
# per step, and the log's tail if apt fails.
set -euo pipefail

packages_for() {
  case "$1" in
    build) echo g++ cmake make pkgconf libgtest-dev qt6-base-dev qt6-base-private-dev qt6-translations-l10n \
      libturbojpeg0-dev libpng-dev libstb-dev fonts-liberation2 ;;
    shots) echo xvfb xauth x11-utils imagemagick xdotool ;;
    assets) echo librsvg2-bin imagemagick ;;
    package) echo dpkg-dev file fakeroot git ;;
    package-checks) echo lintian desktop-file-utils appstream ;;
    fuzz) echo clang libclang-rt-dev ;;
    bench) echo libbenchmark-dev xvfb xauth ;;
    profile) echo linux-perf heaptrack valgrind strace ;;
    npm) echo npm ;;
    browsers) echo firefox-esr webkit2gtk-driver xvfb xauth ;;
    # The page builder is a native program; fontconfig finds the font files
    # wherever the release keeps them.
    web) echo cmake make g++ emscripten nodejs libgtest-dev chromium fonttools python3-brotli fontconfig \
      fonts-liberation2 wabt ;;
    a11y) echo orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox xvfb x11-utils \
      xdotool dbus at-spi2-core bsdutils procps ;;
    desktops) echo dbus openbox xfwm4 weston xwayland qt6-wayland xvfb x11-utils xdotool wmctrl procps ;;
    # Both programs, 64- and 32-bit, and Wine's two halves to play them:
    # wine32 comes from the i386 architecture, added for this group alone.
    win32) echo cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libgtest-dev libstb-dev nsis \
      wine wine64 wine32:i386 fonts-wine fonts-liberation2 xvfb xauth imagemagick ;;
    readme) echo debootstrap expect xvfb xdotool ;;
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

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || {
    echo "Need root or sudo to install these Debian packages: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}), or install sudo, then run make again." >&2
    exit 1
  }
  # sudo clears the environment; without this debconf would stop to ask questions.
  as_root=(sudo DEBIAN_FRONTEND=noninteractive)
fi
export DEBIAN_FRONTEND=noninteractive

# A fixed name in the shared /tmp would belong to whoever wrote it first, and
# every other user would be refused it.
log=${TSIFROLET_APT_LOG:-}
if [ -z "$log" ]; then
  log=${XDG_CACHE_HOME:-${HOME:-/nonexistent}/.cache}/tsifrolet/apt.log
  { mkdir -p "${log%/*}" && : >"$log"; } 2>/dev/null || log=$(mktemp -t tsifrolet-apt.XXXXXX.log)
fi
: >"$log"

# A fresh desktop often runs unattended upgrades at first boot; wait for its
# lock instead of failing at once.
lock_wait=${TSIFROLET_APT_LOCK_TIMEOUT:-600}
apt_options=(-o "DPkg::Lock::Timeout=$lock_wait" -o APT::Color=0)

# The architectures this run added to dpkg, taken away again if their
# packages cannot be had, so that apt is left as it was.
added=()
take_back_added() {
  local arch
  for arch in "${added[@]}"; do
    "${as_root[@]}" dpkg --remove-architecture "$arch" &&
      echo "The $arch architecture was taken away again." >&2
  done
  [ ${#added[@]} -eq 0 ] || "${as_root[@]}" apt-get "${apt_options[@]}" update >>"$log" 2>&1 || true
  added=()
}

# run_apt WHAT ARGS...: one line on the terminal, everything else in the log.
# apt-get waits for dpkg's lock by itself, but `update` gives up at once on
# the package lists' lock, so that one is retried here until the same limit.
run_apt() {
  local what=$1; shift
  echo "$what (apt's log: $log)"
  local waited=0 said=""
  until "${as_root[@]}" apt-get "${apt_options[@]}" "$@" >>"$log" 2>&1; do
    if tail -n 3 "$log" | grep -q 'Could not get lock' && [ "$waited" -lt "$lock_wait" ]; then
      [ -n "$said" ] || echo "Another package manager holds apt's lock; waiting up to ${lock_wait} s."
      said=yes
      sleep 5
      waited=$((waited + 5))
      continue
    fi
    echo "apt-get $* failed; the end of $log:" >&2
    tail -n 25 "$log" >&2
    take_back_added
    exit 1
  done
}

# A package of another architecture (wine32:i386) needs that architecture's
# lists. Added only when such a package is missing; if its lists cannot be
# read, it is taken away again, so that apt is left as it was, and the set-up
# stops: the tests that need it would otherwise fail later, less clearly.
foreign=$(printf '%s\n' "${missing[@]}" | sed -n 's/^[^:]*:\([a-z0-9]*\)$/\1/p' | sort -u)
for arch in $foreign; do
  dpkg --print-foreign-architectures | grep -qx "$arch" && continue
  echo "Adding the $arch architecture to dpkg, for: $(printf '%s\n' "${missing[@]}" | grep ":$arch\$" | tr '\n' ' ')"
  "${as_root[@]}" dpkg --add-architecture "$arch"
  added+=("$arch")
done

run_apt "Updating the list of Debian packages" update
for arch in $foreign; do
  unreadable=$(printf '%s\n' "${missing[@]}" | grep ":$arch\$" | while read -r pkg; do
    policy=$(apt-cache policy "$pkg" 2>/dev/null) || true
    grep -q 'Candidate: [0-9]' <<<"$policy" || echo "$pkg"
  done)
  [ -z "$unreadable" ] && continue
  echo "The $arch package lists could not be read, so $(echo $unreadable) cannot be installed (see $log)." >&2
  take_back_added
  exit 1
done
run_apt "Installing ${#missing[@]} missing Debian packages: ${missing[*]}" \
  install -y --no-install-recommends "${missing[@]}"
echo "Installed ${#missing[@]} packages."
