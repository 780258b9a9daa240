#!/bin/sh
# The Windows zip: cpack makes tarnwick-VERSION-windows-x64.zip, holding the
# program, byte for byte the one the tests ran, and the README.
#   zip.sh BUILD VERSION PROGRAM README
set -eu
. "$(dirname "$0")/common.sh"
build=$1
version=$2
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/package") \
  > "$scratch/log" 2>&1 || { cat "$scratch/log"; fail "cpack"; }
name=tarnwick-$version-windows-x64
zip=$scratch/package/$name.zip
[ -f "$zip" ] || fail "no $name.zip: $(ls "$scratch/package")"
unzip -Z1 "$zip" | sort > "$scratch/contents"
printf '%s\n' "$name/README.md" "$name/tarnwick.exe" > "$scratch/expected"
diff "$scratch/expected" "$scratch/contents" || fail "the zip's contents"
unzip -q "$zip" -d "$scratch/unpacked"
cmp "$3" "$scratch/unpacked/$name/tarnwick.exe" || fail "the zipped program is not the tested one"
cmp "$4" "$scratch/unpacked/$name/README.md" || fail "the zipped README"
echo "1 passed, 0 failed"
