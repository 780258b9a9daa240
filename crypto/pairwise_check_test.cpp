// The pairwise test on sound pairs, and on pairs damaged the way a fault
// between generation and export would damage them.
#include "crypto/pairwise_check.h"

#include <gmp.h>
#include <gtest/gtest.h>
#include <nettle/ecc-curve.h>
#include <nettle/ecdsa.h>

#include "crypto/kernel_random.h"

namespace {

struct RsaPair {
  rsa_public_key publicKey;
  rsa_private_key privateKey;
  RsaPair() {
    rsa_public_key_init(&publicKey);
    rsa_private_key_init(&privateKey);
    mpz_set_ui(publicKey.e, 65537);
    RandomSource random;
    EXPECT_EQ(rsa_generate_keypair(&publicKey, &privateKey, &random, kernelRandom, nullptr, nullptr,
                                   3072, 0),
              1);
  }
  ~RsaPair() {
    rsa_public_key_clear(&publicKey);
    rsa_private_key_clear(&privateKey);
  }
  RsaPair(const RsaPair&) = delete;
  RsaPair& operator=(const RsaPair&) = delete;
};

struct EcdsaPair {
  ecc_point publicKey;
  ecc_scalar privateKey;
  EcdsaPair() {
    ecc_point_init(&publicKey, nettle_get_secp_256r1());
    ecc_scalar_init(&privateKey, nettle_get_secp_256r1());
    RandomSource random;
    ecdsa_generate_keypair(&publicKey, &privateKey, &random, kernelRandom);
  }
  ~EcdsaPair() {
    ecc_point_clear(&publicKey);
    ecc_scalar_clear(&privateKey);
  }
  EcdsaPair(const EcdsaPair&) = delete;
  EcdsaPair& operator=(const EcdsaPair&) = delete;
};

TEST(PairwiseCheck, RsaPairPassesUntilAPrimeIsChanged) {
  RsaPair pair;
  EXPECT_TRUE(rsaPairIsConsistent(pair.publicKey, pair.privateKey));

  // Another prime of the same size in place of p: the private blob would hold
  // it, and n would no longer be p * q.
  mpz_nextprime(pair.privateKey.p, pair.privateKey.p);
  EXPECT_FALSE(rsaPairIsConsistent(pair.publicKey, pair.privateKey));
}

TEST(PairwiseCheck, RsaPairIsRefusedWithAnotherPairsModulus) {
  RsaPair pair;
  RsaPair other;
  EXPECT_FALSE(rsaPairIsConsistent(other.publicKey, pair.privateKey));
}

TEST(PairwiseCheck, EcdsaPairPassesUntilThePrivateScalarIsChanged) {
  EcdsaPair pair;
  EXPECT_TRUE(ecdsaPairIsConsistent(pair.publicKey, pair.privateKey));

  mpz_t d;
  mpz_init(d);
  ecc_scalar_get(&pair.privateKey, d);
  mpz_add_ui(d, d, 1);
  ASSERT_EQ(ecc_scalar_set(&pair.privateKey, d), 1);
  mpz_clear(d);
  EXPECT_FALSE(ecdsaPairIsConsistent(pair.publicKey, pair.privateKey));
}

}  // namespace
