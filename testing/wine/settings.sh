# Wine's settings for the tests: the prefix, the folder for the Wine server's
# socket (Wine puts it in $TMPDIR, which would leave it in /tmp), the X
# display of the test desktop once Wine.Start has started it, and the two
# commands every Wine call goes through: with TMPDIR=$TARNWICK_WINE_TMP, or
# it would not find the server.

: "${WINEPREFIX:=$HOME/.wine-tarnwick}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
: "${TARNWICK_DESKTOP:=$WINEPREFIX.desktop}"
: "${TARNWICK_WINE_TMP:=$WINEPREFIX.tmp}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES TARNWICK_DESKTOP TARNWICK_WINE_TMP

# w COMMAND...: a Wine command with a time limit.
w() {
  mkdir -p "$TARNWICK_WINE_TMP"
  TMPDIR=$TARNWICK_WINE_TMP timeout --kill-after=5 "${TARNWICK_WINE_TIMEOUT:-60}" wine "$@"
}

# server ARGS...: the prefix's Wine server.
server() {
  TMPDIR=$TARNWICK_WINE_TMP wineserver "$@"
}

if [ -s "$TARNWICK_DESKTOP/display" ]; then
  DISPLAY=$(cat "$TARNWICK_DESKTOP/display")
  export DISPLAY
fi
