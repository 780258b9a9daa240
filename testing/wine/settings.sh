# Wine's settings for the tests: the prefix, and the X display of the test
# desktop once Wine.Start has started it.

: "${WINEPREFIX:=$HOME/.wine-tarnwick}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
: "${TARNWICK_DESKTOP:=$WINEPREFIX.desktop}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES TARNWICK_DESKTOP

if [ -s "$TARNWICK_DESKTOP/display" ]; then
  DISPLAY=$(cat "$TARNWICK_DESKTOP/display")
  export DISPLAY
fi
