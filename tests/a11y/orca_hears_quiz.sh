#!/usr/bin/env bash
# Plays a quiz by keyboard and mouse while the Orca screen reader listens,
# and checks what Orca said: the problem with both factors, the verdict, the
# new error count after an error, and at the end the closing message, in the
# words every front end's tests expect (tests/support/learner_sees.tsv).
#
#   tests/a11y/orca_hears_quiz.sh PROGRAM
#
# Everything runs privately and is stopped afterwards: a virtual X server with
# the openbox window manager (without one the window never gets the focus and
# Orca stays silent), a D-Bus session bus with its accessibility bus, and a
# speech server whose sound goes to ALSA's null device. Orca writes its debug
# log to a pseudo-terminal, since written to a file it lags behind; what it
# spoke is on the lines with "SPEECH OUTPUT".
set -euo pipefail

program=$(realpath "$1")
learner_sees=$(dirname "$0")/../support/learner_sees.tsv
source "$(dirname "$0")/../support/private_session.sh" orca
export LANG=C.UTF-8 LC_ALL=C.UTF-8 NO_AT_BRIDGE=0 GTK_MODULES=

# Sound to nowhere.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"

start_x_server 1024x768

start_session_bus

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
wait_for_start "the accessibility bus" $! "$work/at-spi.log" dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
  org.a11y.Bus.GetAddress
# What a desktop does when the user switches the screen reader on.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
  string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:true >/dev/null

mkdir -p "$work/speechd/modules" "$work/speechd-log"
cp /etc/speech-dispatcher/modules/espeak-ng.conf "$work/speechd/modules/"
cat >"$work/speechd/speechd.conf" <<CONF
LogLevel 3
LogDir "$work/speechd-log"
AudioOutputMethod "alsa"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "ru"
CONF
speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" \
  --communication-method unix_socket --socket-path "$work/speechd.sock" >"$work/speechd.log" 2>&1 &
speechd_pid=$!
export SPEECHD_ADDRESS=unix_socket:$work/speechd.sock
wait_for_start "the speech server" $speechd_pid "$work/speechd.log" test -S "$work/speechd.sock"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wait_for_start "openbox" $! "$work/openbox.log" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

# script(1) keeps its stdin open for as long as Orca runs.
orca_log=$work/orca.log
mkfifo "$work/orca-stdin"
sleep infinity >"$work/orca-stdin" &
script -qfe -c "orca --replace --user-prefs '$work/orca-prefs' --debug-file /dev/tty" "$orca_log" \
  <"$work/orca-stdin" >/dev/null 2>&1 &
orca_pid=$!
mkdir -p "$work/orca-prefs"

# A notification is read as one utterance, "notification" and its message,
# up to Orca 43, and as two from Orca 48: one line here either way.
spoken() {
  grep -a 'SPEECH OUTPUT' "$orca_log" 2>/dev/null | grep -av "SPEECH OUTPUT: ''" | tr -d '\r' |
    awk "/SPEECH OUTPUT: 'notification' / { held = 1; next }
      held { sub(/SPEECH OUTPUT: '/, \"&notification \"); held = 0 }
      { print }" || true
}

# What Orca said since the last key press, one utterance a line.
said_before=0
new_speech() { spoken | tail -n +$((said_before + 1)); }
said() { new_speech | grep -Eq "$1"; }

# hear PATTERN WHAT: waits until Orca has said something that matches
# PATTERN, an extended regular expression; if it does not, the check fails
# with all that Orca did say.
hear() {
  if ! wait_for "Orca to say $2" said "$1"; then
    echo "Orca did not say $2 (/$1/). All it said:" >&2
    spoken >&2
    # Orca's whole debug log, for a closer look.
    [ -z "${ORCA_DEBUG_LOG:-}" ] || cp "$orca_log" "$ORCA_DEBUG_LOG"
    exit 1
  fi
  [ -z "${ORCA_SHOW_SPEECH:-}" ] || echo "Heard $2: $(new_speech | grep -E "$1" | head -n 1)"
}

# phrase KEY: what the learner must hear, from the shared description.
phrase() { awk -F'\t' -v key="$1" '$1 == key { print $2 }' "$learner_sees"; }
# heard KEY [FIRST SECOND ERRORS]: the phrase as an extended regular
# expression, with the numbers given, or any.
heard() {
  phrase "$1" | sed -e 's/[.?]/\\&/g' -e "s/{first}/${2:-[2-9]}/; s/{second}/${3:-[2-9]}/; s/{errors}/${4:-[0-9]+}/"
}

# Keys that reach the program while Orca is still busy reading it can be
# lost: each step waits for the last thing Orca says of the one before (a
# button's description, the echo of the last key typed, the verdict) before
# the next key. mark starts what the next step hears.
mark() { said_before=$(spoken | wc -l); }

# press KEY...: keys as the learner types them.
press() {
  mark
  xdotool key --delay 50 "$@"
}
type_text() {
  mark
  xdotool type --delay 50 "$1"
  # Echoed with a space after it up to Orca 43, without from Orca 48.
  hear "OUTPUT: '${1: -1} ?'" "the echo of the last key typed"
}
# A button's role as Orca names it: "push button" up to Orca 43 (Debian 12),
# "button" in Orca 48 (Debian 13).
orca_major=$(dpkg-query -W -f='${Version}' orca 2>/dev/null | cut -d. -f1)
button=$([ "${orca_major:-0}" -ge 48 ] && echo button || echo "push button")
# Orca 48 keeps what it last said of an object's description for 2 s, so a
# field read again sooner is read with the description it had: the problem
# is asked for after that, as a learner who listens to the button asks.
settle_description() { [ "${orca_major:-0}" -lt 48 ] || sleep 2.5; }
# tab_to BUTTON DESCRIPTION: Tab to the next button, read out in full.
tab_to() {
  press Tab
  hear "$1 $button" "the button «$1»"
  hear "$2" "the button's description"
}

wait_for_start "Orca" $orca_pid "$orca_log" grep -aq 'SPEECH OUTPUT' "$orca_log"
mark
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
hear 'Цифролёт' 'the window'
hear 'Ответ' 'the answer field, focused at start'
# Keys pressed before the window has the X input focus would go astray.
window=$(xdotool search --onlyvisible --pid "$program_pid" | head -n 1)
window_focused() { [ "$(xdotool getwindowfocus)" = "$window" ]; }
wait_for "the window to have the keyboard focus" window_focused

# Tab to "Пример". Now and then the very first key after start-up does not
# reach the window (Orca echoes it, the focus stays); it is pressed once more
# then, with a note, so that the check is about the quiz, not about start-up.
press Tab
if ! step_timeout=5 wait_for 'Orca to say "Пример"' said "Пример $button"; then
  echo "The first Tab was lost; pressing it again."
  press Tab
  hear "Пример $button" 'the button "Пример"'
fi
hear 'следующий пример' 'the button'"'"'s description'

# "Пример": a problem with both factors.
settle_description
press space
problem=$(heard said.problem '([2-9])' '([2-9])')
# The factors as Orca read them, or nought when it did not.
read_factors() {
  local factors
  factors=$(new_speech | grep -Eo "$problem" | head -n 1 | grep -Eo '[2-9]' | tr '\n' ' ' || true)
  read -r first second <<<"${factors:-0 0}"
}
hear "$problem" 'the first problem'
read_factors

# A right answer, then "Да": the verdict, and the caret back in the field.
type_text $((first * second))
tab_to Пример 'следующий пример'
tab_to Да 'проверить ответ'
press space
hear "$(heard said.right)" 'the verdict on a right answer'
hear 'Ответ' 'the answer field, the caret back in it'

# The next problem, a wrong answer, "Да": the verdict and the new count.
tab_to Пример 'следующий пример'
settle_description
press space
hear "$problem" 'the second problem'
read_factors
type_text $((first * second + 1))
tab_to Пример 'следующий пример'
tab_to Да 'проверить ответ'
press space
hear "$(heard said.wrong '' '' 1)" 'the verdict on a wrong answer and the new error count'

# On by mouse: the focus stays in the field, so the problem is announced;
# left unanswered, the next one comes with the error it cost.
click_next() {
  mark
  # The middle of "Пример", in the window's own pixels.
  xdotool mousemove --window "$window" 268 228 click 1
}
click_next
hear "notification $problem" 'the third problem, clicked'
click_next
hear "notification $(heard said.problem.after.penalty '' '' 2)" 'the fourth problem and the error it cost'

# On to the end: sixteen more problems left unanswered, then the closing
# message, read out as the window of its own that it is.
for _ in $(seq 16); do
  click_next
  hear "notification $(heard said.problem.after.penalty)" 'the next problem'
done
click_next
hear "$(phrase closing.title)" 'the closing message'"'"'s title'
hear "$(phrase closing.many)" 'the closing message'
# Once: with the box, as its description, and not again as a stray label.
hear "$(phrase closing.ok) $button" "the closing message's button"
if [ "$(new_speech | grep -Ec "$(phrase closing.many)")" -ne 1 ]; then
  echo "Orca read the closing message more than once:" >&2
  new_speech >&2
  exit 1
fi

echo "Orca spoke the problems, the verdicts, the error counts and the closing message."
[ -z "${ORCA_SHOW_SPEECH:-}" ] || spoken
