#include "testing/location_codes.h"

#include <algorithm>
#include <string_view>

namespace {

std::basic_string_view<ProviderChar> text(const ProviderChar* characters) {
  return characters == nullptr ? std::basic_string_view<ProviderChar>() : characters;
}

}  // namespace

const KeyPairJob* jobForAlgorithm(const ProviderChar* algorithm) {
  const std::span<const KeyPairJob> jobs = keyPairJobs();
  const auto found = std::find_if(jobs.begin(), jobs.end(), [&](const KeyPairJob& job) {
    return algorithm != nullptr && text(job.algorithm) == text(algorithm);
  });
  return found != jobs.end() ? &*found : nullptr;
}

const BlobExport* exportForBlobType(const ProviderChar* blobType) {
  for (const KeyPairJob& job : keyPairJobs()) {
    const BlobExport* const found =
        std::find_if(std::begin(job.exports), std::end(job.exports), [&](const BlobExport& blob) {
          return blobType != nullptr && text(blob.blobType) == text(blobType);
        });
    if (found != std::end(job.exports)) {
      return found;
    }
  }
  return nullptr;
}

LocationCode exportCode(const BlobExport& blob, const void* output) {
  return output == nullptr ? blob.sizeQuery : blob.exportCall;
}
