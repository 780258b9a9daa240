// tarnwick_faulty: the program with the system's provider behind a layer that
// fails one chosen call, for tests of the failure path as a process.
//   TARNWICK_FAIL_AT: the location code of the call that fails (10 .. 140)
//   TARNWICK_FAIL_STATUS: the status it fails with, in hexadecimal
// Every release is logged to standard error, in order.

#include <cstdio>
#include <cstdlib>
#include <map>

#include "app/system_platform.h"
#include "testing/location_codes.h"

namespace {

// What fails, and which job each handle belongs to, so that every call is
// known by its location code in the run's table.
struct Faults {
  LocationCode failAt = 0;
  NTSTATUS status = 0;
  std::map<const void*, const KeyPairJob*> jobOf;

  // The status of the call with that code: the chosen failure, or what the
  // system's provider answers.
  template <typename Call>
  NTSTATUS call(const KeyPairJob* job, LocationCode KeyPairJob::*code, Call&& system) {
    return job != nullptr && job->*code == failAt ? status : system();
  }

  // After a call that made a handle: it belongs to the job.
  NTSTATUS keep(NTSTATUS result, void* const* handle, const KeyPairJob* job) {
    if (result == 0) {
      jobOf[*handle] = job;
    }
    return result;
  }
};

Faults faults;

NTSTATUS open(BCRYPT_ALG_HANDLE* provider, LPCWSTR algorithm, LPCWSTR implementation, ULONG flags) {
  const KeyPairJob* job = jobForAlgorithm(algorithm);
  return faults.call(job, &KeyPairJob::open, [&] {
    return faults.keep(BCryptOpenAlgorithmProvider(provider, algorithm, implementation, flags),
                       provider, job);
  });
}

NTSTATUS generate(BCRYPT_ALG_HANDLE provider, BCRYPT_KEY_HANDLE* key, ULONG bits, ULONG flags) {
  const KeyPairJob* job = faults.jobOf[provider];
  return faults.call(job, &KeyPairJob::generate, [&] {
    return faults.keep(BCryptGenerateKeyPair(provider, key, bits, flags), key, job);
  });
}

NTSTATUS finalize(BCRYPT_KEY_HANDLE key, ULONG flags) {
  return faults.call(faults.jobOf[key], &KeyPairJob::finalize,
                     [&] { return BCryptFinalizeKeyPair(key, flags); });
}

NTSTATUS exportKey(BCRYPT_KEY_HANDLE key, BCRYPT_KEY_HANDLE exportKey, LPCWSTR type, PUCHAR output,
                   ULONG outputSize, ULONG* result, ULONG flags) {
  const BlobExport* blob = exportForBlobType(type);
  return blob != nullptr && exportCode(*blob, output) == faults.failAt
             ? faults.status
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
  faults.failAt = static_cast<LocationCode>(fromEnvironment("TARNWICK_FAIL_AT", 10));
  faults.status = static_cast<NTSTATUS>(fromEnvironment("TARNWICK_FAIL_STATUS", 16));
  RunPlatform platform = systemPlatform();
  platform.provider = {.openAlgorithmProvider = open,
                       .generateKeyPair = generate,
                       .finalizeKeyPair = finalize,
                       .exportKey = exportKey,
                       .closeAlgorithmProvider = close,
                       .destroyKey = destroy};
  return runKeyGeneration(platform);
}
