#!/bin/sh
# The Windows program asked for help (/?, -h, --help) or its version, in a
# folder that holds key files: it prints the text alone, with the platform's
# line ends, exits 0, and the files stay as they were.
#   help.sh PROGRAM VERSION
set -eu
. "$(dirname "$0")/common.sh"
run=$scratch/run
mkdir "$run"
cp "$1" "$run/"
for file in RSAPublicKey.dat RSAPrivateKey.dat ECDSAPublicKey.dat ECDSAPrivateKey.dat; do
  printf 'former %s' "$file" > "$run/$file"
done
ls -l "$run" > "$scratch/before"

ask() {
  status=0
  (cd "$run" && w tarnwick.exe "$@" < /dev/null > "$scratch/out") || status=$?
  [ "$status" -eq 0 ] || fail "$*: exit status $status"
}
for option in /? -h --help; do
  ask "$option"
  first=$(head -n 1 "$scratch/out" | tr -d '\r')
  [ "$first" = "Usage: tarnwick [/? | -h | --help | --version]" ] || fail "$option: $first"
  grep -q 'Exit status: 0' "$scratch/out" || fail "$option: no exit statuses"
done
ask --version
printf 'tarnwick %s\r\n' "$2" > "$scratch/expected"
cmp "$scratch/expected" "$scratch/out" || { od -c "$scratch/out"; fail "--version"; }
ls -l "$run" > "$scratch/after"
diff "$scratch/before" "$scratch/after" > /dev/null || fail "files changed"
for file in RSAPublicKey.dat RSAPrivateKey.dat ECDSAPublicKey.dat ECDSAPrivateKey.dat; do
  [ "$(cat "$run/$file")" = "former $file" ] || fail "$file changed"
done
echo "1 passed, 0 failed"
