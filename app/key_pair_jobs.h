// The run's table: the two key pairs it makes, the four blobs it exports and
// writes, and the location code of each provider call whose status it
// examines. Fixed; the fakes of the tests read their location codes here.
#pragma once

#include <span>

#include "crypto/provider.h"
#include "output/blob_file_writer.h"

// The number of the provider call that failed, 10 to 140, as reported.
using LocationCode = unsigned;

struct BlobExport {
  const ProviderChar* blobType;
  LocationCode sizeQuery;
  LocationCode exportCall;
  const char* fileName;
  const char* progressMessage;
  FileAccess access;  // private blobs go to files for their owner only
};

struct KeyPairJob {
  const ProviderChar* algorithm;
  ULONG keyBits;
  LocationCode open;
  LocationCode generate;
  LocationCode finalize;
  BlobExport exports[2];  // public first
};

// RSA 3072, then ECDSA P-256: the order in which the run makes them.
std::span<const KeyPairJob> keyPairJobs();

// The default implementation: a pointer to an empty string, not a null
// pointer.
const ProviderChar* defaultImplementation();
