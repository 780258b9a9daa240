#!/bin/sh
# The Windows program under Wine in a real terminal (tmux): the title reaches
# the terminal, the wait goes on while no key is pressed, and F5 ends it.
set -eu
. "$(dirname "$0")/common.sh"
program=$1
# A tmux server of the test's own, on a socket in its scratch folder.
tmux_() { tmux -f /dev/null -S "$scratch/tmux.socket" "$@"; }
on_exit "tmux_ kill-server 2> /dev/null"

mkdir "$scratch/run"
tmux_ new-session -d -x 100 -y 30 -c "$scratch/run" \
  "TMPDIR='$TARNWICK_WINE_TMP' timeout --foreground 120 wine '$program'; echo \$? > '$scratch/status'; exec sleep 120"
shows() { tmux_ capture-pane -p | grep -q "$1"; }

wait_until 90 shows "Press any key" || { tmux_ capture-pane -p; fail "no prompt"; }
title=$(tmux_ display-message -p '#{pane_title}')
[ "$title" = "Tarnwick" ] || fail "title is '$title'"
sleep 1
[ ! -e "$scratch/status" ] || fail "the wait ended without a key"
tmux_ send-keys F5
exited() { [ -s "$scratch/status" ]; }
wait_until 10 exited || fail "F5 did not end the wait"
echo "1 passed, 0 failed"
