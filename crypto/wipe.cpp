#include "crypto/wipe.h"

#include <cstring>

namespace {
// Called through a volatile pointer: the compiler cannot prove what it points
// to, so it cannot remove a store to memory that is freed right after.
void* (*const volatile memsetFunction)(void*, int, std::size_t) = std::memset;
}  // namespace

void wipeBytes(void* data, std::size_t size) {
  if (data != nullptr && size != 0) {
    memsetFunction(data, 0, size);
  }
}
