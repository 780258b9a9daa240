// Random bytes straight from the kernel, in the form Nettle asks for them.
#pragma once

#include <cstddef>
#include <cstdint>

// Nettle's random callback cannot report failure: a failure is recorded here,
// and whatever was made from the bytes is thrown away by the caller.
struct RandomSource {
  bool failed = false;
};

// A nettle_random_func; `context` is a RandomSource. On failure the
// destination is zero-filled and the source marked failed.
void kernelRandom(void* context, std::size_t length, std::uint8_t* destination);
