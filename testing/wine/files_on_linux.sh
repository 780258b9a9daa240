#!/bin/sh
# The Windows program's four files, made through Wine's provider (with the
# proxy), pass the Linux build's OpenSSL checks.
#   files_on_linux.sh PROGRAM PROXY LINUX_BUILD
set -eu
. "$(dirname "$0")/common.sh"
need_linux_build "${3:-}"
run=$scratch/run
mkdir "$run"
cp "$1" "$2" "$run/"
(cd "$run" && WINEDLLOVERRIDES=$(proxied) w tarnwick.exe < /dev/null > "$scratch/out") ||
  fail "the program failed: $(cat "$scratch/out")"
"$3/check_key_files" "$run" || fail "the files fail the OpenSSL checks"
echo "1 passed, 0 failed"
