#!/bin/sh
# run.sh PROGRAM [ARGS...]: runs a Windows program under the tests' Wine, on
# their desktop, with a time limit. The cross-built unit tests run this way.
. "$(dirname "$0")/settings.sh"
mkdir -p "$TARNWICK_WINE_TMP"
TMPDIR=$TARNWICK_WINE_TMP exec timeout --kill-after=5 "${TARNWICK_WINE_TIMEOUT:-120}" wine "$@"
