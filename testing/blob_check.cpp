#include "testing/blob_check.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/obj_mac.h>
#include <openssl/param_build.h>

#include <memory>

namespace {

constexpr std::uint32_t kRsaPublicMagic = 0x31415352;   // "RSA1"
constexpr std::uint32_t kRsaPrivateMagic = 0x32415352;  // "RSA2"
constexpr std::uint32_t kEcsPublicMagic = 0x31534345;   // "ECS1"
constexpr std::uint32_t kEcsPrivateMagic = 0x32534345;  // "ECS2"

template <auto Free>
struct Deleter {
  template <typename T>
  void operator()(T* p) const {
    Free(p);
  }
};
using Bn = std::unique_ptr<BIGNUM, Deleter<BN_clear_free>>;
using BnCtx = std::unique_ptr<BN_CTX, Deleter<BN_CTX_free>>;
using PKey = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using PKeyCtx = std::unique_ptr<EVP_PKEY_CTX, Deleter<EVP_PKEY_CTX_free>>;
using ParamBuilder = std::unique_ptr<OSSL_PARAM_BLD, Deleter<OSSL_PARAM_BLD_free>>;
using Params = std::unique_ptr<OSSL_PARAM, Deleter<OSSL_PARAM_free>>;
using MdCtx = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX_free>>;
using Group = std::unique_ptr<EC_GROUP, Deleter<EC_GROUP_free>>;
using Point = std::unique_ptr<EC_POINT, Deleter<EC_POINT_free>>;

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool u32(std::uint32_t& value) {
    if (bytes_.size() < 4) {
      return false;
    }
    value = static_cast<std::uint32_t>(bytes_[0]) | static_cast<std::uint32_t>(bytes_[1]) << 8 |
            static_cast<std::uint32_t>(bytes_[2]) << 16 |
            static_cast<std::uint32_t>(bytes_[3]) << 24;
    bytes_ = bytes_.subspan(4);
    return true;
  }
  bool take(std::uint32_t count, Bytes& out) {
    if (bytes_.size() < count) {
      return false;
    }
    out.assign(bytes_.begin(), bytes_.begin() + count);
    bytes_ = bytes_.subspan(count);
    return true;
  }
  bool atEnd() const { return bytes_.empty(); }

 private:
  std::span<const std::uint8_t> bytes_;
};

Bn number(const Bytes& bigEndian) {
  return Bn(BN_bin2bn(bigEndian.data(), static_cast<int>(bigEndian.size()), nullptr));
}

// Signs a fixed message with SHA-256 using `signer` and verifies it with
// `verifier`; then checks that a changed message does not verify.
std::string signAndVerify(EVP_PKEY* signer, EVP_PKEY* verifier) {
  static const unsigned char kMessage[] = "tarnwick interchange check";
  MdCtx sign(EVP_MD_CTX_new());
  std::size_t length = 0;
  if (EVP_DigestSignInit(sign.get(), nullptr, EVP_sha256(), nullptr, signer) != 1 ||
      EVP_DigestSign(sign.get(), nullptr, &length, kMessage, sizeof kMessage) != 1) {
    return "cannot sign with the private key";
  }
  Bytes signature(length);
  if (EVP_DigestSign(sign.get(), signature.data(), &length, kMessage, sizeof kMessage) != 1) {
    return "signing failed";
  }
  signature.resize(length);
  const auto verifies = [&](const unsigned char* message, std::size_t size) {
    MdCtx verify(EVP_MD_CTX_new());
    return EVP_DigestVerifyInit(verify.get(), nullptr, EVP_sha256(), nullptr, verifier) == 1 &&
           EVP_DigestVerify(verify.get(), signature.data(), signature.size(), message, size) == 1;
  };
  if (!verifies(kMessage, sizeof kMessage)) {
    return "the public key does not verify the private key's signature";
  }
  static const unsigned char kOther[] = "tarnwick interchange chock";
  if (verifies(kOther, sizeof kOther)) {
    return "a signature verifies a message it was not made for";
  }
  return {};
}

PKey keyFromParams(const char* type, ParamBuilder& builder, int selection) {
  Params params(OSSL_PARAM_BLD_to_param(builder.get()));
  PKeyCtx context(EVP_PKEY_CTX_new_from_name(nullptr, type, nullptr));
  EVP_PKEY* key = nullptr;
  if (params == nullptr || context == nullptr || EVP_PKEY_fromdata_init(context.get()) != 1 ||
      EVP_PKEY_fromdata(context.get(), &key, selection, params.get()) != 1) {
    return nullptr;
  }
  return PKey(key);
}

bool pairwiseSound(EVP_PKEY* key) {
  PKeyCtx context(EVP_PKEY_CTX_new_from_pkey(nullptr, key, nullptr));
  return context != nullptr && EVP_PKEY_pairwise_check(context.get()) == 1;
}

}  // namespace

std::optional<RsaBlob> parseRsaBlob(std::span<const std::uint8_t> blob, std::string& error) {
  RsaBlob rsa;
  Reader reader(blob);
  std::uint32_t exponentBytes = 0;
  std::uint32_t modulusBytes = 0;
  std::uint32_t prime1Bytes = 0;
  std::uint32_t prime2Bytes = 0;
  if (!reader.u32(rsa.magic) || !reader.u32(rsa.bitLength) || !reader.u32(exponentBytes) ||
      !reader.u32(modulusBytes) || !reader.u32(prime1Bytes) || !reader.u32(prime2Bytes)) {
    error = "RSA blob shorter than its header";
    return std::nullopt;
  }
  if (rsa.magic != kRsaPublicMagic && rsa.magic != kRsaPrivateMagic) {
    error = "RSA blob with an unknown magic";
    return std::nullopt;
  }
  if (!reader.take(exponentBytes, rsa.publicExponent) || !reader.take(modulusBytes, rsa.modulus) ||
      !reader.take(prime1Bytes, rsa.prime1) || !reader.take(prime2Bytes, rsa.prime2) ||
      !reader.atEnd()) {
    error = "RSA blob whose header does not match its length";
    return std::nullopt;
  }
  return rsa;
}

std::optional<EccBlob> parseEccBlob(std::span<const std::uint8_t> blob, std::string& error) {
  EccBlob ecc;
  Reader reader(blob);
  if (!reader.u32(ecc.magic) || !reader.u32(ecc.keyBytes)) {
    error = "ECC blob shorter than its header";
    return std::nullopt;
  }
  if (ecc.magic != kEcsPublicMagic && ecc.magic != kEcsPrivateMagic) {
    error = "ECC blob with an unknown magic";
    return std::nullopt;
  }
  if (!reader.take(ecc.keyBytes, ecc.x) || !reader.take(ecc.keyBytes, ecc.y) ||
      (ecc.magic == kEcsPrivateMagic && !reader.take(ecc.keyBytes, ecc.d)) || !reader.atEnd()) {
    error = "ECC blob whose header does not match its length";
    return std::nullopt;
  }
  return ecc;
}

std::string checkRsaBlobs(std::span<const std::uint8_t> publicBlob,
                          std::span<const std::uint8_t> privateBlob) {
  std::string error;
  const auto pub = parseRsaBlob(publicBlob, error);
  const auto priv = parseRsaBlob(privateBlob, error);
  if (!pub || !priv) {
    return error;
  }
  if (pub->magic != kRsaPublicMagic || priv->magic != kRsaPrivateMagic) {
    return "public and private RSA magics swapped";
  }
  if (pub->bitLength != 3072 || priv->bitLength != 3072) {
    return "RSA bit length is not 3072";
  }
  if (publicBlob.size() != 411 || privateBlob.size() != 795) {
    return "RSA blob sizes are not 411 and 795";
  }
  if (!pub->prime1.empty() || !pub->prime2.empty()) {
    return "the public RSA blob holds primes";
  }
  if (pub->publicExponent != priv->publicExponent || pub->modulus != priv->modulus) {
    return "public and private RSA blobs hold different public keys";
  }
  const Bn e = number(priv->publicExponent);
  const Bn n = number(priv->modulus);
  const Bn p = number(priv->prime1);
  const Bn q = number(priv->prime2);
  BnCtx ctx(BN_CTX_new());
  if (!BN_is_word(e.get(), 65537)) {
    return "RSA public exponent is not 65537";
  }
  if (BN_num_bits(n.get()) != 3072 || BN_num_bits(p.get()) != 1536 ||
      BN_num_bits(q.get()) != 1536) {
    return "RSA modulus not 3072 bits or a prime not 1536 bits";
  }
  const Bn product(BN_new());
  BN_mul(product.get(), p.get(), q.get(), ctx.get());
  if (BN_cmp(product.get(), n.get()) != 0) {
    return "n is not p * q";
  }
  if (BN_check_prime(p.get(), ctx.get(), nullptr) != 1 ||
      BN_check_prime(q.get(), ctx.get(), nullptr) != 1) {
    return "an RSA factor is not prime";
  }
  // d = e^-1 mod (p-1)(q-1), and the CRT values, for OpenSSL's private key.
  const Bn p1(BN_dup(p.get()));
  const Bn q1(BN_dup(q.get()));
  BN_sub_word(p1.get(), 1);
  BN_sub_word(q1.get(), 1);
  const Bn phi(BN_new());
  BN_mul(phi.get(), p1.get(), q1.get(), ctx.get());
  const Bn d(BN_mod_inverse(nullptr, e.get(), phi.get(), ctx.get()));
  if (d == nullptr) {
    return "e has no inverse modulo (p-1)(q-1)";
  }
  const Bn dp(BN_new());
  const Bn dq(BN_new());
  BN_mod(dp.get(), d.get(), p1.get(), ctx.get());
  BN_mod(dq.get(), d.get(), q1.get(), ctx.get());
  const Bn qinv(BN_mod_inverse(nullptr, q.get(), p.get(), ctx.get()));
  if (qinv == nullptr) {
    return "q has no inverse modulo p";
  }

  ParamBuilder privateParams(OSSL_PARAM_BLD_new());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_N, n.get());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_E, e.get());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_D, d.get());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_FACTOR1, p.get());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_FACTOR2, q.get());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_EXPONENT1, dp.get());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_EXPONENT2, dq.get());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_RSA_COEFFICIENT1, qinv.get());
  const PKey privateKey = keyFromParams("RSA", privateParams, EVP_PKEY_KEYPAIR);
  // The builder keeps pointers to the numbers until the key is made.
  const Bn publicN = number(pub->modulus);
  const Bn publicE = number(pub->publicExponent);
  ParamBuilder publicParams(OSSL_PARAM_BLD_new());
  OSSL_PARAM_BLD_push_BN(publicParams.get(), OSSL_PKEY_PARAM_RSA_N, publicN.get());
  OSSL_PARAM_BLD_push_BN(publicParams.get(), OSSL_PKEY_PARAM_RSA_E, publicE.get());
  const PKey publicKey = keyFromParams("RSA", publicParams, EVP_PKEY_PUBLIC_KEY);
  if (privateKey == nullptr || publicKey == nullptr) {
    return "OpenSSL does not accept the RSA key";
  }
  if (!pairwiseSound(privateKey.get())) {
    return "OpenSSL's pairwise check fails on the RSA key";
  }
  return signAndVerify(privateKey.get(), publicKey.get());
}

std::string checkEccBlobs(std::span<const std::uint8_t> publicBlob,
                          std::span<const std::uint8_t> privateBlob) {
  std::string error;
  const auto pub = parseEccBlob(publicBlob, error);
  const auto priv = parseEccBlob(privateBlob, error);
  if (!pub || !priv) {
    return error;
  }
  if (pub->magic != kEcsPublicMagic || priv->magic != kEcsPrivateMagic) {
    return "public and private ECDSA magics swapped";
  }
  if (pub->keyBytes != 32 || priv->keyBytes != 32 || publicBlob.size() != 72 ||
      privateBlob.size() != 104) {
    return "ECDSA P-256 blob sizes are not 32 per number, 72 and 104 in all";
  }
  if (pub->x != priv->x || pub->y != priv->y) {
    return "public and private ECDSA blobs hold different public points";
  }
  const Group group(EC_GROUP_new_by_curve_name(NID_X9_62_prime256v1));
  BnCtx ctx(BN_CTX_new());
  const Bn d = number(priv->d);
  if (BN_is_zero(d.get()) || BN_cmp(d.get(), EC_GROUP_get0_order(group.get())) >= 0) {
    return "d is not in [1, n-1]";
  }
  const Point computed(EC_POINT_new(group.get()));
  const Bn x(BN_new());
  const Bn y(BN_new());
  if (EC_POINT_mul(group.get(), computed.get(), d.get(), nullptr, nullptr, ctx.get()) != 1 ||
      EC_POINT_get_affine_coordinates(group.get(), computed.get(), x.get(), y.get(), ctx.get()) !=
          1) {
    return "OpenSSL cannot compute d*G";
  }
  if (BN_cmp(x.get(), number(pub->x).get()) != 0 || BN_cmp(y.get(), number(pub->y).get()) != 0) {
    return "d*G is not the public point (X, Y)";
  }

  Bytes encoded{0x04};
  encoded.insert(encoded.end(), pub->x.begin(), pub->x.end());
  encoded.insert(encoded.end(), pub->y.begin(), pub->y.end());
  ParamBuilder privateParams(OSSL_PARAM_BLD_new());
  OSSL_PARAM_BLD_push_utf8_string(privateParams.get(), OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1", 0);
  OSSL_PARAM_BLD_push_octet_string(privateParams.get(), OSSL_PKEY_PARAM_PUB_KEY, encoded.data(),
                                   encoded.size());
  OSSL_PARAM_BLD_push_BN(privateParams.get(), OSSL_PKEY_PARAM_PRIV_KEY, d.get());
  const PKey privateKey = keyFromParams("EC", privateParams, EVP_PKEY_KEYPAIR);
  ParamBuilder publicParams(OSSL_PARAM_BLD_new());
  OSSL_PARAM_BLD_push_utf8_string(publicParams.get(), OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1", 0);
  OSSL_PARAM_BLD_push_octet_string(publicParams.get(), OSSL_PKEY_PARAM_PUB_KEY, encoded.data(),
                                   encoded.size());
  const PKey publicKey = keyFromParams("EC", publicParams, EVP_PKEY_PUBLIC_KEY);
  if (privateKey == nullptr || publicKey == nullptr) {
    return "OpenSSL does not accept the ECDSA key";
  }
  return signAndVerify(privateKey.get(), publicKey.get());
}
