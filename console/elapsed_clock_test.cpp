#include "console/elapsed_clock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "console/console.h"

namespace {

TEST(ElapsedClock, SourceChoice) {
  const struct {
    bool queried;
    std::int64_t frequency;
    ClockSource source;
  } cases[] = {
      {true, 1'000'000'000, ClockSource::PerformanceCounter},
      {true, 10'000'000, ClockSource::PerformanceCounter},
      {false, 1'000'000'000, ClockSource::TickCount},
      {true, 0, ClockSource::TickCount},
      {true, -5, ClockSource::TickCount},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooseClockSource(c.queried, c.frequency).source, c.source) << c.frequency;
  }
  EXPECT_DOUBLE_EQ(chooseClockSource(true, 10'000'000).secondsPerCount, 1e-7);
}

TEST(ElapsedClock, CounterReadingsInSeconds) {
  const double perCount = chooseClockSource(true, 1'000'000'000).secondsPerCount;
  EXPECT_DOUBLE_EQ(counterSeconds(1'500'000'000, perCount), 1.5);
  // A week of uptime in nanoseconds keeps sub-microsecond differences.
  const std::int64_t week = 604'800LL * 1'000'000'000LL;
  EXPECT_NEAR(counterSeconds(week + 567'800'000, perCount) - counterSeconds(week, perCount), 0.5678,
              1e-6);
}

TEST(ElapsedClock, TickReadingsAreMultiplesOfAMillisecond) {
  EXPECT_DOUBLE_EQ(tickSeconds(0), 0.0);
  EXPECT_DOUBLE_EQ(tickSeconds(1), 0.001);
  EXPECT_DOUBLE_EQ(tickSeconds(567), 0.567);
  // Across the wrap at 2^32 ms the difference is negative, uncorrected.
  EXPECT_LT(tickSeconds(5) - tickSeconds(0xFFFFFFF0u), 0.0);
  EXPECT_NEAR(tickSeconds(1235) - tickSeconds(1234), 0.001, 1e-12);
}

TEST(ElapsedClock, NowSecondsAdvancesMonotonically) {
  const double first = nowSeconds();
  const double second = nowSeconds();
  EXPECT_TRUE(std::isfinite(first));
  EXPECT_GE(second, first);
}

}  // namespace
