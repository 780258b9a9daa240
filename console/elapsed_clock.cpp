#include "console/elapsed_clock.h"

ClockChoice chooseClockSource(bool frequencyQueried, std::int64_t countsPerSecond) {
  // A frequency of zero or less would give infinite or negative seconds.
  if (!frequencyQueried || countsPerSecond <= 0) {
    return {ClockSource::TickCount, 0.0};
  }
  return {ClockSource::PerformanceCounter, 1.0 / static_cast<double>(countsPerSecond)};
}

double counterSeconds(std::int64_t count, double secondsPerCount) {
  return static_cast<double>(count) * secondsPerCount;
}

double tickSeconds(std::uint32_t milliseconds) {
  return static_cast<double>(milliseconds) * 0.001;
}
