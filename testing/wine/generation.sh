#!/bin/sh
# Input while the keys are being made (the proxy holds finalize): a key
# typed then ends the wait as soon as it begins; Ctrl+C then ends the
# process before any key file is written or "Press any key" shown.
#   generation.sh HELPER PROGRAM PROXY
set -eu
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/desktop.sh"
with_proxy
TARNWICK_PROXY_HOLD_FINALIZE_MS=3000
export TARNWICK_PROXY_HOLD_FINALIZE_MS

during_generation() {
  run_in_console "$run" tarnwick.exe
  wait_for_text "Please wait"
  ! shows "Press any key" || fail "generation ended before the key could be typed"
}

# A key: nothing more is typed, so the run can end only if it counted.
during_generation
keys 1:0x51:0x71:0 0:0x51:0x71:0
wait_until 60 exited "$run" || fail "the key typed during generation did not end the wait"
[ "$(status_of "$run")" = 0 ] || fail "exit status $(status_of "$run"), expected 0"
[ "$(wc -c < "$run/ECDSAPrivateKey.dat")" -eq 104 ] || fail "the run did not finish"

rm -f "$run"/*.dat
during_generation
keys 1:0x43:3:0x08
wait_until 10 exited "$run" || fail "Ctrl+C did not end the process"
[ ! -e "$run/RSAPublicKey.dat" ] || fail "the run went on after Ctrl+C"
echo "1 passed, 0 failed"
