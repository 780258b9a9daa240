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
success_report > "$scratch/expected"
diff "$scratch/expected" "$scratch/screen" || fail "the screen"
expect_key_files "$run"
keys 1:0x74:0:0
wait_until 10 exited "$run" || fail "F5 did not end the wait"
[ "$(status_of "$run")" = 0 ] || fail "exit status $(status_of "$run"), expected 0"
echo "1 passed, 0 failed"
