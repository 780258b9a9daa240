#!/bin/sh
# The Debian package: cpack makes tarnwick_VERSION_amd64.deb, its Depends
# come from the libraries the program links, and the program unpacked from it
# (dpkg-deb -x) writes four sound key files in a folder of its own.
#   deb.sh BUILD VERSION CHECK_KEY_FILES
set -eu
. "$(dirname "$0")/common.sh"
build=$1
version=$2
check=$3
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/package") \
  > "$scratch/log" 2>&1 || { cat "$scratch/log"; fail "cpack"; }
deb=$scratch/package/tarnwick_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$scratch/package")"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libnettle8 libhogweed6 libgmp10; do
  echo "$depends" | grep -q "$library" || fail "Depends ($depends) lacks $library"
done
dpkg-deb -x "$deb" "$scratch/root"
for file in usr/bin/tarnwick usr/share/man/man1/tarnwick.1.gz usr/share/doc/tarnwick/README.md \
            usr/share/doc/tarnwick/changelog.gz; do
  [ -f "$scratch/root/$file" ] || fail "$file is not in the package"
done
mkdir "$scratch/run"
status=0
(cd "$scratch/run" && "$scratch/root/usr/bin/tarnwick" < /dev/null > "$scratch/out") || status=$?
[ "$status" -eq 0 ] || { cat "$scratch/out"; fail "the packaged program exited with $status"; }
"$check" "$scratch/run" || fail "the packaged program's key files"
echo "1 passed, 0 failed"
