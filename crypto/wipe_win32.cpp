#include <windows.h>

#include "crypto/wipe.h"

void wipeBytes(void* data, std::size_t size) {
  if (data != nullptr) {
    SecureZeroMemory(data, size);
  }
}
