#!/usr/bin/env bash
# Starts the real program under Xvfb at 100 % and at 150 % scale with a sample page and saves a
# picture of its window for each: <out>/pelmar32-100.png and <out>/pelmar32-150.png. Checks that
# the window grows with the scale and that the page is shown in its syntax colours.
set -euo pipefail
exe="$1"
out="$2"
sample="$3"
XSERVER_TAG=screenshots
source "$(dirname "$0")/xserver.sh"
fail() { echo "screenshots: $*"; cat "$work/out.log" 2>/dev/null; exit 1; }
unset QT_SCALE_FACTOR QT_FONT_DPI
mkdir -p "$out" "$work/cwd"
cp "$sample" "$work/cwd/cafe.htm"
cd "$work/cwd"

declare -A width
for scale in 100 150; do
  export XDG_CONFIG_HOME="$work/config$scale"
  mkdir -p "$XDG_CONFIG_HOME"
  # 800 by 640 at the top left: the pointer, in the middle of the screen, rests on no button.
  printf '[Position]\r\nTop=0\r\nLeft=0\r\nWidth=800\r\nHeight=640\r\n' >"$XDG_CONFIG_HOME/PELMAR32.INI"
  QT_SCALE_FACTOR=$(awk "BEGIN { print $scale / 100 }") "$exe" "$work/cwd/cafe.htm" >"$work/out.log" 2>&1 &
  ppid=$!
  win=""
  for _ in $(seq 100); do
    win=$(xdotool search --name 'cafe\.htm' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window showing cafe.htm at $scale %"
  shot="$out/pelmar32-$scale.png"
  # Tags are drawn in blue and entities in red (smoothed at their edges): both must be on the
  # picture in quantity. A busy machine may still be painting: look again for a while.
  blue=0
  red=0
  for _ in $(seq 20); do
    sleep 0.5
    rm -f "$shot"
    import -window "$win" "$shot" 2>/dev/null || continue
    colours=$(convert "$shot" -depth 8 -format %c histogram:info:- |
      sed -n 's/^ *\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p')
    blue=$(echo "$colours" | awk '$4 >= 200 && $2 <= 90 && $3 <= 90 { n += $1 } END { print n + 0 }')
    red=$(echo "$colours" | awk '$2 >= 200 && $3 <= 90 && $4 <= 90 { n += $1 } END { print n + 0 }')
    [ "$blue" -gt 300 ] && [ "$red" -gt 100 ] && break
  done
  [ -f "$shot" ] || fail "no picture taken at $scale %"
  kill "$ppid"
  wait "$ppid" 2>/dev/null || true
  ppid=""
  width[$scale]=$(identify -format '%w' "$shot")
  height=$(identify -format '%h' "$shot")
  [ "${width[$scale]}" -gt 300 ] && [ "$height" -gt 200 ] || fail "a $scale % picture of ${width[$scale]}x$height"
  [ "$blue" -gt 300 ] || fail "hardly any blue tag text at $scale % ($blue pixels)"
  [ "$red" -gt 100 ] || fail "hardly any red entity text at $scale % ($red pixels)"
  echo "screenshots: $shot ${width[$scale]}x$height, $blue blue and $red red pixels"
done
# The 150 % window is half as wide again as the 100 % one.
ratio=$(awk "BEGIN { printf \"%d\", 100 * ${width[150]} / ${width[100]} }")
[ "$ratio" -ge 140 ] && [ "$ratio" -le 160 ] || fail "the 150 % window is $ratio % of the 100 % one"
