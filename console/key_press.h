// Which Windows console input record counts as the awaited key press, and
// which console control events end the wait. Plain decisions over the values
// the console reports, so that they are tested on every platform; a POSIX
// terminal has its own (terminal_signals.h).
#pragma once

#include <cstdint>

// The fields of a keyboard input record that the decision reads.
struct KeyRecord {
  bool keyDown;
  std::uint16_t virtualKeyCode;
  char character;  // 0 when the key gives none
  std::uint32_t controlKeyState;
};

// True for a key-down that gives a character, F1 to F12, a key of the
// separate cursor and editing block, or a keypad cursor or editing key (Num
// Lock off) with no modifier held. Modifier and lock keys alone never count.
bool countsAsKeyPress(const KeyRecord& record);

// Console control events, with the platform's values.
enum class ControlEvent : std::uint32_t {
  CtrlC = 0,
  CtrlBreak = 1,
  Close = 2,
  Logoff = 5,
  Shutdown = 6,
};

// True when the event is taken as a key press and reported handled (close,
// logoff, shutdown); false when it is left to the system's default handling,
// which ends the process (Ctrl+C, Ctrl+Break and anything else).
bool controlEventIsKeyPress(std::uint32_t event);
