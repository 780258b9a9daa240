#!/bin/sh
# Starts the tests' desktop: an X server of their own on a free display, and
# the Wine prefix with a virtual desktop for all its processes; then keeps a
# Wine server running for the tests that follow. Wine.Stop ends both.
set -eu
. "$(dirname "$0")/common.sh"
sh "$(dirname "$0")/stop.sh" > /dev/null
mkdir -p "$WINEPREFIX" "$TARNWICK_DESKTOP" "$TARNWICK_WINE_TMP"
desktop=$TARNWICK_DESKTOP

# The X server's socket folder, if this run makes it, goes with the server.
[ -d /tmp/.X11-unix ] || touch "$desktop/made-socket-folder"

# -displayfd: the server picks a free display and writes its number when it
# is ready. Detached, and with nothing of the test's open, so that the test
# can end while it runs.
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$desktop/display.new" \
  < /dev/null > "$desktop/xvfb.log" 2>&1 &
echo $! > "$desktop/xvfb.pid"
has_number() { [ -s "$desktop/display.new" ]; }
wait_until 10 has_number || fail "Xvfb did not start: $(cat "$desktop/xvfb.log")"
DISPLAY=:$(tr -d '\n' < "$desktop/display.new")
export DISPLAY
answers() { xdpyinfo > /dev/null 2>&1; }
wait_until 10 answers || fail "Xvfb on $DISPLAY does not answer"

w wineboot -i < /dev/null > "$desktop/wine.log" 2>&1 || fail "wineboot"
# Every process of the prefix on one virtual desktop: a named one would hide
# its windows from the helper.
w reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >> "$desktop/wine.log" 2>&1 ||
  fail "reg add Desktop"
w reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
  >> "$desktop/wine.log" 2>&1 || fail "reg add Desktops"
server -k 2> /dev/null || true
server -w
# Persistent, so that each test does not pay for starting one; ended by
# Wine.Stop, or a while after the last client if that never runs.
server -p300 < /dev/null > /dev/null 2>&1 || fail "wineserver"
# The desktop's own process starts with the first program that needs it and
# keeps its standard handles: start it here, where they are files, so that no
# test's output pipe stays open behind it.
w cmd /c exit < /dev/null >> "$desktop/wine.log" 2>&1 || fail "the virtual desktop"
echo "$DISPLAY" > "$desktop/display"
rm -f "$desktop/display.new"
echo "1 passed, 0 failed"
