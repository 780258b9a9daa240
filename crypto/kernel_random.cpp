#include "crypto/kernel_random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>

void kernelRandom(void* context, std::size_t length, std::uint8_t* destination) {
  auto* source = static_cast<RandomSource*>(context);
  while (length > 0) {
    const ssize_t got = getrandom(destination, length, 0);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      source->failed = true;
      std::memset(destination, 0, length);
      return;
    }
    destination += got;
    length -= static_cast<std::size_t>(got);
  }
}
