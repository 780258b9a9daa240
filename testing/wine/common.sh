# Shared by the Wine tests: a scratch directory and helpers. Every Wine call
# goes through `w`, with a time limit; no Wine helper's output is read through
# a pipe (a Wine process it wakes can hold the pipe open for ever): it goes to
# a file first.

. "$(dirname "$0")/settings.sh"

scratch=$(mktemp -d)
cleanups=""
# on_exit COMMAND: run at exit, before the scratch directory goes.
on_exit() { cleanups="$1; $cleanups"; }
trap 'eval "$cleanups"; rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

skip() {
  echo "SKIP: $*" >&2
  exit 77
}

# windows_path PATH: the Windows name of a Unix path, on Wine's drive Z:.
windows_path() {
  printf 'Z:%s' "$1" | tr / '\\'
}

# proxied: the WINEDLLOVERRIDES that load a bcrypt.dll beside the program.
proxied() {
  echo "$WINEDLLOVERRIDES;bcrypt=n,b"
}

# The report of a run that succeeded, with "Nms" for its time, a line each;
# and of one that stopped at location 10, where Wine's provider refuses the
# empty implementation name.
success_report() {
  printf '%s\n' "Please wait" "" "RSA public key generated" "" "RSA private key generated" "" \
    "ECDSA public key generated" "" "ECDSA private key generated" "" "Time taken: Nms" "" \
    "Press any key"
}
refused_report() {
  printf '%s\n' "Please wait" "" "Error at location 10, Windows error code C0000002" "" \
    "Press any key"
}

# crlf: the lines of standard input ended by CR LF, as the program writes them.
crlf() {
  sed 's/$/\r/'
}

# expect_key_files DIR: fails unless DIR holds the four key files, each of
# its blob's size.
expect_key_files() {
  for file in RSAPublicKey.dat:411 RSAPrivateKey.dat:795 ECDSAPublicKey.dat:72 \
              ECDSAPrivateKey.dat:104; do
    [ -f "$1/${file%%:*}" ] && [ "$(wc -c < "$1/${file%%:*}")" -eq "${file##*:}" ] ||
      fail "${file%%:*} is not ${file##*:} bytes"
  done
}

# flip_byte FILE OFFSET: inverts the lowest bit of one byte of FILE.
flip_byte() {
  old=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
  new=$((old ^ 1))
  printf "$(printf '\\%03o' "$new")" | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null
}

# wait_until SECONDS COMMAND...: true once COMMAND succeeds, false after SECONDS.
wait_until() {
  limit=$(($(date +%s) + $1))
  shift
  while ! "$@"; do
    [ "$(date +%s)" -lt "$limit" ] || return 1
    sleep 0.1
  done
}

# linux_build DIR: skips the test, saying why, unless DIR holds the Linux
# program and its key checker.
need_linux_build() {
  [ -x "$1/tarnwick" ] && [ -x "$1/check_key_files" ] ||
    skip "no Linux build in $1 (cmake --preset linux && cmake --build --preset linux)"
}
