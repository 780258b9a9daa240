#include "app/system_platform.h"

#include "console/console.h"
#include "output/blob_file_writer.h"

RunPlatform systemPlatform() {
  return {
      .provider = {.openAlgorithmProvider = BCryptOpenAlgorithmProvider,
                   .generateKeyPair = BCryptGenerateKeyPair,
                   .finalizeKeyPair = BCryptFinalizeKeyPair,
                   .exportKey = BCryptExportKey,
                   .closeAlgorithmProvider = BCryptCloseAlgorithmProvider,
                   .destroyKey = BCryptDestroyKey},
      .console = {.setTitle = setTitle,
                  .placeWindowOnTop = placeWindowOnTop,
                  .writeText = writeText,
                  .writeLine = writeLine,
                  .waitForKeyPress = waitForKeyPress,
                  .nowSeconds = nowSeconds},
      .writeBlobFile = writeBlobFile,
  };
}
