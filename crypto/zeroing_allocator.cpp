#include "crypto/zeroing_allocator.h"

#include <gmp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "crypto/wipe.h"

namespace {

[[noreturn]] void outOfMemory() {
  // GMP cannot continue without the memory it asked for; its own allocator
  // aborts here too.
  (void)std::fputs("tarnwick: out of memory in the big-number library\n", stderr);
  std::abort();
}

void* zeroingAllocate(std::size_t size) {
  void* block = std::malloc(size);
  if (block == nullptr) {
    outOfMemory();
  }
  return block;
}

void* zeroingReallocate(void* old, std::size_t oldSize, std::size_t newSize) {
  void* block = zeroingAllocate(newSize);
  std::memcpy(block, old, oldSize < newSize ? oldSize : newSize);
  wipeBytes(old, oldSize);
  std::free(old);
  return block;
}

void zeroingFree(void* block, std::size_t size) {
  wipeBytes(block, size);
  std::free(block);
}

}  // namespace

void useZeroingAllocator() {
  static std::once_flag once;
  std::call_once(once,
                 [] { mp_set_memory_functions(zeroingAllocate, zeroingReallocate, zeroingFree); });
}
