// The provider layer: its blobs checked by OpenSSL, and every misuse answered
// with the platform's status.
#include <gtest/gtest.h>

#include <functional>

#include "crypto/provider.h"
#include "testing/blob_check.h"

namespace {

struct KeyPair {
  Bytes publicBlob;
  Bytes privateBlob;
};

Bytes exportBlob(BCRYPT_KEY_HANDLE key, LPCWSTR type) {
  ULONG size = 0;
  EXPECT_EQ(BCryptExportKey(key, nullptr, type, nullptr, 0, &size, 0), STATUS_SUCCESS);
  Bytes blob(size);
  ULONG written = 0;
  EXPECT_EQ(BCryptExportKey(key, nullptr, type, blob.data(), size, &written, 0), STATUS_SUCCESS);
  EXPECT_EQ(written, size);
  return blob;
}

// The run's sequence, with the handles released in the run's order.
KeyPair makeKeyPair(LPCWSTR algorithm, ULONG bits, LPCWSTR publicType, LPCWSTR privateType) {
  BCRYPT_ALG_HANDLE provider = nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  EXPECT_EQ(BCryptOpenAlgorithmProvider(&provider, algorithm, u"", 0), STATUS_SUCCESS);
  EXPECT_EQ(BCryptGenerateKeyPair(provider, &key, bits, 0), STATUS_SUCCESS);
  EXPECT_EQ(BCryptFinalizeKeyPair(key, 0), STATUS_SUCCESS);
  KeyPair pair{exportBlob(key, publicType), exportBlob(key, privateType)};
  EXPECT_EQ(BCryptCloseAlgorithmProvider(provider, 0), STATUS_SUCCESS);
  EXPECT_EQ(BCryptDestroyKey(key), STATUS_SUCCESS);
  return pair;
}

KeyPair makeRsa3072() {
  return makeKeyPair(BCRYPT_RSA_ALGORITHM, 3072, BCRYPT_RSAPUBLIC_BLOB, BCRYPT_RSAPRIVATE_BLOB);
}

KeyPair makeP256() {
  return makeKeyPair(BCRYPT_ECDSA_P256_ALGORITHM, 256, BCRYPT_ECCPUBLIC_BLOB,
                     BCRYPT_ECCPRIVATE_BLOB);
}

std::uint32_t headerField(const Bytes& blob, std::size_t index) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(blob.at(index * 4 + i)) << (8 * i);
  }
  return value;
}

TEST(ProviderKeys, RsaBlobsHoldTheLayoutAndASoundKey) {
  for (int round = 0; round < 3; ++round) {
    const KeyPair pair = makeRsa3072();
    ASSERT_EQ(pair.publicBlob.size(), 411u);
    ASSERT_EQ(pair.privateBlob.size(), 795u);
    // Magic, BitLength, cbPublicExp, cbModulus, cbPrime1, cbPrime2.
    const std::uint32_t publicHeader[] = {0x31415352, 3072, 3, 384, 0, 0};
    const std::uint32_t privateHeader[] = {0x32415352, 3072, 3, 384, 192, 192};
    for (std::size_t i = 0; i < 6; ++i) {
      EXPECT_EQ(headerField(pair.publicBlob, i), publicHeader[i]) << "public field " << i;
      EXPECT_EQ(headerField(pair.privateBlob, i), privateHeader[i]) << "private field " << i;
    }
    EXPECT_EQ(Bytes(pair.publicBlob.begin() + 24, pair.publicBlob.begin() + 27),
              (Bytes{0x01, 0x00, 0x01}));
    EXPECT_EQ(checkRsaBlobs(pair.publicBlob, pair.privateBlob), "");
  }
}

TEST(ProviderKeys, EcdsaBlobsHoldTheLayoutAndASoundKey) {
  for (int round = 0; round < 50; ++round) {
    const KeyPair pair = makeP256();
    ASSERT_EQ(pair.publicBlob.size(), 72u);
    ASSERT_EQ(pair.privateBlob.size(), 104u);
    EXPECT_EQ(headerField(pair.publicBlob, 0), 0x31534345u);
    EXPECT_EQ(headerField(pair.privateBlob, 0), 0x32534345u);
    EXPECT_EQ(headerField(pair.publicBlob, 1), 32u);
    EXPECT_EQ(headerField(pair.privateBlob, 1), 32u);
    EXPECT_EQ(checkEccBlobs(pair.publicBlob, pair.privateBlob), "");
  }
}

TEST(ProviderKeys, EachKeyIsNew) {
  EXPECT_NE(makeP256().privateBlob, makeP256().privateBlob);
  EXPECT_NE(makeRsa3072().publicBlob, makeRsa3072().publicBlob);
}

// The checker must see a damaged key: otherwise the checks above prove nothing.
TEST(ProviderKeys, DamagedBlobsFailTheCheck) {
  const KeyPair rsa = makeRsa3072();
  const KeyPair ecc = makeP256();
  const struct {
    const char* what;
    bool rsaBlob;
    bool privateBlob;
    std::size_t offset;
  } cases[] = {
      {"RSA modulus, public", true, false, 100},
      {"RSA modulus, private", true, true, 200},
      {"RSA prime", true, true, 500},
      {"RSA header", true, false, 4},
      {"ECC X, public", false, false, 10},
      {"ECC Y, private", false, true, 50},
      {"ECC d", false, true, 80},
      {"ECC magic", false, false, 0},
  };
  for (const auto& c : cases) {
    KeyPair damaged = c.rsaBlob ? rsa : ecc;
    Bytes& blob = c.privateBlob ? damaged.privateBlob : damaged.publicBlob;
    blob.at(c.offset) ^= 0x04;
    const std::string verdict = c.rsaBlob ? checkRsaBlobs(damaged.publicBlob, damaged.privateBlob)
                                          : checkEccBlobs(damaged.publicBlob, damaged.privateBlob);
    EXPECT_NE(verdict, "") << c.what;
  }
  Bytes truncated = rsa.privateBlob;
  truncated.pop_back();
  EXPECT_NE(checkRsaBlobs(rsa.publicBlob, truncated), "");
}

TEST(ProviderKeys, OtherRsaLengthsGiveConsistentBlobs) {
  for (const ULONG bits : {512u, 1024u, 2112u}) {
    const KeyPair pair =
        makeKeyPair(BCRYPT_RSA_ALGORITHM, bits, BCRYPT_RSAPUBLIC_BLOB, BCRYPT_RSAPRIVATE_BLOB);
    std::string error;
    const auto blob = parseRsaBlob(pair.privateBlob, error);
    ASSERT_TRUE(blob) << error;
    EXPECT_EQ(blob->bitLength, bits);
    EXPECT_EQ(blob->modulus.size(), bits / 8);
    EXPECT_EQ(blob->prime1.size(), bits / 16);
    EXPECT_NE(blob->modulus.front() & 0x80, 0) << "modulus of exactly " << bits << " bits";
  }
}

// Handles in every state, for the misuse table.
class ProviderMisuse : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(BCryptOpenAlgorithmProvider(&rsa, BCRYPT_RSA_ALGORITHM, nullptr, 0), STATUS_SUCCESS);
    ASSERT_EQ(BCryptOpenAlgorithmProvider(&ecc, BCRYPT_ECDSA_P256_ALGORITHM, u"", 0),
              STATUS_SUCCESS);
    ASSERT_EQ(BCryptGenerateKeyPair(rsa, &rsaKey, 512, 0), STATUS_SUCCESS);
    ASSERT_EQ(BCryptFinalizeKeyPair(rsaKey, 0), STATUS_SUCCESS);
    ASSERT_EQ(BCryptGenerateKeyPair(ecc, &unfinalized, 256, 0), STATUS_SUCCESS);
    BCRYPT_ALG_HANDLE provider = nullptr;
    ASSERT_EQ(BCryptOpenAlgorithmProvider(&provider, BCRYPT_RSA_ALGORITHM, u"", 0), STATUS_SUCCESS);
    ASSERT_EQ(BCryptGenerateKeyPair(provider, &releasedKey, 512, 0), STATUS_SUCCESS);
    ASSERT_EQ(BCryptDestroyKey(releasedKey), STATUS_SUCCESS);
    ASSERT_EQ(BCryptCloseAlgorithmProvider(provider, 0), STATUS_SUCCESS);
    releasedProvider = provider;
  }
  void TearDown() override {
    BCryptDestroyKey(rsaKey);
    BCryptDestroyKey(unfinalized);
    BCryptCloseAlgorithmProvider(rsa, 0);
    BCryptCloseAlgorithmProvider(ecc, 0);
  }

  BCRYPT_ALG_HANDLE rsa = nullptr;
  BCRYPT_ALG_HANDLE ecc = nullptr;
  BCRYPT_KEY_HANDLE rsaKey = nullptr;       // 512 bits, finalized
  BCRYPT_KEY_HANDLE unfinalized = nullptr;  // ECDSA, not finalized
  BCRYPT_ALG_HANDLE releasedProvider = nullptr;
  BCRYPT_KEY_HANDLE releasedKey = nullptr;
  ULONG size = 0;
  BCRYPT_ALG_HANDLE outProvider = nullptr;
  BCRYPT_KEY_HANDLE outKey = nullptr;
  UCHAR buffer[1024] = {};
};

TEST_F(ProviderMisuse, EachMisuseGetsThePlatformsStatus) {
  const struct {
    const char* what;
    std::function<NTSTATUS()> call;
    NTSTATUS expected;
  } cases[] = {
      {"open: null out-pointer",
       [&] { return BCryptOpenAlgorithmProvider(nullptr, BCRYPT_RSA_ALGORITHM, u"", 0); },
       STATUS_INVALID_PARAMETER},
      {"open: null algorithm",
       [&] { return BCryptOpenAlgorithmProvider(&outProvider, nullptr, u"", 0); },
       STATUS_INVALID_PARAMETER},
      {"open: unknown algorithm",
       [&] { return BCryptOpenAlgorithmProvider(&outProvider, u"DSA", u"", 0); }, STATUS_NOT_FOUND},
      {"open: algorithm name in lower case",
       [&] { return BCryptOpenAlgorithmProvider(&outProvider, u"rsa", u"", 0); }, STATUS_NOT_FOUND},
      {"open: other implementation",
       [&] { return BCryptOpenAlgorithmProvider(&outProvider, BCRYPT_RSA_ALGORITHM, u"Other", 0); },
       STATUS_NOT_FOUND},
      {"open: flags",
       [&] { return BCryptOpenAlgorithmProvider(&outProvider, BCRYPT_RSA_ALGORITHM, u"", 8); },
       STATUS_INVALID_PARAMETER},
      {"generate: null provider", [&] { return BCryptGenerateKeyPair(nullptr, &outKey, 3072, 0); },
       STATUS_INVALID_HANDLE},
      {"generate: released provider",
       [&] { return BCryptGenerateKeyPair(releasedProvider, &outKey, 3072, 0); },
       STATUS_INVALID_HANDLE},
      {"generate: key handle as provider",
       [&] { return BCryptGenerateKeyPair(rsaKey, &outKey, 3072, 0); }, STATUS_INVALID_HANDLE},
      {"generate: null out-pointer", [&] { return BCryptGenerateKeyPair(rsa, nullptr, 3072, 0); },
       STATUS_INVALID_PARAMETER},
      {"generate: RSA length not a multiple of 64",
       [&] { return BCryptGenerateKeyPair(rsa, &outKey, 3000, 0); }, STATUS_INVALID_PARAMETER},
      {"generate: RSA length below 512",
       [&] { return BCryptGenerateKeyPair(rsa, &outKey, 448, 0); }, STATUS_INVALID_PARAMETER},
      {"generate: RSA length above 16384",
       [&] { return BCryptGenerateKeyPair(rsa, &outKey, 16448, 0); }, STATUS_INVALID_PARAMETER},
      {"generate: P-256 with 384 bits", [&] { return BCryptGenerateKeyPair(ecc, &outKey, 384, 0); },
       STATUS_INVALID_PARAMETER},
      {"generate: flags", [&] { return BCryptGenerateKeyPair(rsa, &outKey, 3072, 1); },
       STATUS_INVALID_PARAMETER},
      {"finalize: null key", [&] { return BCryptFinalizeKeyPair(nullptr, 0); },
       STATUS_INVALID_HANDLE},
      {"finalize: twice", [&] { return BCryptFinalizeKeyPair(rsaKey, 0); }, STATUS_INVALID_HANDLE},
      {"finalize: released key", [&] { return BCryptFinalizeKeyPair(releasedKey, 0); },
       STATUS_INVALID_HANDLE},
      {"finalize: provider handle as key", [&] { return BCryptFinalizeKeyPair(rsa, 0); },
       STATUS_INVALID_HANDLE},
      {"export: before finalize",
       [&] {
         return BCryptExportKey(unfinalized, nullptr, BCRYPT_ECCPUBLIC_BLOB, nullptr, 0, &size, 0);
       },
       STATUS_INVALID_HANDLE},
      {"export: released key",
       [&] {
         return BCryptExportKey(releasedKey, nullptr, BCRYPT_RSAPUBLIC_BLOB, nullptr, 0, &size, 0);
       },
       STATUS_INVALID_HANDLE},
      {"export: unknown blob type",
       [&] {
         return BCryptExportKey(rsaKey, nullptr, u"RSAFULLPRIVATEBLOB", nullptr, 0, &size, 0);
       },
       STATUS_INVALID_PARAMETER},
      {"export: the other algorithm's blob type",
       [&] {
         return BCryptExportKey(rsaKey, nullptr, BCRYPT_ECCPRIVATE_BLOB, nullptr, 0, &size, 0);
       },
       STATUS_INVALID_PARAMETER},
      {"export: null blob type",
       [&] { return BCryptExportKey(rsaKey, nullptr, nullptr, nullptr, 0, &size, 0); },
       STATUS_INVALID_PARAMETER},
      {"export: null byte count",
       [&] {
         return BCryptExportKey(rsaKey, nullptr, BCRYPT_RSAPUBLIC_BLOB, nullptr, 0, nullptr, 0);
       },
       STATUS_INVALID_PARAMETER},
      {"export: wrapping key",
       [&] { return BCryptExportKey(rsaKey, rsaKey, BCRYPT_RSAPUBLIC_BLOB, nullptr, 0, &size, 0); },
       STATUS_INVALID_PARAMETER},
      {"export: buffer one byte short",
       [&] {
         return BCryptExportKey(rsaKey, nullptr, BCRYPT_RSAPRIVATE_BLOB, buffer,
                                24 + 3 + 64 + 32 + 32 - 1, &size, 0);
       },
       STATUS_BUFFER_TOO_SMALL},
      {"close: null", [&] { return BCryptCloseAlgorithmProvider(nullptr, 0); },
       STATUS_INVALID_HANDLE},
      {"close: released", [&] { return BCryptCloseAlgorithmProvider(releasedProvider, 0); },
       STATUS_INVALID_HANDLE},
      {"close: key handle", [&] { return BCryptCloseAlgorithmProvider(rsaKey, 0); },
       STATUS_INVALID_HANDLE},
      {"destroy: null", [&] { return BCryptDestroyKey(nullptr); }, STATUS_INVALID_HANDLE},
      {"destroy: released", [&] { return BCryptDestroyKey(releasedKey); }, STATUS_INVALID_HANDLE},
      {"destroy: provider handle", [&] { return BCryptDestroyKey(ecc); }, STATUS_INVALID_HANDLE},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<std::uint32_t>(c.call()), static_cast<std::uint32_t>(c.expected))
        << c.what;
  }
}

TEST_F(ProviderMisuse, BufferTooSmallStillTellsTheSizeNeeded) {
  ULONG needed = 0;
  EXPECT_EQ(BCryptExportKey(rsaKey, nullptr, BCRYPT_RSAPRIVATE_BLOB, buffer, 10, &needed, 0),
            STATUS_BUFFER_TOO_SMALL);
  EXPECT_EQ(needed, 24u + 3 + 64 + 32 + 32);
}

TEST_F(ProviderMisuse, KeyOutlivesItsProvider) {
  ASSERT_EQ(BCryptCloseAlgorithmProvider(rsa, 0), STATUS_SUCCESS);
  rsa = nullptr;
  EXPECT_EQ(
      BCryptExportKey(rsaKey, nullptr, BCRYPT_RSAPUBLIC_BLOB, buffer, sizeof buffer, &size, 0),
      STATUS_SUCCESS);
  EXPECT_EQ(size, 24u + 3 + 64);
}

}  // namespace
