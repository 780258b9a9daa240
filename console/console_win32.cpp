// Console services on the Windows console and window manager.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "console/console.h"
#include "console/control_handler_win32.h"
#include "console/key_press.h"

namespace {

constexpr DWORD kPollIntervalMilliseconds = 50;
// How long the control handler holds a close, logoff or shutdown event, so that
// the wait can end and the process exit on its own; the system ends the
// process itself some seconds after the handler returns.
constexpr DWORD kCloseGraceMilliseconds = 2000;

HANDLE inputHandle = nullptr;
HANDLE outputHandle = nullptr;
bool handlesTaken = false;
bool handlerInstalled = false;
// Set by the control handler on the system's thread, read and cleared by the
// waiting thread.
volatile LONG keyPressed = 0;

void firstUse() {
  if (handlesTaken) {
    return;
  }
  handlesTaken = true;
  inputHandle = GetStdHandle(STD_INPUT_HANDLE);
  outputHandle = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (inputHandle != nullptr && GetConsoleMode(inputHandle, &mode)) {
    // With processed input, Ctrl+C is a control event, never a key record.
    SetConsoleMode(inputHandle, mode | ENABLE_PROCESSED_INPUT);
  }
}

void removeControlHandler() {
  SetConsoleCtrlHandler(consoleControlHandler, FALSE);
}

bool inputIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(inputHandle, &mode) != 0;
}

// Reads every queued input record; key records that count set keyPressed.
void poll() {
  if (!handlerInstalled) {
    handlerInstalled = true;
    std::atexit(removeControlHandler);
    SetConsoleCtrlHandler(consoleControlHandler, TRUE);
  }
  for (;;) {
    INPUT_RECORD record{};
    DWORD queued = 0;
    if (!PeekConsoleInputA(inputHandle, &record, 1, &queued) || queued == 0) {
      return;
    }
    DWORD read = 0;
    if (!ReadConsoleInputA(inputHandle, &record, 1, &read) || read == 0) {
      return;
    }
    if (record.EventType != KEY_EVENT) {
      continue;
    }
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (countsAsKeyPress(
            {key.bKeyDown != 0, key.wVirtualKeyCode, key.uChar.AsciiChar, key.dwControlKeyState})) {
      InterlockedExchange(&keyPressed, 1);
    }
  }
}

}  // namespace

BOOL WINAPI consoleControlHandler(DWORD event) {
  if (!controlEventIsKeyPress(event)) {
    return FALSE;  // the system's default handling ends the process
  }
  InterlockedExchange(&keyPressed, 1);
  Sleep(kCloseGraceMilliseconds);
  return TRUE;
}

void setTitle(std::string_view text) {
  SetConsoleTitleA(std::string(text).c_str());
}

void placeWindowOnTop(int x, int y) {
  SetWindowPos(GetConsoleWindow(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
}

void writeText(std::string_view text) {
  firstUse();
  CONSOLE_SCREEN_BUFFER_INFO info;
  const bool console = GetConsoleScreenBufferInfo(outputHandle, &info) != 0;
  while (!text.empty()) {
    DWORD written = 0;
    const auto count = static_cast<DWORD>(text.size());
    const BOOL ok = console ? WriteConsoleA(outputHandle, text.data(), count, &written, nullptr)
                            : WriteFile(outputHandle, text.data(), count, &written, nullptr);
    if (!ok || written == 0) {
      return;  // the rest of this write is dropped
    }
    text.remove_prefix(written);
  }
}

void waitForKeyPress() {
  firstUse();
  if (!inputIsConsole()) {
    return;  // no key record can ever arrive
  }
  for (;;) {
    poll();
    if (InterlockedExchange(&keyPressed, 0) != 0) {
      return;
    }
    Sleep(kPollIntervalMilliseconds);
  }
}
