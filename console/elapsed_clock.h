// The seconds clock on Windows: the source is chosen once, at the first
// reading, and a reading is a count turned into seconds. The choice and the
// arithmetic are plain functions; clock_win32.cpp supplies the counts. (On
// POSIX the monotonic clock is read directly: clock_posix.cpp.)
#pragma once

#include <cstdint>

enum class ClockSource { Undecided, TickCount, PerformanceCounter };

struct ClockChoice {
  ClockSource source = ClockSource::Undecided;
  double secondsPerCount = 0.0;  // set with PerformanceCounter
};

// The choice after the counter's frequency query: the performance counter when
// the query succeeded with a usable frequency, the millisecond tick otherwise.
ClockChoice chooseClockSource(bool frequencyQueried, std::int64_t countsPerSecond);

// A counter reading in seconds.
double counterSeconds(std::int64_t count, double secondsPerCount);

// A 32-bit millisecond tick reading in seconds.
double tickSeconds(std::uint32_t milliseconds);
