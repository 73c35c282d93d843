#!/usr/bin/env bash
# Follows the README's first steps as a newcomer would, on a fresh minimal
# Debian of the release SUITE made by debootstrap (bookworm, Debian 12, or
# trixie, Debian 13): an ordinary user, learner, with root and
# learner each given a password, pastes the README's commands one by one
# into a login shell, LANG unset:
#
#   1. the first step (su to root for apt and the sudo group), root's
#      password typed at su's prompt;
#   2. after logging in again: `id` must list the sudo group; the clone
#      (of this commit, served from a folder in the root); then the commands
#      run in the copy, `make run` and `make test`, and those of the section
#      "Install", with learner's password typed at sudo's prompt. None may
#      fail, and apt may not note that it read the package as root.
#
# The commands are read from README.md's sections "The two commands" and
# "Install" as they stand, so a first step that no longer works fails here.
# The desktop that `make run` needs is an X server on this machine: once the
# window shows, it is closed by a click on «Выход», as a learner ends the
# program.
#
# Given a PACKAGE built elsewhere (say the release's .deb, built on Debian
# 12), that is installed in the root afterwards and a whole quiz played on
# it (packaging/play-quiz.sh), the program started in the root.
#
#   tests/readme/first_steps.sh SUITE [PACKAGE]
#
# Wants root (debootstrap, chroot, mounts) and the network to Debian's
# archive. What each step printed is kept in build/check-readme/SUITE/, and
# the end of each is shown. Nothing is kept between runs: the root is made anew.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$(pwd)
here=$repo/tests/readme
suite=${1:-}
package=${2:+$(realpath "$2")}

fail() {
  echo "check-readme${suite:+ ($suite)}: $*" >&2
  exit 1
}
case $suite in
  bookworm) release=12 ;;
  trixie) release=13 ;;
  *) fail "usage: $0 bookworm|trixie [PACKAGE]" ;;
esac
out=$repo/build/check-readme/$suite
[ "$(id -u)" -eq 0 ] || fail "needs root, for debootstrap, chroot and its mounts"
[ -z "$package" ] || [ -f "$package" ] || fail "no package $2"

# readme_block SECTION N: the commands of the Nth fenced block in that section of the README.
readme_block() {
  awk -v section="## $1" -v want="$2" '
    /^## / { in_section = ($0 == section); next }
    in_section && /^```/ { if (inside) { inside = 0 } else { inside = 1; block++ }; next }
    in_section && inside && block == want && NF { print }
  ' README.md
}
rm -rf "$out" && mkdir -p "$out"
readme_block "The two commands" 1 | grep -v '^git clone ' >"$out/first-step" || true
readme_block "The two commands" 1 | grep '^git clone ' >"$out/clone" || true
readme_block "The two commands" 2 >"$out/in-the-copy"
readme_block Install 1 >"$out/install"
for part in first-step clone in-the-copy install; do
  [ -s "$out/$part" ] || fail "found no $part command in README.md"
done

# The commit under test, to be cloned: this work tree's state where it
# differs from HEAD.
commit=$(GIT_AUTHOR_NAME=check GIT_AUTHOR_EMAIL=check@localhost GIT_COMMITTER_NAME=check \
  GIT_COMMITTER_EMAIL=check@localhost git stash create)
commit=${commit:-$(git rev-parse HEAD)}

source "$repo/tests/support/private_session.sh" readme
root=$(mktemp -d "/var/tmp/tsifrolet-readme-$suite.XXXXXX")
chmod 755 "$root"
mounts=()

# Every process whose root is the Debian root; a daemon a package started
# there would keep its mounts busy.
processes_in_root() {
  local link pid
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}
    pid=${pid%/root}
    [ "$(readlink "$link" 2>/dev/null)" = "$root" ] && echo "$pid"
  done
  return 0
}
release_root() {
  local pids i
  pids=$(processes_in_root)
  [ -z "$pids" ] || kill -9 $pids 2>/dev/null || true
  cp "$root/home/learner/.cache/tsifrolet/apt.log" "$out/apt.log" 2>/dev/null || true
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}" || true
  done
  # Never remove a tree with a mount left in it: through /dev that would
  # remove the machine's own devices.
  if grep -q " $root/" /proc/mounts; then
    echo "check-readme: still mounted below $root, left in place" >&2
  else
    rm -rf --one-file-system "$root"
  fi
  cleanup
}
trap release_root EXIT
mount_in_root() {
  local target=$root$1; shift
  mount "$@" "$target"
  mounts+=("$target")
}
in_root() { chroot "$root" "$@"; }

step() { printf '\n== %s (%d s in)\n' "$*" "$SECONDS"; }

step "a minimal Debian $release root (debootstrap $suite)"
# With apt-utils and whiptail, which every installed Debian has, and without
# which debconf adds notes to each installation.
nice -n 10 debootstrap --variant=minbase --include=apt-utils,whiptail "$suite" "$root" http://deb.debian.org/debian \
  >"$out/debootstrap.log" 2>&1 || { tail -n 20 "$out/debootstrap.log" >&2; fail "debootstrap failed (above)"; }
# What the installer would have set up too: its archives, the host's name,
# and a private home folder for the user.
cat >"$root/etc/apt/sources.list" <<LIST
deb http://deb.debian.org/debian $suite main
deb http://deb.debian.org/debian $suite-updates main
deb http://deb.debian.org/debian-security $suite-security main
LIST
printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n' "$(hostname)" >"$root/etc/hosts"
mount_in_root /proc -t proc proc
mount_in_root /dev --rbind /dev
mount --make-rslave "$root/dev"

root_password=root-$RANDOM$RANDOM
learner_password=learner-$RANDOM$RANDOM
in_root useradd --create-home --shell /bin/bash learner
chmod 700 "$root/home/learner"
printf 'root:%s\nlearner:%s\n' "$root_password" "$learner_password" | in_root chpasswd
uid=$(in_root id -u learner)
# What a desktop session gives its terminals.
install -d -m 700 -o "$uid" -g "$uid" "$root/run/user/$uid"
start_x_server 1024x768

git init -q --bare "$root/srv/tsifrolet.git"
git push -q "$root/srv/tsifrolet.git" "$commit:refs/heads/main"
git -C "$root/srv/tsifrolet.git" symbolic-ref HEAD refs/heads/main
# git serves a repository on disk only to its owner.
chown -R "$uid:$uid" "$root/srv/tsifrolet.git"
sed -i 's|<[^>]*>|/srv/tsifrolet.git|' "$out/clone"
{ echo id; cat "$out/clone" "$out/in-the-copy" "$out/install"; } >"$out/second-login"

# session FIRST_NUMBER LINES: one login of learner through `su - learner`,
# with a terminal, the lines typed in it.
session() {
  ROOT_PASSWORD=$root_password USER_PASSWORD=$learner_password \
    expect -f "$here/session.exp" "$2" "$out" "$1" \
    env TERM=xterm-256color DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="/run/user/$uid" \
    PROMPT_COMMAND='printf "[exit %s]\n" $?' \
    chroot "$root" su --whitelist-environment=DISPLAY,XDG_RUNTIME_DIR,PROMPT_COMMAND - learner
}
# show NUMBER: that line and the end of what it printed, as the terminal
# showed it (NN.txt keeps all of it), and the time it took.
show() {
  local step=$out/$(printf %02d "$1")
  # Titles, colours, apt's progress bar, and each line's last overwritten state.
  perl -pe 's/\e\][^\a]*\a//g; s/\e7.*?\e8//g; s/\e\[[0-9;?]*[A-Za-z]//g; s/\r$//; s/.*\r//' "$step.log" |
    grep -v '^\[exit [0-9]*\]$' | sed '$d' >"$step.txt"
  echo "\$ $(head -n 1 "$step.txt")"
  [ "$(wc -l <"$step.txt")" -le 9 ] || echo "  ..."
  tail -n +2 "$step.txt" | tail -n 8
  [ ! -s "$step.seconds" ] || echo "  ($(cat "$step.seconds") s)"
}
# run_session FIRST_NUMBER LINES: the session, each line shown; its failure fails the check.
run_session() {
  local count status=0
  count=$(wc -l <"$2")
  session "$@" >"$out/session.out" 2>&1 || status=$?
  for ((n = $1; n < $1 + count; n++)); do
    [ -e "$out/$(printf %02d $n).log" ] || break
    show $n
  done
  [ "$status" -eq 0 ] || fail "$(cat "$out/session.out")"
}

step "the first step, as learner"
run_session 1 "$out/first-step"

# The desktop's part in `make run`: once the window has shown and stayed
# for a few seconds, a click on «Выход», at (268, 284) in the window.
close_window_when_shown() {
  local window=""
  until [ -n "$window" ]; do
    sleep 1
    window=$(xdotool search --onlyvisible --classname tsifrolet 2>/dev/null | head -n 1) || true
  done
  # What is checked here is that the window lasts: three seconds of it.
  sleep 3
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "the window ${WIDTH}x${HEIGHT} at ${X},${Y}, still there after 3 s" >"$out/window"
  ! command -v import >/dev/null || import -display "$DISPLAY" -window root "$out/window.png" 2>/dev/null || true
  xdotool mousemove --sync $((X + 268)) $((Y + 284)) click 1
}
close_window_when_shown &
closer=$!

step "logging in again: id, the clone, and in the copy: $(sed 's/ *#.*//' "$out/in-the-copy" "$out/install" |
  paste -sd ';' | sed 's/;/, /g')"
first=$((1 + $(wc -l <"$out/first-step")))
run_session "$first" "$out/second-login"
kill "$closer" 2>/dev/null || true
grep -q 'groups=.*(sudo)' "$out/$(printf %02d "$first").log" || fail "after logging in again, id lists no sudo group"
if grep -q '^make run' "$out/in-the-copy"; then
  [ -s "$out/window" ] || fail "make run ended, but no window showed"
  echo "make run: $(cat "$out/window"); closed by «Выход»"
fi
! grep -l 'unsandboxed' "$out"/[0-9][0-9].log || fail "apt noted that it read the package as root (above)"

readme_seconds=$SECONDS
if [ -n "$package" ]; then
  step "the package $(basename "$package") installed and played"
  install -d -m 755 "$root/var/tmp/package"
  install -m 644 "$package" "$root/var/tmp/package/"
  in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/var/tmp/package/$(basename "$package")" \
    >"$out/package.log" 2>&1 || { tail -n 20 "$out/package.log" >&2; fail "the package did not install (above)"; }
  "$repo/packaging/play-quiz.sh" chroot --userspec="$uid:$uid" "$root" \
    env HOME=/home/learner XDG_RUNTIME_DIR="/run/user/$uid" LANG=C.UTF-8 /usr/bin/tsifrolet
fi

step "done"
echo "The README's steps took a fresh Debian $release and an ordinary user to a window, a passing make test and the"
echo "program installed and removed, in $readme_seconds s${package:+; the package played after $((SECONDS - readme_seconds)) s more}."
