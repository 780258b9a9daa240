#include "app/key_generation_run.h"

#include <string>

#include "app/export_buffer.h"
#include "app/key_pair_jobs.h"
#include "app/text_forms.h"

namespace {

constexpr int kWindowX = 200;
constexpr int kWindowY = 400;

// The first failing provider call; status 0 when every call succeeded.
struct Outcome {
  NTSTATUS status = 0;
  LocationCode location = 0;
  bool failed() const { return status != 0; }
};

class KeyGenerationRun {
 public:
  explicit KeyGenerationRun(const RunPlatform& platform)
      : calls_(platform.provider),
        console_(platform.console),
        writeBlobFile_(platform.writeBlobFile) {}

  int run() {
    console_.setTitle("Tarnwick");
    console_.placeWindowOnTop(kWindowX, kWindowY);
    console_.writeLine("Please wait");
    console_.writeLine("");
    startSeconds_ = console_.nowSeconds();

    // The RSA job's handles are released before the ECDSA job begins; the
    // ECDSA job's are released by the clean-up below.
    const std::span<const KeyPairJob> jobs = keyPairJobs();
    Outcome outcome = runJob(jobs[0]);
    if (!outcome.failed()) {
      releaseHandles();
      outcome = runJob(jobs[1]);
    }
    if (outcome.failed()) {
      reportFailure(outcome);
    } else {
      reportTime();
    }

    releaseHandles();
    console_.writeLine("");
    console_.writeLine("Press any key");
    console_.waitForKeyPress();
    buffer_.release();
    return outcome.failed() || !allFilesWritten_ ? 1 : 0;
  }

 private:
  Outcome runJob(const KeyPairJob& job) {
    // A handle is held only from the successful return of the call that makes
    // it: whatever a failing call left in its out-parameter is never released.
    BCRYPT_ALG_HANDLE opened = nullptr;
    NTSTATUS status =
        calls_.openAlgorithmProvider(&opened, job.algorithm, defaultImplementation(), 0);
    if (status != 0) {
      return {status, job.open};
    }
    provider_ = opened;
    BCRYPT_KEY_HANDLE generated = nullptr;
    status = calls_.generateKeyPair(provider_, &generated, job.keyBits, 0);
    if (status != 0) {
      return {status, job.generate};
    }
    key_ = generated;
    status = calls_.finalizeKeyPair(key_, 0);
    if (status != 0) {
      return {status, job.finalize};
    }
    for (const BlobExport& blob : job.exports) {
      const Outcome outcome = exportBlob(blob);
      if (outcome.failed()) {
        return outcome;
      }
    }
    return {};
  }

  Outcome exportBlob(const BlobExport& blob) {
    NTSTATUS status = calls_.exportKey(key_, nullptr, blob.blobType, nullptr, 0, &blobSize_, 0);
    if (status != 0) {
      return {status, blob.sizeQuery};
    }
    if (blobSize_ == 0) {
      return {static_cast<NTSTATUS>(kStatusInvalidBufferSize), blob.sizeQuery};
    }
    if (!buffer_.resize(blobSize_)) {
      return {static_cast<NTSTATUS>(kStatusNoMemory), blob.sizeQuery};
    }
    status = calls_.exportKey(key_, nullptr, blob.blobType, buffer_.data(),
                              static_cast<ULONG>(buffer_.size()), &blobSize_, 0);
    if (status != 0) {
      return {status, blob.exportCall};
    }
    // The whole buffer, as large as the size query said, whatever count the
    // export wrote back.
    const WriteResult file = writeBlobFile_(blob.fileName, buffer_.bytes(), blob.access);
    console_.writeLine(blob.progressMessage);
    console_.writeLine("");
    if (!file.written) {
      allFilesWritten_ = false;
      console_.writeText("Could not write ");
      console_.writeText(blob.fileName);
      console_.writeText(": ");
      console_.writeLine(file.reason);
      console_.writeLine("");
    }
    return {};
  }

  // Provider first, then key; each released once and empty afterwards.
  void releaseHandles() {
    if (provider_ != nullptr) {
      calls_.closeAlgorithmProvider(provider_, 0);
      provider_ = nullptr;
    }
    if (key_ != nullptr) {
      calls_.destroyKey(key_);
      key_ = nullptr;
    }
  }

  void reportFailure(const Outcome& outcome) const {
    console_.writeText("Error at location " + decimalText(outcome.location));
    console_.writeText(", Windows error code ");
    console_.writeLine(hexText(static_cast<std::uint32_t>(outcome.status)));
  }

  void reportTime() const {
    const double elapsed = console_.nowSeconds() - startSeconds_;
    console_.writeText("Time taken:");
    console_.writeText(elapsedText(wholeMilliseconds(elapsed)));
    console_.writeLine("ms");
  }

  const ProviderCalls& calls_;
  const ConsoleCalls& console_;
  WriteBlobFileCall writeBlobFile_;

  BCRYPT_ALG_HANDLE provider_ = nullptr;
  BCRYPT_KEY_HANDLE key_ = nullptr;
  ULONG blobSize_ = 0;
  ExportBuffer buffer_;
  double startSeconds_ = 0.0;
  bool allFilesWritten_ = true;
};

}  // namespace

int runKeyGeneration(const RunPlatform& platform) {
  return KeyGenerationRun(platform).run();
}
