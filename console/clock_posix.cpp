// The seconds clock on POSIX: the monotonic clock, which no change of the
// system's time moves.
#include <time.h>

#include "console/console.h"

double nowSeconds() {
  // On Linux clock_gettime fails only for a clock the kernel does not have or
  // a bad pointer, and CLOCK_MONOTONIC has been there since 2.6: there is no
  // other source to fall back on. Were it ever to fail, the reading would be
  // 0 and the time shown 0 ms or a wrong figure, never a crash.
  timespec now{};
  if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) {
    return 0.0;
  }
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
