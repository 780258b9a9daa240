#!/bin/sh
# The real program end to end under valgrind's memcheck: no invalid access, no
# use of uninitialised memory, no leak it owns; and its four files written.
set -eu
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
(cd "$dir" && valgrind --quiet --error-exitcode=99 --leak-check=full \
   --errors-for-leak-kinds=definite,indirect --track-origins=yes \
   "$program" < /dev/null > "$dir/report") || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status under memcheck" >&2; exit 1; }
for file in RSAPublicKey.dat RSAPrivateKey.dat ECDSAPublicKey.dat ECDSAPrivateKey.dat; do
  [ -s "$dir/$file" ] || { echo "FAIL: $file not written" >&2; exit 1; }
done
echo "1 passed, 0 failed"
