// The control handler against a wait in progress. Wine cannot deliver close,
// logoff or shutdown to a console process, so the handler is called here as
// the system would call it: on a thread of its own while the run waits.
#include "console/control_handler_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "console/console.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The wait needs console input: a console of the test's own.
void useConsoleOfOurOwn() {
  // Under Wine a program started without a terminal has a console that
  // takes no input; whatever there is, it is left for one of our own.
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  const HANDLE input =
      CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(input, INVALID_HANDLE_VALUE);
  SetStdHandle(STD_INPUT_HANDLE, input);
}

TEST(ConsoleControlHandler, CloseLogoffAndShutdownEndTheWaitCtrlCAndBreakDoNot) {
  useConsoleOfOurOwn();
  for (const DWORD event :
       {DWORD{CTRL_CLOSE_EVENT}, DWORD{CTRL_LOGOFF_EVENT}, DWORD{CTRL_SHUTDOWN_EVENT}}) {
    std::atomic<bool> waitEnded{false};
    Clock::time_point endedAt;
    std::thread waiting([&] {
      waitForKeyPress();
      endedAt = Clock::now();
      waitEnded = true;
    });
    std::this_thread::sleep_for(200ms);

    for (const DWORD leftToTheSystem : {DWORD{CTRL_C_EVENT}, DWORD{CTRL_BREAK_EVENT}}) {
      BOOL handled = TRUE;
      std::thread([&] { handled = consoleControlHandler(leftToTheSystem); }).join();
      EXPECT_FALSE(handled) << leftToTheSystem;
    }
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(waitEnded) << "Ctrl+C or Ctrl+Break ended the wait";

    const Clock::time_point sent = Clock::now();
    std::atomic<bool> handlerReturned{false};
    BOOL handled = FALSE;
    std::thread system([&] {
      handled = consoleControlHandler(event);
      handlerReturned = true;
    });
    while (!waitEnded && Clock::now() - sent < 5s) {
      std::this_thread::sleep_for(5ms);
    }
    // The wait ends at its next poll, while the handler still holds the event
    // and so before the system would end the process.
    EXPECT_FALSE(handlerReturned) << event;
    system.join();
    if (!waitEnded) {
      waiting.detach();  // it never ends; the process's exit ends it
      FAIL() << "event " << event << " did not end the wait";
    }
    waiting.join();
    EXPECT_TRUE(handled) << event;
    EXPECT_LT(endedAt - sent, 1s) << event << ": about 50 ms at most, with room for a busy machine";
  }
}

}  // namespace
