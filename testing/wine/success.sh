#!/bin/sh
# The program's success path under Wine, with standard output redirected: the
# proxy passes its calls on to Wine's provider. The transcript is exactly the
# report, the exit status 0, the four files of their sizes, and they import,
# sign and verify under Wine's provider. Without the override that loads the
# proxy, the same folder gives the failure at location 10: the proxy is what
# makes the difference. The proxy holds each finalize for 250 ms, so that the
# time reported must be at least 500 ms: the clock is read across the run.
#   success.sh PROGRAM PROXY INTERCHANGE
set -eu
. "$(dirname "$0")/common.sh"
run=$scratch/run
mkdir "$run"
cp "$1" "$2" "$run/"
interchange=$3
printf 'former content, longer than the public key blob that replaces it' > "$run/ECDSAPublicKey.dat"

status=0
(cd "$run" && WINEDLLOVERRIDES=$(proxied) TARNWICK_PROXY_HOLD_FINALIZE_MS=250 \
   w tarnwick.exe < /dev/null > "$scratch/out") || status=$?
[ "$status" -eq 0 ] || { cat "$scratch/out"; fail "exit status $status, expected 0"; }
sed 's/^Time taken: [0-9][0-9]*ms\r$/Time taken: Nms\r/' "$scratch/out" > "$scratch/masked"
success_report | crlf > "$scratch/expected"
cmp "$scratch/expected" "$scratch/masked" || { od -c "$scratch/out"; fail "transcript"; }
milliseconds=$(sed -n 's/^Time taken: \([0-9]*\)ms\r$/\1/p' "$scratch/out")
[ "$milliseconds" -ge 500 ] && [ "$milliseconds" -lt 60000 ] ||
  fail "the time taken is ${milliseconds}ms; finalize alone was held for 500 ms"
expect_key_files "$run"
w "$interchange" import "$(windows_path "$run")" > "$scratch/import" 2>&1 ||
  { cat "$scratch/import"; fail "Wine's provider rejects the files"; }

status=0
(cd "$run" && w tarnwick.exe < /dev/null > "$scratch/out") || status=$?
refused_report | crlf > "$scratch/expected"
cmp "$scratch/expected" "$scratch/out" || fail "without the override the proxy was loaded all the same"
[ "$status" -eq 1 ] || fail "exit status $status without the proxy, expected 1"
echo "1 passed, 0 failed"
