#include "app/key_generation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "testing/location_codes.h"
#include "testing/report.h"

namespace {

// A provider, console and file writer that play a script and record what the
// run asked of them, in order.
struct Script {
  unsigned failAt = 0;  // location code of the call that fails; 0: none fails
  NTSTATUS failStatus = 0;
  unsigned zeroSizeAt = 0;                             // size query that reports 0 bytes
  std::map<std::string, std::string> unwritableFiles;  // name: the reason given
  double clockReadings[2] = {10.0, 10.5};

  unsigned codedCalls = 0;
  int clockReads = 0;
  std::vector<std::string> events;  // provider calls, clock readings, files, the wait
  std::string transcript;           // console bytes
  std::map<std::string, std::vector<std::uint8_t>> files;
  std::map<std::string, std::vector<std::uint8_t>> exported;  // by blob type
};

Script* script = nullptr;

int providerObjects[2];
int keyObjects[2];

std::string narrow(const ProviderChar* text) {
  if (text == nullptr) {
    return "(null)";
  }
  std::string result;
  for (; *text != 0; ++text) {
    result += static_cast<char>(*text);
  }
  return result;
}

std::string handleName(const void* handle) {
  for (int i = 0; i < 2; ++i) {
    if (handle == &providerObjects[i]) {
      return "P" + std::to_string(i + 1);
    }
    if (handle == &keyObjects[i]) {
      return "K" + std::to_string(i + 1);
    }
  }
  return "?";
}

// Every coded call goes through here, with its code from the run's table:
// counts it and says whether it fails.
NTSTATUS codedCall(const std::string& event, LocationCode code) {
  script->events.push_back(event);
  ++script->codedCalls;
  return code == script->failAt ? script->failStatus : 0;
}

// The job of the fake provider or key handle.
const KeyPairJob& jobOf(const void* handle) {
  const bool second = handle == &providerObjects[1] || handle == &keyObjects[1];
  return keyPairJobs()[second ? 1 : 0];
}

std::uint32_t blobSizeOf(const std::string& type) {
  static const std::map<std::string, std::uint32_t> kSizes = {
      {"RSAPUBLICBLOB", 411},
      {"RSAPRIVATEBLOB", 795},
      {"ECCPUBLICBLOB", 72},
      {"ECCPRIVATEBLOB", 104},
  };
  return kSizes.at(type);
}

NTSTATUS fakeOpen(BCRYPT_ALG_HANDLE* provider, const ProviderChar* algorithm,
                  const ProviderChar* implementation, ULONG flags) {
  // The default implementation is asked for by an empty name, not a null one.
  const std::string impl = implementation == nullptr ? "null" : "'" + narrow(implementation) + "'";
  const KeyPairJob* job = jobForAlgorithm(algorithm);
  const NTSTATUS status =
      codedCall("open " + narrow(algorithm) + " " + impl + " " + std::to_string(flags),
                job != nullptr ? job->open : 0);
  if (status == 0) {
    *provider = &providerObjects[narrow(algorithm) == "RSA" ? 0 : 1];
  } else {
    *provider = &providerObjects[0];  // garbage the run must not release
  }
  return status;
}

NTSTATUS fakeGenerate(BCRYPT_ALG_HANDLE provider, BCRYPT_KEY_HANDLE* key, ULONG bits, ULONG flags) {
  const NTSTATUS status = codedCall(
      "generate " + handleName(provider) + " " + std::to_string(bits) + " " + std::to_string(flags),
      jobOf(provider).generate);
  *key = status == 0 ? &keyObjects[provider == &providerObjects[0] ? 0 : 1] : &keyObjects[0];
  return status;
}

NTSTATUS fakeFinalize(BCRYPT_KEY_HANDLE key, ULONG flags) {
  return codedCall("finalize " + handleName(key) + " " + std::to_string(flags),
                   jobOf(key).finalize);
}

// The platform's signature: a handle is a pointer to non-const.
// cppcheck-suppress constParameter
NTSTATUS fakeExport(BCRYPT_KEY_HANDLE key, BCRYPT_KEY_HANDLE exportKey, const ProviderChar* type,
                    PUCHAR output, ULONG outputSize, ULONG* result, ULONG flags) {
  const std::string blobType = narrow(type);
  const bool query = output == nullptr;
  std::string event = (query ? "size " : "export ") + handleName(key) + " " + blobType + " " +
                      std::to_string(outputSize) + " " + std::to_string(flags);
  if (exportKey != nullptr) {
    event += " with export key";
  }
  const BlobExport* blob = exportForBlobType(type);
  const LocationCode code = blob != nullptr ? exportCode(*blob, output) : 0;
  const NTSTATUS status = codedCall(event, code);
  if (status != 0) {
    return status;
  }
  const std::uint32_t size = blobSizeOf(blobType);
  if (query) {
    *result = code == script->zeroSizeAt ? 0 : size;
    return 0;
  }
  // The buffer comes zero-filled and exactly as large as the size query said.
  EXPECT_EQ(outputSize, size);
  EXPECT_EQ(std::vector<std::uint8_t>(output, output + outputSize),
            std::vector<std::uint8_t>(outputSize, 0))
      << blobType;
  for (std::uint32_t i = 0; i < outputSize; ++i) {
    output[i] = static_cast<std::uint8_t>(i * 7 + script->codedCalls);
  }
  script->exported[blobType].assign(output, output + outputSize);
  *result = size - 1;  // a count the run must not use to trim the blob
  return 0;
}

NTSTATUS fakeClose(BCRYPT_ALG_HANDLE provider, ULONG flags) {
  script->events.push_back("close " + handleName(provider) + " " + std::to_string(flags));
  return 0;
}

NTSTATUS fakeDestroy(BCRYPT_KEY_HANDLE key) {
  script->events.push_back("destroy " + handleName(key));
  return 0;
}

void fakeSetTitle(std::string_view text) {
  script->events.push_back("title " + std::string(text));
}
void fakePlace(int x, int y) {
  script->events.push_back("place " + std::to_string(x) + "," + std::to_string(y));
}
void fakeWriteText(std::string_view text) {
  script->transcript += text;
}
void fakeWriteLine(std::string_view text) {
  script->transcript += text;
  script->transcript += "\r\n";
}
void fakeWait() {
  script->events.push_back("wait after " + std::to_string(script->transcript.size()));
}
double fakeNow() {
  script->events.push_back("clock");
  return script->clockReadings[script->clockReads++];
}

WriteResult fakeWriteFile(const char* fileName, std::span<const std::uint8_t> bytes,
                          FileAccess access) {
  script->events.push_back(std::string("file ") + fileName +
                           (access == FileAccess::Private ? " private" : " public"));
  script->files[fileName].assign(bytes.begin(), bytes.end());
  const auto unwritable = script->unwritableFiles.find(fileName);
  if (unwritable != script->unwritableFiles.end()) {
    return {false, unwritable->second};
  }
  return {true, {}};
}

constexpr RunPlatform kScripted{
    .provider = {.openAlgorithmProvider = fakeOpen,
                 .generateKeyPair = fakeGenerate,
                 .finalizeKeyPair = fakeFinalize,
                 .exportKey = fakeExport,
                 .closeAlgorithmProvider = fakeClose,
                 .destroyKey = fakeDestroy},
    .console = {.setTitle = fakeSetTitle,
                .placeWindowOnTop = fakePlace,
                .writeText = fakeWriteText,
                .writeLine = fakeWriteLine,
                .waitForKeyPress = fakeWait,
                .nowSeconds = fakeNow},
    .writeBlobFile = fakeWriteFile,
};

// The run's fourteen coded calls, in order, as the scripted provider logs them.
const std::vector<std::string> kCodedCalls = {
    "open RSA '' 0",
    "generate P1 3072 0",
    "finalize K1 0",
    "size K1 RSAPUBLICBLOB 0 0",
    "export K1 RSAPUBLICBLOB 411 0",
    "size K1 RSAPRIVATEBLOB 0 0",
    "export K1 RSAPRIVATEBLOB 795 0",
    "open ECDSA_P256 '' 0",
    "generate P2 256 0",
    "finalize K2 0",
    "size K2 ECCPUBLICBLOB 0 0",
    "export K2 ECCPUBLICBLOB 72 0",
    "size K2 ECCPRIVATEBLOB 0 0",
    "export K2 ECCPRIVATEBLOB 104 0",
};

// The file events of the four blobs: each file with the access asked for.
const char* const kFileEvents[] = {"file RSAPublicKey.dat public", "file RSAPrivateKey.dat private",
                                   "file ECDSAPublicKey.dat public",
                                   "file ECDSAPrivateKey.dat private"};

class KeyGenerationRunTest : public ::testing::Test {
 protected:
  void SetUp() override { script = &script_; }
  void TearDown() override { script = nullptr; }

  // Provider calls and files, in order, without console or clock events.
  std::vector<std::string> providerAndFileEvents() const {
    std::vector<std::string> out;
    std::copy_if(script_.events.begin(), script_.events.end(), std::back_inserter(out),
                 [](const std::string& event) {
                   return event != "clock" && event.rfind("title", 0) != 0 &&
                          event.rfind("place", 0) != 0 && event.rfind("wait", 0) != 0;
                 });
    return out;
  }

  Script script_;
};

struct FailureCase {
  unsigned failAt;
  std::uint32_t status;
  const char* statusText;
  int blobsWritten;                   // blobs exported before the failure
  std::vector<std::string> releases;  // by the clean-up, in order
};

void PrintTo(const FailureCase& c, std::ostream* out) {
  *out << "failure at " << c.failAt;
}

class FailureAtEachCode : public KeyGenerationRunTest,
                          public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureAtEachCode, StopsReportsReleasesAndExitsOne) {
  const FailureCase& c = GetParam();
  script_.failAt = c.failAt;
  script_.failStatus = static_cast<NTSTATUS>(c.status);

  EXPECT_EQ(runKeyGeneration(kScripted), 1);

  std::vector<std::string> events;
  int blobIndex = 0;
  for (unsigned code = 10; code <= c.failAt; code += 10) {
    const std::string& call = kCodedCalls[code / 10 - 1];
    events.push_back(call);
    if (call.rfind("export", 0) == 0 && code != c.failAt) {
      events.push_back(kFileEvents[blobIndex++]);
    }
    if (code == 70 && c.failAt > 70) {
      events.insert(events.end(), {"close P1 0", "destroy K1"});
    }
  }
  events.insert(events.end(), c.releases.begin(), c.releases.end());
  const std::string expected = failureReport(c.blobsWritten, c.failAt, c.statusText);

  EXPECT_EQ(blobIndex, c.blobsWritten);
  EXPECT_EQ(script_.transcript, expected);
  EXPECT_EQ(providerAndFileEvents(), events);
  EXPECT_EQ(script_.clockReads, 1) << "no clock reading after a failure";
  EXPECT_EQ(script_.events.back(), "wait after " + std::to_string(expected.size()));
}

const std::vector<std::string> kRsaHeld = {"close P1 0", "destroy K1"};
const std::vector<std::string> kEcdsaHeld = {"close P2 0", "destroy K2"};

INSTANTIATE_TEST_SUITE_P(
    Codes, FailureAtEachCode,
    ::testing::Values(FailureCase{10, 0xC0000225u, "C0000225", 0, {}},
                      FailureCase{20, 0xC000000Du, "C000000D", 0, {"close P1 0"}},
                      FailureCase{30, 0x103u, "103", 0, kRsaHeld},
                      FailureCase{40, 0xC0000017u, "C0000017", 0, kRsaHeld},
                      FailureCase{50, 0xC0000023u, "C0000023", 0, kRsaHeld},
                      FailureCase{60, 0x80000005u, "80000005", 1, kRsaHeld},
                      FailureCase{70, 1u, "1", 1, kRsaHeld},
                      FailureCase{80, 0xC0000225u, "C0000225", 2, {}},
                      FailureCase{90, 0xFFFFFFFFu, "FFFFFFFF", 2, {"close P2 0"}},
                      FailureCase{100, 0xC00000E5u, "C00000E5", 2, kEcdsaHeld},
                      FailureCase{110, 0x40000000u, "40000000", 2, kEcdsaHeld},
                      FailureCase{120, 0xC0000008u, "C0000008", 2, kEcdsaHeld},
                      FailureCase{130, 0xC000000Du, "C000000D", 3, kEcdsaHeld},
                      FailureCase{140, 0xC0000023u, "C0000023", 3, kEcdsaHeld}),
    [](const ::testing::TestParamInfo<FailureCase>& param) {
      return "At" + std::to_string(param.param.failAt);
    });

TEST_F(KeyGenerationRunTest, SuccessWritesFourFilesAndTheTimeInOrder) {
  script_.clockReadings[0] = 100.0;
  script_.clockReadings[1] = 100.5678;

  EXPECT_EQ(runKeyGeneration(kScripted), 0);

  EXPECT_EQ(script_.transcript, successReport({}, "567"));
  std::vector<std::string> expected = {"title Tarnwick", "place 200,400", "clock"};
  int blob = 0;
  for (const std::string& call : kCodedCalls) {
    expected.push_back(call);
    if (call.rfind("export", 0) == 0) {
      expected.push_back(kFileEvents[blob++]);
    }
    if (call == "export K1 RSAPRIVATEBLOB 795 0") {
      expected.insert(expected.end(), kRsaHeld.begin(), kRsaHeld.end());
    }
  }
  expected.push_back("clock");
  expected.insert(expected.end(), kEcdsaHeld.begin(), kEcdsaHeld.end());
  expected.push_back("wait after " + std::to_string(script_.transcript.size()));
  EXPECT_EQ(script_.events, expected);

  // Each file gets the whole blob, not the shorter count the export wrote back.
  EXPECT_EQ(script_.files["RSAPublicKey.dat"], script_.exported["RSAPUBLICBLOB"]);
  EXPECT_EQ(script_.files["RSAPrivateKey.dat"], script_.exported["RSAPRIVATEBLOB"]);
  EXPECT_EQ(script_.files["ECDSAPublicKey.dat"], script_.exported["ECCPUBLICBLOB"]);
  EXPECT_EQ(script_.files["ECDSAPrivateKey.dat"], script_.exported["ECCPRIVATEBLOB"]);
  EXPECT_EQ(script_.files["ECDSAPrivateKey.dat"].size(), 104u);
}

TEST_F(KeyGenerationRunTest, FileThatCannotBeWrittenIsReportedAndTheRunGoesOn) {
  script_.unwritableFiles = {{"RSAPrivateKey.dat", "Permission denied"},
                             {"ECDSAPrivateKey.dat", "a symbolic link is in its place"}};
  script_.clockReadings[1] = 10.0;

  EXPECT_EQ(runKeyGeneration(kScripted), 1);

  EXPECT_EQ(script_.transcript,
            successReport(
                {nullptr, "Permission denied", nullptr, "a symbolic link is in its place"}, "0"));
  EXPECT_EQ(script_.files.size(), 4u);
}

TEST_F(KeyGenerationRunTest, SizeQueryReportingZeroBytesFailsAtItsCode) {
  script_.zeroSizeAt = 110;

  EXPECT_EQ(runKeyGeneration(kScripted), 1);

  EXPECT_EQ(script_.transcript, failureReport(2, 110, "C0000206"));
  EXPECT_EQ(providerAndFileEvents().back(), "destroy K2");
  EXPECT_EQ(script_.codedCalls, 11u) << "no export after the failed size query";
}

TEST_F(KeyGenerationRunTest, ClockThatWentBackShowsMinusOneWithoutSpace) {
  script_.clockReadings[0] = 5.0;
  script_.clockReadings[1] = 4.9995;

  EXPECT_EQ(runKeyGeneration(kScripted), 0);

  EXPECT_EQ(script_.transcript, successReport({}, "-1"));
}

}  // namespace
