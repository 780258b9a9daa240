#!/bin/sh
# Prepares the Wine prefix and keeps a Wine server running for the tests that
# follow (for a minute after the last of them), so that each does not pay for
# starting one.
set -eu
. "$(dirname "$0")/common.sh"
mkdir -p "$WINEPREFIX"
wineserver -k 2> /dev/null || true
wineserver -w 2> /dev/null || true
wineserver -p60 < /dev/null > /dev/null 2>&1 || fail "wineserver"
wineboot -i < /dev/null > /dev/null 2>&1 || fail "wineboot"
echo "1 passed, 0 failed"
