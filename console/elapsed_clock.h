// The seconds clock: the source is chosen once, at the first reading, and a
// reading is a count turned into seconds. The choice and the arithmetic are
// plain functions; the platform only supplies the counts.
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

// What the platform supplies (clock_posix.cpp, clock_win32.cpp).
bool queryCounterFrequency(std::int64_t& countsPerSecond);
std::int64_t queryCounter();
std::uint32_t queryTickCount();
