#!/usr/bin/env bash
# Starts the real program under Xvfb, drives it with keys as a user would, closes it through
# File > Exit and checks the settings file it wrote.
set -euo pipefail
exe="$1"
XSERVER_TAG=smoke
source "$(dirname "$0")/xserver.sh"
export XDG_CONFIG_HOME="$work/config"
# Recovery copies and preview lists of the runs stay inside the test too.
export XDG_STATE_HOME="$work/state"
mkdir -p "$XDG_CONFIG_HOME" "$work/cwd"
ini="$XDG_CONFIG_HOME/PELMAR32.INI"
cd "$work/cwd"

fail() { echo "smoke: $*"; cat "$work/out.log" 2>/dev/null; [ -f "$ini" ] && { echo "--- $ini"; cat "$ini"; }; exit 1; }

start() {
  "$exe" "$@" >"$work/out.log" 2>&1 &
  ppid=$!
  win=""
  for _ in $(seq 300); do
    win=$(xdotool search --name '^Pelmar32' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || fail "no Pelmar32 window"
  sleep 0.5
  xdotool windowfocus --sync "$win" 2>/dev/null || true
}

keys() {  # a menu accelerator, then the item's letter
  xdotool key --clearmodifiers "$1"
  sleep 0.4
  xdotool key "$2"
  sleep 0.4
}

exit_by_menu() {
  keys alt+f x
  # A sanitizer build on a busy machine takes its time to shut down.
  for _ in $(seq 300); do kill -0 "$ppid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$ppid" 2>/dev/null && fail "program did not exit"
  wait "$ppid" || fail "program exited with an error: $(cat "$work/out.log")"
  ppid=""
}

# 1. A first start without any settings file, then File > Exit.
start
[ -f "$ini" ] && fail "settings file written at start-up"
exit_by_menu
[ -f "$ini" ] || fail "no settings file after exit"
grep -q '^\[Setup\]' "$ini" || fail "no Setup section"
grep -q '^Maximize=0' "$ini" || fail "no Maximize key"
for key in Top Left Width Height; do
  grep -q "^$key=-\?[0-9]\+" "$ini" || fail "no Position key $key"
done
grep -q '^\[Recent Files\]' "$ini" && fail "a Recent Files section without recent files"

# 2. Options > Extended Characters SpeedBar hides the bar and stores the choice at once.
start
keys alt+p e
grep -q '^DisplayExtendedSpeedBar=0' "$ini" || fail "the toggle did not write its key"
exit_by_menu
grep -q '^DisplayExtendedSpeedBar=0' "$ini" || fail "the key was lost at exit"

# 3. A file named on the command line: type a word, select it, Ctrl+B, Ctrl+S.
printf 'first line\r\n' >"$work/cwd/page.htm"
start "$work/cwd/page.htm"
for _ in $(seq 50); do
  xdotool search --name 'page\.htm' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 0.5
xdotool type --delay 50 word
sleep 0.3
xdotool key --clearmodifiers shift+Home
sleep 0.3
xdotool key --clearmodifiers ctrl+b
sleep 0.3
xdotool key --clearmodifiers ctrl+s
sleep 0.5
expected=$(printf '<B>word</B>first line\r\n' | od -An -c)
actual=$(od -An -c "$work/cwd/page.htm")
[ "$actual" = "$expected" ] || fail "saved bytes differ: $actual"
exit_by_menu

# 3. A hand-edited settings file: garbage lines and bytes, hexadecimal and non-numeric values,
#    a left edge past any number. It starts, and the rectangle written back fits.
printf '%s\n' 'garbage without equals' '[Setup' 'Maximize=abc' '[Position]' 'Top=0x10' \
  'Left=99999999999' 'Width=0x320' 'Height=0x258' '[Recent Files]' '1=' > "$ini"
printf '\001\377\000junk=\n[Syntax Highlighting]\nElementColor=77\n' >> "$ini"
start
exit_by_menu
grep -q '^Top=16$' "$ini" || fail "hexadecimal Top not kept"
grep -q '^Height=600$' "$ini" || fail "hexadecimal Height not kept"
width=$(sed -n 's/^Width=//p' "$ini")
[ "$width" -gt 0 ] && [ "$width" -le 1280 ] || fail "unusable width $width written back"
grep -q '^\[Recent Files\]' "$ini" && fail "an empty Recent Files section kept"

# 4. Typed text survives kill -9: with a copy every second, the copy beside the file holds it;
#    the next start asks, Yes brings the text back as unsaved changes, Ctrl+S saves it.
printf '[Setup]\r\nRecoverySeconds=1\r\nDocOptionsDlg=0\r\n' > "$ini"
printf 'kept\n' >"$work/cwd/crash.htm"
start "$work/cwd/crash.htm"
sleep 0.5
xdotool type --delay 50 typed
# The copy is written within a second or so of the typing; a loaded machine may take longer.
for _ in $(seq 150); do
  [ "$(cat "$work/cwd/crash.\$\$\$" 2>/dev/null)" = "typedkept" ] && break
  sleep 0.1
done
kill -9 "$ppid"; wait "$ppid" 2>/dev/null || true; ppid=""
[ "$(cat "$work/cwd/crash.\$\$\$" 2>/dev/null)" = "typedkept" ] || fail "no recovery copy after kill -9"
[ "$(cat "$work/cwd/crash.htm")" = "kept" ] || fail "the file changed before a save"
start "$work/cwd/crash.htm"
for _ in $(seq 50); do
  box=$(xdotool search --name '^Confirm$' 2>/dev/null | head -n1 || true)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no recovery question"
xdotool windowfocus --sync "$box" 2>/dev/null || true
sleep 0.3
xdotool key y
sleep 0.5
# No window manager hands the focus back after the box closes.
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.8
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 50); do
  [ "$(cat "$work/cwd/crash.htm")" = "typedkept" ] && break
  sleep 0.1
done
[ "$(cat "$work/cwd/crash.htm")" = "typedkept" ] || fail "the recovered text was not saved: $(cat "$work/cwd/crash.htm")"
[ -e "$work/cwd/crash.\$\$\$" ] && fail "the copy stayed after the save"

# 5. SIGTERM with a modified file and a modified untitled document: both copied, exit status 0.
start "$work/cwd/crash.htm"
sleep 0.5
xdotool type --delay 50 more
sleep 1
xdotool key --clearmodifiers ctrl+n
sleep 1.5
xdotool type --delay 50 draft
# Typed keys are handled before the signal only once they have reached the program.
sleep 1.5
kill -TERM "$ppid"
status=0; wait "$ppid" || status=$?; ppid=""
[ "$status" = 0 ] || fail "exit status $status after SIGTERM"
[ "$(cat "$work/cwd/crash.\$\$\$" 2>/dev/null)" = "moretypedkept" ] || fail "no copy of the file after SIGTERM"
ls "$work/state/pelmar32/recovery/"untitled.*.'$$$' >/dev/null 2>&1 || fail "no copy of the untitled document"
[ "$(cat "$work/state/pelmar32/recovery/"untitled.*.'$$$' | tr -d '\r')" = "draft" ] || fail "untitled copy differs"

echo "smoke: window appeared, bar toggle stored, file opened from the command line, word made bold and saved, closed through File > Exit, settings written, typing recovered after kill -9, copies written on SIGTERM"
