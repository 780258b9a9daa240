// The seconds clock on Windows: the performance counter, or the millisecond
// tick count when the counter's frequency cannot be had. The choice is made
// at the first reading and kept.
#include <windows.h>

#include "console/console.h"
#include "console/elapsed_clock.h"

double nowSeconds() {
  static ClockChoice choice;
  if (choice.source == ClockSource::Undecided) {
    LARGE_INTEGER frequency{};
    const bool queried = QueryPerformanceFrequency(&frequency) != 0;
    choice = chooseClockSource(queried, frequency.QuadPart);
  }
  if (choice.source == ClockSource::PerformanceCounter) {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);  // cannot fail once the frequency query has succeeded
    return counterSeconds(count.QuadPart, choice.secondsPerCount);
  }
  return tickSeconds(GetTickCount());
}
