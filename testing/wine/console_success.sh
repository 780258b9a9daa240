#!/bin/sh
# The success path in a console window (with the proxy): the screen shows
# the report's lines in order, the four files are there, and F5 ends the run
# with status 0.
#   console_success.sh HELPER PROGRAM PROXY
set -eu
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/desktop.sh"
with_proxy

run_in_console "$run" tarnwick.exe
wait_for_text "Press any key"
helper screen "$pid" || fail "no screen"
tr -d '\r' < "$scratch/answer" | sed 's/^Time taken: [0-9][0-9]*ms$/Time taken: Nms/' > "$scratch/screen"
printf '%s\n' "Please wait" "" "RSA public key generated" "" "RSA private key generated" "" \
  "ECDSA public key generated" "" "ECDSA private key generated" "" "Time taken: Nms" "" \
  "Press any key" > "$scratch/expected"
diff "$scratch/expected" "$scratch/screen" || fail "the screen"
for file in RSAPublicKey.dat:411 RSAPrivateKey.dat:795 ECDSAPublicKey.dat:72 ECDSAPrivateKey.dat:104; do
  [ "$(wc -c < "$run/${file%%:*}")" -eq "${file##*:}" ] || fail "${file%%:*}"
done
keys 1:0x74:0:0
wait_until 10 exited "$run" || fail "F5 did not end the wait"
[ "$(status_of "$run")" = 0 ] || fail "exit status $(status_of "$run"), expected 0"
echo "1 passed, 0 failed"
