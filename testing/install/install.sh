#!/bin/sh
# cmake --install puts the program, its manual page and the README under the
# prefix, as GNUInstallDirs names the folders; the installed program answers
# with the project's version.
#   install.sh BUILD VERSION
set -eu
. "$(dirname "$0")/common.sh"
build=$1
version=$2
cmake --install "$build" --prefix "$scratch/prefix" > "$scratch/log" 2>&1 ||
  { cat "$scratch/log"; fail "cmake --install"; }
for file in bin/tarnwick share/man/man1/tarnwick.1 share/doc/tarnwick/README.md; do
  [ -f "$scratch/prefix/$file" ] || fail "$file not installed"
done
[ -x "$scratch/prefix/bin/tarnwick" ] || fail "bin/tarnwick is not executable"
"$scratch/prefix/bin/tarnwick" --version > "$scratch/version"
[ "$(cat "$scratch/version")" = "tarnwick $version" ] || fail "--version: $(cat "$scratch/version")"
grep -q "^\.TH TARNWICK 1 \"[0-9-]*\" \"tarnwick $version\"" "$scratch/prefix/share/man/man1/tarnwick.1" ||
  fail "the manual page's header does not carry version $version"
echo "1 passed, 0 failed"
