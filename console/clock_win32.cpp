// The counts behind the seconds clock on Windows: the performance counter,
// and the millisecond tick count.
#include <windows.h>

#include "console/elapsed_clock.h"

bool queryCounterFrequency(std::int64_t& countsPerSecond) {
  LARGE_INTEGER frequency{};
  if (!QueryPerformanceFrequency(&frequency)) {
    return false;
  }
  countsPerSecond = frequency.QuadPart;
  return true;
}

std::int64_t queryCounter() {
  LARGE_INTEGER count{};
  QueryPerformanceCounter(&count);
  return count.QuadPart;
}

std::uint32_t queryTickCount() {
  return GetTickCount();
}
