#include "console/terminal_signals.h"

#include <signal.h>

namespace {
constexpr int kTerminalSignals[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM};
}  // namespace

std::span<const int> terminalSignals() {
  return kTerminalSignals;
}

bool signalIsKeyPress(int signal) {
  return signal == SIGHUP || signal == SIGTERM;
}
