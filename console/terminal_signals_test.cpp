#include "console/terminal_signals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

namespace {

TEST(TerminalSignals, OnlyHangUpAndTerminationAreKeyPresses) {
  const struct {
    int signal;
    bool caught;
    bool keyPress;
  } cases[] = {
      {SIGHUP, true, true},    {SIGTERM, true, true},   {SIGINT, true, false},
      {SIGQUIT, true, false},  {SIGTSTP, false, false}, {SIGUSR1, false, false},
      {SIGPIPE, false, false}, {SIGALRM, false, false},
  };
  const std::span<const int> caught = terminalSignals();
  for (const auto& c : cases) {
    EXPECT_EQ(std::find(caught.begin(), caught.end(), c.signal) != caught.end(), c.caught)
        << c.signal;
    EXPECT_EQ(signalIsKeyPress(c.signal), c.keyPress) << c.signal;
  }
}

}  // namespace
