#include "console/elapsed_clock.h"

#include "console/console.h"

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

double nowSeconds() {
  static ClockChoice choice;
  if (choice.source == ClockSource::Undecided) {
    std::int64_t countsPerSecond = 0;
    const bool queried = queryCounterFrequency(countsPerSecond);
    choice = chooseClockSource(queried, countsPerSecond);
  }
  if (choice.source == ClockSource::PerformanceCounter) {
    return counterSeconds(queryCounter(), choice.secondsPerCount);
  }
  return tickSeconds(queryTickCount());
}
