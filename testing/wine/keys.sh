#!/bin/sh
# Which console input records end the wait, written to the program's console
# as the keyboard would queue them: one run per record that counts, and one
# run in which none of the others ends it.
#   keys.sh HELPER PROGRAM PROXY
set -eu
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/desktop.sh"

# DOWN:VK:CHAR:STATE. State bits: 0x10 Shift, 0x08 left Ctrl, 0x02 left Alt,
# 0x80 Caps Lock on, 0x20 Num Lock on, 0x100 a key of the separate block.
counting="
letter:1:0x51:0x71:0
Enter:1:0x0D:0x0D:0
Escape:1:0x1B:0x1B:0
Space:1:0x20:0x20:0
F1:1:0x70:0:0
F12:1:0x7B:0:0
Left-arrow:1:0x25:0:0x100
Delete:1:0x2E:0:0x100
Shift+Home-of-the-separate-block:1:0x24:0:0x110
keypad-Home-Num-Lock-off:1:0x24:0:0
"
not_counting="1:0x10:0:0x10 0:0x10:0:0 1:0x11:0:0x08 0:0x11:0:0 1:0x12:0:0x02 0:0x12:0:0
1:0x14:0:0x80 0:0x14:0:0x80 1:0x90:0:0x20 0:0x90:0:0x20 0:0x51:0x71:0 1:0x24:0:0x10"

# Without the proxy each run ends at location 10 at once and waits; its
# normal exit status is 1.
start() {
  run_in_console "$run" tarnwick.exe
  wait_for_text "Press any key"
}

for entry in $counting; do
  what=${entry%%:*}
  record=${entry#*:}
  start
  keys "$record"
  wait_until 10 exited "$run" || fail "$what ($record) did not end the wait"
  [ "$(status_of "$run")" = 1 ] || fail "$what: exit status $(status_of "$run"), expected 1"
done

start
# shellcheck disable=SC2086
keys $not_counting
sleep 0.6
! exited "$run" || fail "a record that does not count ended the wait"
helper pid tarnwick.exe || fail "the program is gone"
keys 1:0x74:0:0 0:0x74:0:0
wait_until 10 exited "$run" || fail "F5 did not end the wait after the others"
[ "$(status_of "$run")" = 1 ] || fail "exit status $(status_of "$run"), expected 1"
echo "1 passed, 0 failed"
