// The key generation run: creates an RSA 3072 key pair and an ECDSA P-256 key
// pair with the cryptography provider, writes the public and private blob of
// each to a file of its own, reports on the console, waits for a key press.
//
// The run reaches the provider, the console and the file writer through the
// tables below, so that it is the same code on every platform and can be run
// against scripted stand-ins.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "crypto/provider.h"
#include "output/blob_file_writer.h"

struct ProviderCalls {
  decltype(&BCryptOpenAlgorithmProvider) openAlgorithmProvider;
  decltype(&BCryptGenerateKeyPair) generateKeyPair;
  decltype(&BCryptFinalizeKeyPair) finalizeKeyPair;
  decltype(&BCryptExportKey) exportKey;
  decltype(&BCryptCloseAlgorithmProvider) closeAlgorithmProvider;
  decltype(&BCryptDestroyKey) destroyKey;
};

struct ConsoleCalls {
  void (*setTitle)(std::string_view text);
  void (*placeWindowOnTop)(int x, int y);
  void (*writeText)(std::string_view text);
  void (*writeLine)(std::string_view text);
  void (*waitForKeyPress)();
  double (*nowSeconds)();
};

using WriteBlobFileCall = WriteResult (*)(const char* fileName, std::span<const std::uint8_t> bytes,
                                          FileAccess access);

struct RunPlatform {
  ProviderCalls provider;
  ConsoleCalls console;
  WriteBlobFileCall writeBlobFile;
};

// Status given when a size query reports 0 bytes, or when the buffer for a
// blob cannot be had; reported at that size query's location code.
inline constexpr std::uint32_t kStatusInvalidBufferSize = 0xC0000206u;
inline constexpr std::uint32_t kStatusNoMemory = 0xC0000017u;

// Runs once, start to finish. Returns the exit status: 0 when every provider
// call succeeded and all four files were written, 1 otherwise.
int runKeyGeneration(const RunPlatform& platform);
