# The Windows program in console windows on the test desktop, driven by the
# desktop helper. Sourced after common.sh by a test run as
#   TEST.sh HELPER PROGRAM PROXY
# It copies the program and the helper into $run, where the test runs them,
# and ends a program still running there when the test ends.

[ -n "${DISPLAY:-}" ] || fail "no test desktop (Wine.Start starts it)"
helper=$1
proxy=$3
run=$scratch/run
mkdir "$run"
cp "$2" "$helper" "$run/"
on_exit "end_program '$run'"

# with_proxy: runs from here on go through the proxy, beside the program.
with_proxy() {
  cp "$proxy" "$run/"
  WINEDLLOVERRIDES=$(proxied)
  export WINEDLLOVERRIDES
}

# helper COMMAND ARGS...: the desktop helper's answer, in $scratch/answer.
helper() {
  w "$helper" "$@" > "$scratch/answer" 2> /dev/null
}

# run_in_console DIR PROGRAM [ARGS...]: starts the program in a console
# window of its own, in DIR; its exit status goes to DIR/status.
run_in_console() {
  dir=$1
  shift
  rm -f "$dir/status"
  # Programs of that name already running are not this one.
  helper pid tarnwick.exe || true
  tr -d '\r' < "$scratch/answer" > "$scratch/earlier"
  (
    cd "$dir"
    status=0
    w wineconsole "$@" > /dev/null 2>&1 || status=$?
    echo "$status" > "$dir/status.new"
    mv "$dir/status.new" "$dir/status"
  ) &
}

# The Windows pid of the tarnwick.exe that run_in_console started, in $pid.
find_pid() {
  helper pid tarnwick.exe || return 1
  pid=$(tr -d '\r' < "$scratch/answer" | grep -v -x -F -f "$scratch/earlier" | head -n 1)
  [ -n "$pid" ]
}

# shows TEXT: the program's console shows TEXT.
shows() {
  helper screen "$pid" && grep -q "$1" "$scratch/answer"
}

# wait_for_text TEXT: waits until the program's console shows TEXT.
wait_for_text() {
  wait_until 60 find_pid || fail "tarnwick.exe did not start"
  wait_until 60 shows "$1" || { cat "$scratch/answer"; fail "the console never showed '$1'"; }
}

# keys RECORD...: writes key records (DOWN:VK:CHAR:STATE) to the console.
keys() {
  helper keys "$pid" "$@" || fail "could not write key records $*"
}

# exited DIR: the program started in DIR has ended.
exited() { [ -s "$1/status" ]; }

# status_of DIR: its exit status.
status_of() { tr -d '\r\n' < "$1/status"; }

# end_program DIR: ends a program still running (with F5), for the clean-up.
end_program() {
  if ! exited "$1" && find_pid; then
    keys 1:0x74:0:0 2> /dev/null || true
    wait_until 10 exited "$1" || true
  fi
}
