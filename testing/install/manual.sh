#!/bin/sh
# The manual page renders without a warning, and mandoc's lint finds
# nothing in it.
#   manual.sh PAGE
set -eu
. "$(dirname "$0")/common.sh"
page=$1
man --warnings -l "$page" > /dev/null 2> "$scratch/man" || fail "man failed: $(cat "$scratch/man")"
[ ! -s "$scratch/man" ] || { cat "$scratch/man"; fail "man --warnings"; }
mandoc -T lint "$page" > "$scratch/lint" 2>&1 || { cat "$scratch/lint"; fail "mandoc -T lint"; }
[ ! -s "$scratch/lint" ] || { cat "$scratch/lint"; fail "mandoc -T lint"; }
echo "1 passed, 0 failed"
