#!/bin/sh
# run.sh PROGRAM [ARGS...]: runs a Windows program under the tests' Wine, on
# their desktop, with a time limit. The cross-built unit tests run this way.
. "$(dirname "$0")/settings.sh"
TARNWICK_WINE_TIMEOUT=${TARNWICK_WINE_TIMEOUT:-120} w "$@"
