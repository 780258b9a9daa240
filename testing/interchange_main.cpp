// interchange export DIR: makes an RSA 3072 and an ECDSA P-256 key pair with
//   the Windows provider (default implementation) and writes the four key
//   blob files into DIR.
// interchange import DIR: imports the four key files in DIR with the Windows
//   provider, signs with each private key and verifies with its public key.
// Exit status 0 when every step succeeded, 1 otherwise.

#include <windows.h>
// clang-format off
#include <bcrypt.h>
// clang-format on

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct Pair {
  const wchar_t* algorithm;
  ULONG bits;
  const wchar_t* publicType;
  const wchar_t* privateType;
  const char* publicFile;
  const char* privateFile;
  bool rsa;
};

const Pair kPairs[] = {
    {.algorithm = BCRYPT_RSA_ALGORITHM,
     .bits = 3072,
     .publicType = BCRYPT_RSAPUBLIC_BLOB,
     .privateType = BCRYPT_RSAPRIVATE_BLOB,
     .publicFile = "RSAPublicKey.dat",
     .privateFile = "RSAPrivateKey.dat",
     .rsa = true},
    {.algorithm = BCRYPT_ECDSA_P256_ALGORITHM,
     .bits = 256,
     .publicType = BCRYPT_ECCPUBLIC_BLOB,
     .privateType = BCRYPT_ECCPRIVATE_BLOB,
     .publicFile = "ECDSAPublicKey.dat",
     .privateFile = "ECDSAPrivateKey.dat",
     .rsa = false},
};

bool check(NTSTATUS status, const char* what) {
  if (status != 0) {
    std::fprintf(stderr, "%s: status %08lX\n", what, static_cast<unsigned long>(status));
    return false;
  }
  return true;
}

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool exportBlob(BCRYPT_KEY_HANDLE key, const wchar_t* type, Bytes& blob) {
  ULONG size = 0;
  if (!check(BCryptExportKey(key, nullptr, type, nullptr, 0, &size, 0), "export size")) {
    return false;
  }
  blob.resize(size);
  return check(BCryptExportKey(key, nullptr, type, blob.data(), size, &size, 0), "export");
}

bool exportPair(const Pair& pair, const std::string& dir) {
  BCRYPT_ALG_HANDLE provider = nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  Bytes publicBlob;
  Bytes privateBlob;
  const bool ok =
      check(BCryptOpenAlgorithmProvider(&provider, pair.algorithm, nullptr, 0), "open") &&
      check(BCryptGenerateKeyPair(provider, &key, pair.bits, 0), "generate") &&
      check(BCryptFinalizeKeyPair(key, 0), "finalize") &&
      exportBlob(key, pair.publicType, publicBlob) &&
      exportBlob(key, pair.privateType, privateBlob) &&
      writeFile(dir + "\\" + pair.publicFile, publicBlob) &&
      writeFile(dir + "\\" + pair.privateFile, privateBlob);
  if (key != nullptr) {
    BCryptDestroyKey(key);
  }
  if (provider != nullptr) {
    BCryptCloseAlgorithmProvider(provider, 0);
  }
  return ok;
}

bool importKey(BCRYPT_ALG_HANDLE provider, const wchar_t* type, const std::string& path,
               BCRYPT_KEY_HANDLE& key) {
  Bytes blob = readFile(path);
  return check(BCryptImportKeyPair(provider, nullptr, type, &key, blob.data(),
                                   static_cast<ULONG>(blob.size()), 0),
               path.c_str());
}

// Signs a digest with the private key; the public key must verify it, and
// must refuse it for another digest.
bool signAndVerify(const Pair& pair, BCRYPT_KEY_HANDLE privateKey, BCRYPT_KEY_HANDLE publicKey) {
  Bytes digest(32);
  for (std::size_t i = 0; i < digest.size(); ++i) {
    digest[i] = static_cast<unsigned char>(i * 13 + 1);
  }
  BCRYPT_PKCS1_PADDING_INFO padding{BCRYPT_SHA256_ALGORITHM};
  void* paddingInfo = pair.rsa ? &padding : nullptr;
  const ULONG flags = pair.rsa ? BCRYPT_PAD_PKCS1 : 0;
  Bytes signature(1024);  // more than an RSA 3072 or P-256 signature needs
  ULONG size = 0;
  if (!check(BCryptSignHash(privateKey, paddingInfo, digest.data(), 32, signature.data(),
                            static_cast<ULONG>(signature.size()), &size, flags),
             "sign")) {
    return false;
  }
  if (!check(BCryptVerifySignature(publicKey, paddingInfo, digest.data(), 32, signature.data(),
                                   size, flags),
             "verify")) {
    return false;
  }
  digest[0] ^= 1;
  if (BCryptVerifySignature(publicKey, paddingInfo, digest.data(), 32, signature.data(), size,
                            flags) == 0) {
    std::fputs("a signature verified a digest it was not made for\n", stderr);
    return false;
  }
  return true;
}

bool importPair(const Pair& pair, const std::string& dir) {
  BCRYPT_ALG_HANDLE provider = nullptr;
  BCRYPT_KEY_HANDLE privateKey = nullptr;
  BCRYPT_KEY_HANDLE publicKey = nullptr;
  const bool ok =
      check(BCryptOpenAlgorithmProvider(&provider, pair.algorithm, nullptr, 0), "open") &&
      importKey(provider, pair.privateType, dir + "\\" + pair.privateFile, privateKey) &&
      importKey(provider, pair.publicType, dir + "\\" + pair.publicFile, publicKey) &&
      signAndVerify(pair, privateKey, publicKey);
  for (BCRYPT_KEY_HANDLE key : {privateKey, publicKey}) {
    if (key != nullptr) {
      BCryptDestroyKey(key);
    }
  }
  if (provider != nullptr) {
    BCryptCloseAlgorithmProvider(provider, 0);
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: interchange export|import DIR\n", stderr);
    return 2;
  }
  const std::string mode = argv[1];
  const std::string dir = argv[2];
  bool ok = true;
  for (const Pair& pair : kPairs) {
    if (mode == "export") {
      ok = exportPair(pair, dir) && ok;
    } else if (mode == "import") {
      ok = importPair(pair, dir) && ok;
    } else {
      return 2;
    }
  }
  return ok ? 0 : 1;
}
