#!/usr/bin/env bash
# Starts the real program under Xvfb, waits for its window, closes it and checks what it wrote.
set -euo pipefail
exe="$1"
work=$(mktemp -d)
trap 'kill $xpid 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME" "$work/cwd"
disp=:$((90 + RANDOM % 400))
Xvfb "$disp" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
export DISPLAY=$disp
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
unset QT_QPA_PLATFORM
cd "$work/cwd"
"$exe" &
ppid=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --name '^Pelmar32' 2>/dev/null | head -n1 || true)
  [ -n "$win" ] && break
  sleep 0.1
done
if [ -z "$win" ]; then echo "smoke: no Pelmar32 window"; kill $ppid; exit 1; fi
sleep 0.5
xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key x
for _ in $(seq 100); do kill -0 $ppid 2>/dev/null || break; sleep 0.1; done
if kill -0 $ppid 2>/dev/null; then echo "smoke: program did not exit"; kill $ppid; exit 1; fi
wait $ppid
echo "smoke: window appeared and closed"
