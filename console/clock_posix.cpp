// The counts behind the seconds clock on POSIX: the monotonic clock in
// nanoseconds stands for the performance counter.
#include <time.h>

#include "console/elapsed_clock.h"

namespace {
constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
}  // namespace

bool queryCounterFrequency(std::int64_t& countsPerSecond) {
  timespec now{};
  if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) {
    return false;
  }
  countsPerSecond = kNanosecondsPerSecond;
  return true;
}

std::int64_t queryCounter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);  // works, as the frequency query showed
  return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

std::uint32_t queryTickCount() {
  // Only used where the monotonic clock failed: the wall clock's milliseconds,
  // wrapping at 2^32 like the platform's tick count.
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                            static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
  return static_cast<std::uint32_t>(milliseconds);
}
