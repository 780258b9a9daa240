// The six operations of the platform's cryptography provider, declared with the
// platform's names, argument order and types, for systems that do not have it.
// Implemented over Nettle in provider_nettle.cpp.
//
// Strings handed to the provider are NUL-terminated UTF-16. The platform spells
// them with a 16-bit wchar_t; here wchar_t is 32 bits, so char16_t stands in.
#pragma once

#include <cstdint>

using NTSTATUS = std::int32_t;
using ULONG = std::uint32_t;
using UCHAR = std::uint8_t;
using PUCHAR = UCHAR*;
using LPCWSTR = const char16_t*;
using BCRYPT_HANDLE = void*;
using BCRYPT_ALG_HANDLE = void*;
using BCRYPT_KEY_HANDLE = void*;

// Status values, as the platform defines them.
constexpr NTSTATUS statusFromCode(std::uint32_t code) {
  return static_cast<NTSTATUS>(code);
}
inline constexpr NTSTATUS STATUS_SUCCESS = 0;
inline constexpr NTSTATUS STATUS_INVALID_HANDLE = statusFromCode(0xC0000008u);
inline constexpr NTSTATUS STATUS_INVALID_PARAMETER = statusFromCode(0xC000000Du);
inline constexpr NTSTATUS STATUS_NO_MEMORY = statusFromCode(0xC0000017u);
inline constexpr NTSTATUS STATUS_BUFFER_TOO_SMALL = statusFromCode(0xC0000023u);
inline constexpr NTSTATUS STATUS_INTERNAL_ERROR = statusFromCode(0xC00000E5u);
inline constexpr NTSTATUS STATUS_NOT_FOUND = statusFromCode(0xC0000225u);

// Published key blob headers. All fields little-endian.
inline constexpr ULONG BCRYPT_RSAPUBLIC_MAGIC = 0x31415352;           // "RSA1"
inline constexpr ULONG BCRYPT_RSAPRIVATE_MAGIC = 0x32415352;          // "RSA2"
inline constexpr ULONG BCRYPT_ECDSA_PUBLIC_P256_MAGIC = 0x31534345;   // "ECS1"
inline constexpr ULONG BCRYPT_ECDSA_PRIVATE_P256_MAGIC = 0x32534345;  // "ECS2"

struct BCRYPT_RSAKEY_BLOB {
  ULONG Magic;
  ULONG BitLength;
  ULONG cbPublicExp;
  ULONG cbModulus;
  ULONG cbPrime1;
  ULONG cbPrime2;
};

struct BCRYPT_ECCKEY_BLOB {
  ULONG dwMagic;
  ULONG cbKey;
};

#define BCRYPT_RSA_ALGORITHM u"RSA"
#define BCRYPT_ECDSA_P256_ALGORITHM u"ECDSA_P256"
#define BCRYPT_RSAPUBLIC_BLOB u"RSAPUBLICBLOB"
#define BCRYPT_RSAPRIVATE_BLOB u"RSAPRIVATEBLOB"
#define BCRYPT_ECCPUBLIC_BLOB u"ECCPUBLICBLOB"
#define BCRYPT_ECCPRIVATE_BLOB u"ECCPRIVATEBLOB"

extern "C" {

NTSTATUS BCryptOpenAlgorithmProvider(BCRYPT_ALG_HANDLE* phAlgorithm, LPCWSTR pszAlgId,
                                     LPCWSTR pszImplementation, ULONG dwFlags);

NTSTATUS BCryptGenerateKeyPair(BCRYPT_ALG_HANDLE hAlgorithm, BCRYPT_KEY_HANDLE* phKey,
                               ULONG dwLength, ULONG dwFlags);

NTSTATUS BCryptFinalizeKeyPair(BCRYPT_KEY_HANDLE hKey, ULONG dwFlags);

NTSTATUS BCryptExportKey(BCRYPT_KEY_HANDLE hKey, BCRYPT_KEY_HANDLE hExportKey, LPCWSTR pszBlobType,
                         PUCHAR pbOutput, ULONG cbOutput, ULONG* pcbResult, ULONG dwFlags);

NTSTATUS BCryptCloseAlgorithmProvider(BCRYPT_ALG_HANDLE hAlgorithm, ULONG dwFlags);

NTSTATUS BCryptDestroyKey(BCRYPT_KEY_HANDLE hKey);

}  // extern "C"
