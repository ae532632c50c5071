# Sourced by the smoke tests: a work directory, a private X server and the clean-up of both.
# Sets work, xpid, ppid (the program, killed on exit when set) and DISPLAY; the caller's tag
# (XSERVER_TAG) starts its messages.
work=$(mktemp -d)
xpid=""
ppid=""
cleanup() {
  [ -n "$ppid" ] && kill "$ppid" 2>/dev/null || true
  # The server is gone, lock file and socket removed, before the next test starts one: one
  # still shutting down could remove the socket of a new server on the same display.
  if [ -n "$xpid" ]; then kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and reports its number, so runs side by side never share one;
# it does not reset when its last client goes, which would refuse the next program for a moment.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "$XSERVER_TAG: no X server"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "$XSERVER_TAG: the X server on $DISPLAY does not answer"; exit 1; }
unset QT_QPA_PLATFORM
