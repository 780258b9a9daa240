// Console services on a POSIX terminal.
//
// Output goes to standard output's descriptor, unbuffered. Window requests go
// to the controlling terminal, never into standard output. When standard input
// is the terminal, it is switched to non-canonical, no-echo input at the first
// console use, so that a key typed while the keys are being generated is taken
// by the first poll of the wait; the saved settings come back on every way out.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "console/console.h"
#include "console/terminal_requests.h"
#include "console/terminal_signals.h"

namespace {

constexpr int kInput = STDIN_FILENO;
constexpr int kOutput = STDOUT_FILENO;
constexpr long kPollIntervalNanoseconds = 50'000'000;

// Shared with the signal handlers: written before they are installed, or
// only of type sig_atomic_t.
bool firstUseDone = false;
volatile sig_atomic_t waitStarted = 0;
termios savedSettings{};
volatile sig_atomic_t settingsChanged = 0;
volatile sig_atomic_t keyPressed = 0;

bool inForeground() {
  return tcgetpgrp(kInput) == getpgrp();
}

void restoreTerminal() {
  if (settingsChanged != 0) {
    tcsetattr(kInput, TCSANOW, &savedSettings);
  }
}

// Non-canonical, no echo; the signal keys (Ctrl+C, Ctrl+\, Ctrl+Z) still work.
void applyKeySettings() {
  termios settings = savedSettings;
  settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  settingsChanged = 1;
  if (tcsetattr(kInput, TCSANOW, &settings) != 0) {
    settingsChanged = 0;
  }
}

void setHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

bool isIgnored(int signal) {
  struct sigaction current {};
  return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

// Restores the terminal, then ends the process by the same signal, with its
// default action: the signal is blocked while this runs and is delivered
// again as the handler returns.
void restoreAndDie(int signal) {
  restoreTerminal();
  setHandler(signal, SIG_DFL);
  if (raise(signal) != 0) {
    _exit(128 + signal);  // as the shell would report the signal
  }
}

// Until the wait begins each terminal signal restores the terminal and ends
// the process; from the first poll on, those that stand for the terminal
// closing or the session ending count as a key press.
void onTerminalSignal(int signal) {
  if (waitStarted != 0 && signalIsKeyPress(signal)) {
    keyPressed = 1;
    return;
  }
  restoreAndDie(signal);
}

// Ctrl+Z: give the terminal back as it was while stopped, take it again when
// continued in the foreground.
void onStop(int signal) {
  const int savedErrno = errno;
  restoreTerminal();
  setHandler(signal, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, signal);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  (void)raise(signal);  // if it fails, the process simply goes on
  // Continued.
  setHandler(signal, onStop);
  if (inForeground()) {
    applyKeySettings();
  }
  errno = savedErrno;
}

void firstUse() {
  if (firstUseDone) {
    return;
  }
  firstUseDone = true;
  // A reader that went away must not end the run: its writes fail instead.
  (void)signal(SIGPIPE, SIG_IGN);  // the former disposition is not needed
  if (!isatty(kInput) || !inForeground() || tcgetattr(kInput, &savedSettings) != 0) {
    return;
  }
  for (const int signal : terminalSignals()) {
    if (!isIgnored(signal)) {
      setHandler(signal, onTerminalSignal);
    }
  }
  if (!isIgnored(SIGTSTP)) {
    setHandler(SIGTSTP, onStop);
  }
  // Settings that could not be restored at exit are better not changed.
  if (std::atexit(restoreTerminal) != 0) {
    return;
  }
  applyKeySettings();
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return;  // the rest of this write is dropped
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Sends a window request to the controlling terminal, if there is one that
// understands it.
void requestFromTerminal(const std::string& request) {
  if (!terminalTakesWindowRequests(std::getenv("TERM"))) {
    return;
  }
  const int terminal = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (terminal < 0) {
    return;
  }
  writeAll(terminal, request);
  close(terminal);
}

enum class PollResult { Nothing, KeyPressed, InputClosed };

// Reads and drops every byte queued. Any byte is a key press: a terminal sends
// nothing for a modifier key alone.
PollResult drainInput() {
  PollResult result = PollResult::Nothing;
  for (;;) {
    pollfd input{kInput, POLLIN, 0};
    const int ready = poll(&input, 1, 0);
    if (ready < 0) {
      return errno == EINTR ? result : PollResult::InputClosed;
    }
    if (ready == 0) {
      return result;
    }
    if ((input.revents & POLLIN) == 0) {
      return PollResult::InputClosed;  // hung up, error or not open
    }
    char bytes[256];
    const ssize_t got = read(kInput, bytes, sizeof bytes);
    if (got > 0) {
      result = PollResult::KeyPressed;
    } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
      return PollResult::InputClosed;
    }
  }
}

}  // namespace

void setTitle(std::string_view text) {
  requestFromTerminal(titleRequest(text));
}

void placeWindowOnTop(int x, int y) {
  // A terminal can be asked to move its window; there is no request that keeps
  // it above other windows.
  requestFromTerminal(moveWindowRequest(x, y));
}

void writeText(std::string_view text) {
  firstUse();
  writeAll(kOutput, text);
}

void waitForKeyPress() {
  firstUse();
  if (!isatty(kInput)) {
    return;  // no key can ever come
  }
  waitStarted = 1;
  for (;;) {
    // Input that can never deliver a key (the terminal hung up) ends the wait
    // too; the hang-up signal says the same.
    if (drainInput() != PollResult::Nothing || keyPressed != 0) {
      keyPressed = 0;
      return;
    }
    const timespec interval{0, kPollIntervalNanoseconds};
    nanosleep(&interval, nullptr);
  }
}
