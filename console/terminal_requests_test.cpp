#include "console/terminal_requests.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalRequests, WhichTerminalsTakeWindowRequests) {
  const struct {
    const char* term;
    bool takes;
  } cases[] = {
      {nullptr, false},        {"", false},      {"dumb", false},
      {"linux", false},        {"xterm", true},  {"xterm-256color", true},
      {"tmux-256color", true}, {"screen", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(terminalTakesWindowRequests(c.term), c.takes) << (c.term ? c.term : "(unset)");
  }
}

TEST(TerminalRequests, TitleRequestCarriesOnlyPrintableText) {
  EXPECT_EQ(titleRequest("Tarnwick"), "\x1b]2;Tarnwick\a");
  EXPECT_EQ(titleRequest("a\x1b]0;b\a\x7f c"), "\x1b]2;a]0;b c\a");
  EXPECT_EQ(titleRequest(""), "\x1b]2;\a");
}

TEST(TerminalRequests, MoveWindowRequest) {
  EXPECT_EQ(moveWindowRequest(200, 400), "\x1b[3;200;400t");
  EXPECT_EQ(moveWindowRequest(-5, 0), "\x1b[3;-5;0t");
}

}  // namespace
