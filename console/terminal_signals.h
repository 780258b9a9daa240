// The signals that the console services take over on a POSIX terminal, and
// what each does once the key wait has begun. A plain decision over signal
// numbers; console_posix.cpp installs the handlers.
#pragma once

#include <span>

// The signals caught while the terminal's settings are changed: before the
// wait, each restores the settings and ends the process by that signal.
std::span<const int> terminalSignals();

// True for a signal that, during the wait, counts as a key press and ends
// the wait normally: the terminal closing (SIGHUP) or the session ending
// (SIGTERM). Ctrl+C (SIGINT) and Ctrl+\ (SIGQUIT) end the process, as does
// anything else.
bool signalIsKeyPress(int signal);
