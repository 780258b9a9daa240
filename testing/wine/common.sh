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

# w COMMAND...: a Wine command with a time limit.
w() {
  mkdir -p "$TARNWICK_WINE_TMP"
  TMPDIR=$TARNWICK_WINE_TMP timeout --kill-after=5 "${TARNWICK_WINE_TIMEOUT:-60}" wine "$@"
}

# server ARGS...: the prefix's Wine server.
server() {
  TMPDIR=$TARNWICK_WINE_TMP wineserver "$@"
}

# windows_path PATH: the Windows name of a Unix path, on Wine's drive Z:.
windows_path() {
  printf 'Z:%s' "$1" | tr / '\\'
}

# proxied: the WINEDLLOVERRIDES that load a bcrypt.dll beside the program.
proxied() {
  echo "$WINEDLLOVERRIDES;bcrypt=n,b"
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
