#include <string.h>

#include "crypto/wipe.h"

void wipeBytes(void* data, std::size_t size) {
  if (data != nullptr) {
    explicit_bzero(data, size);
  }
}
