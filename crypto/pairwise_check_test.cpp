// The pairwise test on sound pairs, and on pairs damaged the way a fault
// between generation and export would damage them.
#include "crypto/pairwise_check.h"

#include <gmp.h>
#include <gtest/gtest.h>
#include <nettle/ecc-curve.h>
#include <nettle/ecdsa.h>

#include "crypto/kernel_random.h"
#include "crypto/nettle_keys.h"

namespace {

// A new pair, made by Nettle.
struct RsaPair : RsaKeyPair {
  RsaPair() {
    mpz_set_ui(publicKey.e, 65537);
    RandomSource random;
    EXPECT_EQ(rsa_generate_keypair(&publicKey, &privateKey, &random, kernelRandom, nullptr, nullptr,
                                   3072, 0),
              1);
  }
};

struct EcdsaPair : EccKeyPair {
  EcdsaPair() {
    RandomSource random;
    ecdsa_generate_keypair(&publicKey, &privateKey, &random, kernelRandom);
  }
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

  Number d;
  ecc_scalar_get(&pair.privateKey, d.value);
  mpz_add_ui(d.value, d.value, 1);
  ASSERT_EQ(ecc_scalar_set(&pair.privateKey, d.value), 1);
  EXPECT_FALSE(ecdsaPairIsConsistent(pair.publicKey, pair.privateKey));
}

}  // namespace
