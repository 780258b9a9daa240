// Which location code a provider call has, read from the run's table, for
// fakes that fail or count a chosen call.
#pragma once

#include "app/key_pair_jobs.h"

// The job that opens `algorithm`, or null.
const KeyPairJob* jobForAlgorithm(const ProviderChar* algorithm);

// The export of `blobType`, or null.
const BlobExport* exportForBlobType(const ProviderChar* blobType);

// The code of an export call: its size query when `output` is null.
LocationCode exportCode(const BlobExport& blob, const void* output);
