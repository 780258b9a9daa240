// check_key_files DIR: checks the four key files in DIR with OpenSSL. Exit
// status 0 when both key pairs are sound, 1 otherwise.
#include <cstdio>
#include <filesystem>

#include "testing/blob_check.h"
#include "testing/file_bytes.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    (void)std::fputs("usage: check_key_files DIR\n", stderr);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const std::string rsa =
      checkRsaBlobs(readBytes(dir / "RSAPublicKey.dat"), readBytes(dir / "RSAPrivateKey.dat"));
  const std::string ecc =
      checkEccBlobs(readBytes(dir / "ECDSAPublicKey.dat"), readBytes(dir / "ECDSAPrivateKey.dat"));
  if (!rsa.empty()) {
    (void)std::fprintf(stderr, "RSA: %s\n", rsa.c_str());
  }
  if (!ecc.empty()) {
    (void)std::fprintf(stderr, "ECDSA: %s\n", ecc.c_str());
  }
  return rsa.empty() && ecc.empty() ? 0 : 1;
}
