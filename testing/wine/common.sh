# Shared by the Wine tests: Wine's settings, a scratch directory, and helpers.

: "${WINEPREFIX:=$HOME/.wine-tarnwick}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
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
