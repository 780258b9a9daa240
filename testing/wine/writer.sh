#!/bin/sh
# The Windows file writer on real files, with the proxy: an existing file
# longer than its blob is replaced; one with the read-only attribute keeps
# its bytes and is reported, and the exit status is 1. Wine keeps that
# attribute as Unix permission bits, which root passes: as root, the run is
# made as an unprivileged user, with a Wine prefix of its own.
#   writer.sh PROGRAM PROXY
set -eu
. "$(dirname "$0")/common.sh"
run=$scratch/run
mkdir "$run"
cp "$1" "$2" "$run/"
head -c 3000 /dev/zero | tr '\0' 'x' > "$run/RSAPrivateKey.dat"
printf 'read-only' > "$run/ECDSAPublicKey.dat"
chmod 0444 "$run/ECDSAPublicKey.dat"   # what Wine shows as the read-only attribute

as_user() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  chmod 0755 "$scratch"
  chown -R nobody:nogroup "$run"
  WINEPREFIX=$scratch/prefix
  mkdir "$WINEPREFIX"
  chown nobody:nogroup "$WINEPREFIX"
  unset DISPLAY
  TARNWICK_WINE_TMP=$scratch/server
  mkdir "$TARNWICK_WINE_TMP"
  chown nobody:nogroup "$TARNWICK_WINE_TMP"
  as_user() {
    runuser -u nobody -- env HOME="$scratch" WINEPREFIX="$WINEPREFIX" TMPDIR="$TARNWICK_WINE_TMP" "$@"
  }
  on_exit "as_user wineserver -k 2> /dev/null; as_user wineserver -w 2> /dev/null"
  TARNWICK_WINE_TIMEOUT=180 as_user timeout 180 wineboot -i > "$scratch/boot.log" 2>&1 ||
    { cat "$scratch/boot.log"; fail "wineboot as nobody"; }
fi

status=0
(cd "$run" && as_user env WINEDLLOVERRIDES="$(proxied)" TMPDIR="$TARNWICK_WINE_TMP" timeout 60 wine tarnwick.exe \
   < /dev/null > "$scratch/out") || status=$?
tr -d '\r' < "$scratch/out" > "$scratch/report"
grep -q "^Could not write ECDSAPublicKey.dat: " "$scratch/report" ||
  { cat "$scratch/report"; fail "the read-only file is not reported"; }
[ "$(grep -c "^Could not write" "$scratch/report")" -eq 1 ] ||
  { cat "$scratch/report"; fail "other files are reported"; }
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
[ "$(cat "$run/ECDSAPublicKey.dat")" = "read-only" ] || fail "the read-only file was changed"
[ "$(wc -c < "$run/RSAPrivateKey.dat")" -eq 795 ] || fail "the longer file was not replaced"
sed -n 's/^Could not write ECDSAPublicKey.dat: //p' "$scratch/report"
echo "1 passed, 0 failed"
