#!/bin/sh
# The program's console window: titled "Tarnwick", its top-left corner at
# (200, 400), topmost, its size unchanged. A console that nothing moves sits
# elsewhere, is not topmost and has that same size; activated, it stays
# below the program's window.
#   window.sh HELPER PROGRAM PROXY
set -eu
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/desktop.sh"

# Without the proxy the run ends at location 10 at once and waits: the window
# is all that matters here.
run_in_console "$run" tarnwick.exe
wait_for_text "Press any key"
helper window Tarnwick || fail "no window titled Tarnwick"
read -r left top right bottom topmost _ < "$scratch/answer"
[ "$left $top" = "200 400" ] || fail "the window is at ($left, $top), not (200, 400)"
[ "$topmost" = 1 ] || fail "the window is not topmost"

(cd "$run" && w wineconsole desktop_helper.exe hold Control 60 > /dev/null 2>&1) &
on_exit "w '$helper' close Control > /dev/null 2>&1"
has_control() { helper window Control; }
wait_until 30 has_control || fail "the control console did not open"
read -r cleft ctop cright cbottom ctopmost _ < "$scratch/answer"
[ "$cleft $ctop" != "200 400" ] || fail "the control console is at (200, 400) too"
[ "$ctopmost" = 0 ] || fail "the control console is topmost"
[ $((right - left)) -eq $((cright - cleft)) ] && [ $((bottom - top)) -eq $((cbottom - ctop)) ] ||
  fail "the window is $((right - left))x$((bottom - top)), a console $((cright - cleft))x$((cbottom - ctop))"

helper activate Control || fail "could not activate the control console"
sleep 0.5
helper above Tarnwick Control || fail "no z-order"
[ "$(tr -d '\r\n' < "$scratch/answer")" = 1 ] || fail "the activated console is above the window"

keys 1:0x74:0:0
wait_until 10 exited "$run" || fail "F5 did not end the wait"
[ "$(status_of "$run")" = 1 ] || fail "exit status $(status_of "$run"), expected 1 after location 10"
echo "1 passed, 0 failed"
