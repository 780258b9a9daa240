// Reads key blobs in the provider's published formats and checks the keys in
// them with OpenSSL's libcrypto: an implementation independent of the one
// that made them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct RsaBlob {
  std::uint32_t magic = 0;
  std::uint32_t bitLength = 0;
  Bytes publicExponent;
  Bytes modulus;
  Bytes prime1;  // empty in a public blob
  Bytes prime2;
};

struct EccBlob {
  std::uint32_t magic = 0;
  std::uint32_t keyBytes = 0;
  Bytes x;
  Bytes y;
  Bytes d;  // empty in a public blob
};

// The blob split into its fields; nullopt, with `error` set, when the header
// does not describe exactly the bytes that follow it.
std::optional<RsaBlob> parseRsaBlob(std::span<const std::uint8_t> blob, std::string& error);
std::optional<EccBlob> parseEccBlob(std::span<const std::uint8_t> blob, std::string& error);

// Empty when the four blobs hold sound keys of the expected shape: RSA 3072
// with e = 65537 and two prime factors of 1536 bits whose product is the
// modulus, ECDSA P-256 with d·G equal to the public point; each private key
// signs a message that its public key verifies. Otherwise, what is wrong.
std::string checkRsaBlobs(std::span<const std::uint8_t> publicBlob,
                          std::span<const std::uint8_t> privateBlob);
std::string checkEccBlobs(std::span<const std::uint8_t> publicBlob,
                          std::span<const std::uint8_t> privateBlob);
