# Wine's settings for the tests: the prefix, the folder for the Wine server's
# socket (Wine puts it in $TMPDIR, which would leave it in /tmp), and the X
# display of the test desktop once Wine.Start has started it. Every Wine
# command of the tests runs with TMPDIR=$TARNWICK_WINE_TMP, or it would not
# find the server.

: "${WINEPREFIX:=$HOME/.wine-tarnwick}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
: "${TARNWICK_DESKTOP:=$WINEPREFIX.desktop}"
: "${TARNWICK_WINE_TMP:=$WINEPREFIX.tmp}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES TARNWICK_DESKTOP TARNWICK_WINE_TMP

if [ -s "$TARNWICK_DESKTOP/display" ]; then
  DISPLAY=$(cat "$TARNWICK_DESKTOP/display")
  export DISPLAY
fi
