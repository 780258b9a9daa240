#!/bin/sh
# The Windows program under Wine with standard output redirected to a file and
# standard input from the null device. Wine's provider refuses the empty
# implementation name with STATUS_NOT_IMPLEMENTED, so the run ends at location
# 10: the report names it, no key file is touched, and the exit status is 1.
set -eu
. "$(dirname "$0")/common.sh"
program=$1

mkdir "$scratch/run"
printf 'former content' > "$scratch/run/RSAPublicKey.dat"
status=0
(cd "$scratch/run" && w "$program" < /dev/null > "$scratch/out") || status=$?

refused_report | crlf > "$scratch/expected"
cmp "$scratch/out" "$scratch/expected" || { od -c "$scratch/out"; fail "transcript"; }
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
[ "$(cat "$scratch/run/RSAPublicKey.dat")" = "former content" ] || fail "key file touched"
[ "$(ls "$scratch/run")" = "RSAPublicKey.dat" ] || fail "files created: $(ls "$scratch/run")"
echo "1 passed, 0 failed"
