// The pairwise consistency test that a new key pair passes before the provider
// hands it out: a fixed message is signed with the private key and the
// signature verified with the public key, from the very numbers that the key
// blobs are made of. A pair damaged between generation and export (by a fault
// in the library or the machine) fails it.
#pragma once

#include <nettle/ecc.h>
#include <nettle/rsa.h>

// RSA: PKCS#1 v1.5 with SHA-256, signed through Nettle's blinded,
// result-checked signing function.
bool rsaPairIsConsistent(const rsa_public_key& publicKey, const rsa_private_key& privateKey);

// ECDSA over the key's curve with SHA-256.
bool ecdsaPairIsConsistent(const ecc_point& publicKey, const ecc_scalar& privateKey);
