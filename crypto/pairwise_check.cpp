#include "crypto/pairwise_check.h"

#include <gmp.h>
#include <nettle/ecdsa.h>
#include <nettle/sha2.h>

#include <array>
#include <cstdint>

#include "crypto/kernel_random.h"
#include "crypto/nettle_keys.h"

namespace {

using Digest = std::array<std::uint8_t, SHA256_DIGEST_SIZE>;

Digest messageDigest() {
  static constexpr char kMessage[] = "tarnwick pairwise consistency test";
  sha256_ctx context;
  sha256_init(&context);
  sha256_update(&context, sizeof kMessage - 1, reinterpret_cast<const std::uint8_t*>(kMessage));
  Digest digest{};
  sha256_digest(&context, digest.size(), digest.data());
  return digest;
}

struct EcdsaSignature {
  dsa_signature value;
  EcdsaSignature() { dsa_signature_init(&value); }
  ~EcdsaSignature() { dsa_signature_clear(&value); }
  EcdsaSignature(const EcdsaSignature&) = delete;
  EcdsaSignature& operator=(const EcdsaSignature&) = delete;
};

}  // namespace

bool rsaPairIsConsistent(const rsa_public_key& publicKey, const rsa_private_key& privateKey) {
  const Digest digest = messageDigest();
  RandomSource random;
  Number signature;
  // The signing function blinds with fresh random bytes and itself checks the
  // result against the public key; the verification below is the test proper.
  const int signed_ = rsa_sha256_sign_digest_tr(&publicKey, &privateKey, &random, kernelRandom,
                                                digest.data(), signature.value);
  return signed_ != 0 && !random.failed &&
         rsa_sha256_verify_digest(&publicKey, digest.data(), signature.value) != 0;
}

bool ecdsaPairIsConsistent(const ecc_point& publicKey, const ecc_scalar& privateKey) {
  const Digest digest = messageDigest();
  RandomSource random;
  EcdsaSignature signature;
  ecdsa_sign(&privateKey, &random, kernelRandom, digest.size(), digest.data(), &signature.value);
  return !random.failed &&
         ecdsa_verify(&publicKey, digest.size(), digest.data(), &signature.value) != 0;
}
