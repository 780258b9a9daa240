// tarnwick_faulty: the program with the real provider behind a layer that
// fails one chosen call, for tests of the failure path as a process.
//   TARNWICK_FAIL_AT: the location code of the call that fails (10 .. 140)
//   TARNWICK_FAIL_STATUS: the status it fails with, in hexadecimal
// Every release is logged to standard error, in order.

#include <cstdio>
#include <cstdlib>

#include "app/key_generation_run.h"
#include "console/console.h"
#include "output/blob_file_writer.h"

namespace {

unsigned failAt = 0;
NTSTATUS failStatus = 0;
unsigned codedCalls = 0;

// True when this coded call is the one that fails.
bool failsNow() {
  return ++codedCalls * 10 == failAt;
}

NTSTATUS open(BCRYPT_ALG_HANDLE* provider, LPCWSTR algorithm, LPCWSTR implementation, ULONG flags) {
  return failsNow() ? failStatus
                    : BCryptOpenAlgorithmProvider(provider, algorithm, implementation, flags);
}

NTSTATUS generate(BCRYPT_ALG_HANDLE provider, BCRYPT_KEY_HANDLE* key, ULONG bits, ULONG flags) {
  return failsNow() ? failStatus : BCryptGenerateKeyPair(provider, key, bits, flags);
}

NTSTATUS finalize(BCRYPT_KEY_HANDLE key, ULONG flags) {
  return failsNow() ? failStatus : BCryptFinalizeKeyPair(key, flags);
}

NTSTATUS exportKey(BCRYPT_KEY_HANDLE key, BCRYPT_KEY_HANDLE exportKey, LPCWSTR type, PUCHAR output,
                   ULONG outputSize, ULONG* result, ULONG flags) {
  return failsNow() ? failStatus
                    : BCryptExportKey(key, exportKey, type, output, outputSize, result, flags);
}

NTSTATUS close(BCRYPT_ALG_HANDLE provider, ULONG flags) {
  const NTSTATUS status = BCryptCloseAlgorithmProvider(provider, flags);
  (void)std::fprintf(stderr, "BCryptCloseAlgorithmProvider %X\n", static_cast<unsigned>(status));
  return status;
}

NTSTATUS destroy(BCRYPT_KEY_HANDLE key) {
  const NTSTATUS status = BCryptDestroyKey(key);
  (void)std::fprintf(stderr, "BCryptDestroyKey %X\n", static_cast<unsigned>(status));
  return status;
}

unsigned long fromEnvironment(const char* name, int base) {
  const char* value = std::getenv(name);
  return value == nullptr ? 0 : std::strtoul(value, nullptr, base);
}

}  // namespace

int main() {
  failAt = static_cast<unsigned>(fromEnvironment("TARNWICK_FAIL_AT", 10));
  failStatus = static_cast<NTSTATUS>(fromEnvironment("TARNWICK_FAIL_STATUS", 16));
  const RunPlatform platform{
      {open, generate, finalize, exportKey, close, destroy},
      {setTitle, placeWindowOnTop, writeText, writeLine, waitForKeyPress, nowSeconds},
      writeBlobFile,
  };
  return runKeyGeneration(platform);
}
