#!/bin/sh
# Ctrl+C, as the console queues it (virtual key C, character 3, left Ctrl),
# during the wait: the system's default handling ends the process, without
# the program's normal exit. Under Wine that handling exits with status 0,
# where Windows gives C000013A; the program's normal exit here is 1, after
# location 10.
#   ctrl_c.sh HELPER PROGRAM PROXY
set -eu
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/desktop.sh"

run_in_console "$run" tarnwick.exe
wait_for_text "Press any key"
keys 1:0x43:3:0x08
wait_until 10 exited "$run" || fail "Ctrl+C did not end the process"
[ "$(status_of "$run")" != 1 ] || fail "the wait ended normally: Ctrl+C was taken as a key"
echo "1 passed, 0 failed"
