// Nettle's key pairs and GMP's numbers as objects that clear themselves (and
// so, with the zeroing allocator, wipe their limbs) when they go.
#pragma once

#include <gmp.h>
#include <nettle/ecc-curve.h>
#include <nettle/ecc.h>
#include <nettle/rsa.h>

struct RsaKeyPair {
  rsa_public_key publicKey;
  rsa_private_key privateKey;
  RsaKeyPair() {
    rsa_public_key_init(&publicKey);
    rsa_private_key_init(&privateKey);
  }
  ~RsaKeyPair() {
    rsa_public_key_clear(&publicKey);
    rsa_private_key_clear(&privateKey);
  }
  RsaKeyPair(const RsaKeyPair&) = delete;
  RsaKeyPair& operator=(const RsaKeyPair&) = delete;
};

// On NIST P-256.
struct EccKeyPair {
  ecc_point publicKey;
  ecc_scalar privateKey;
  EccKeyPair() {
    ecc_point_init(&publicKey, nettle_get_secp_256r1());
    ecc_scalar_init(&privateKey, nettle_get_secp_256r1());
  }
  ~EccKeyPair() {
    ecc_point_clear(&publicKey);
    ecc_scalar_clear(&privateKey);
  }
  EccKeyPair(const EccKeyPair&) = delete;
  EccKeyPair& operator=(const EccKeyPair&) = delete;
};

struct Number {
  mpz_t value;
  Number() { mpz_init(value); }
  ~Number() { mpz_clear(value); }
  Number(const Number&) = delete;
  Number& operator=(const Number&) = delete;
};
