// tarnwick: creates an RSA 3072 and an ECDSA P-256 key pair with the system's
// cryptography provider and writes the public and private blob of each to a
// file in the current directory. Takes no arguments; any are ignored.

#include "app/key_generation_run.h"
#include "console/console.h"
#include "output/blob_file_writer.h"

int main() {
  const RunPlatform platform{
      {BCryptOpenAlgorithmProvider, BCryptGenerateKeyPair, BCryptFinalizeKeyPair, BCryptExportKey,
       BCryptCloseAlgorithmProvider, BCryptDestroyKey},
      {setTitle, placeWindowOnTop, writeText, writeLine, waitForKeyPress, nowSeconds},
      writeBlobFile,
  };
  return runKeyGeneration(platform);
}
