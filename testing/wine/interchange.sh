#!/bin/sh
# Key files crossing between the builds.
#   linux-to-windows INTERCHANGE_EXE LINUX_BUILD: the Linux program's four files
#     import into the Windows provider, and each private key's signature
#     verifies with its public key.
#   windows-to-linux INTERCHANGE_EXE LINUX_BUILD: four blobs exported by the
#     Windows provider pass the Linux build's OpenSSL checks.
# In both directions a corrupted file must fail the check.
set -eu
. "$(dirname "$0")/common.sh"
direction=$1
interchange=$2
linux_build=${3:-}
need_linux_build "$linux_build"
keys="$scratch/keys"
mkdir "$keys"

case "$direction" in
  linux-to-windows)
    (cd "$keys" && "$linux_build/tarnwick" < /dev/null > /dev/null) || fail "Linux program"
    check() { w "$interchange" import "$(windows_path "$keys")"; }
    ;;
  windows-to-linux)
    w "$interchange" export "$(windows_path "$keys")" || fail "Windows export"
    check() { "$linux_build/check_key_files" "$keys"; }
    ;;
  *)
    fail "unknown direction $direction"
    ;;
esac

check || fail "sound key files rejected"
# One byte inside a number of each file: a prime, the modulus, d, and X.
for damage in RSAPrivateKey.dat:600 RSAPublicKey.dat:200 ECDSAPrivateKey.dat:90 \
              ECDSAPublicKey.dat:20; do
  file=${damage%%:*}
  offset=${damage##*:}
  cp "$keys/$file" "$scratch/saved"
  flip_byte "$keys/$file" "$offset"
  if check 2>/dev/null; then
    fail "corrupted $file accepted"
  fi
  cp "$scratch/saved" "$keys/$file"
done
echo "1 passed, 0 failed"
