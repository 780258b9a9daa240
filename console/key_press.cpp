#include "console/key_press.h"

namespace {

// Virtual-key codes and control-key state bits, as the platform numbers them.
// 0x21..0x28: Page Up, Page Down, End, Home, Left, Up, Right, Down;
// 0x29..0x2C: Select, Print, Execute, Print Screen; 0x2D, 0x2E: Insert, Delete.
constexpr std::uint16_t kPageUp = 0x21;
constexpr std::uint16_t kSelect = 0x29;
constexpr std::uint16_t kSnapshot = 0x2C;
constexpr std::uint16_t kDelete = 0x2E;
constexpr std::uint16_t kF1 = 0x70;
constexpr std::uint16_t kF12 = 0x7B;

constexpr std::uint32_t kRightAlt = 0x0001;
constexpr std::uint32_t kLeftAlt = 0x0002;
constexpr std::uint32_t kRightCtrl = 0x0004;
constexpr std::uint32_t kLeftCtrl = 0x0008;
constexpr std::uint32_t kShift = 0x0010;
constexpr std::uint32_t kEnhancedKey = 0x0100;
constexpr std::uint32_t kModifiers = kRightAlt | kLeftAlt | kRightCtrl | kLeftCtrl | kShift;

// Page Up, Page Down, End, Home, the four arrows, Insert and Delete.
bool isCursorOrEditingKey(std::uint16_t code) {
  if (code < kPageUp || code > kDelete) {
    return false;
  }
  return code < kSelect || code > kSnapshot;
}

}  // namespace

bool countsAsKeyPress(const KeyRecord& record) {
  if (!record.keyDown) {
    return false;
  }
  if (record.character != 0) {
    return true;
  }
  if (record.virtualKeyCode >= kF1 && record.virtualKeyCode <= kF12) {
    return true;
  }
  if (!isCursorOrEditingKey(record.virtualKeyCode)) {
    return false;
  }
  // The separate block sends enhanced keys; the keypad's keys are not.
  if ((record.controlKeyState & kEnhancedKey) != 0) {
    return true;
  }
  return (record.controlKeyState & kModifiers) == 0;
}

bool controlEventIsKeyPress(std::uint32_t event) {
  switch (static_cast<ControlEvent>(event)) {
    case ControlEvent::Close:
    case ControlEvent::Logoff:
    case ControlEvent::Shutdown:
      return true;
    case ControlEvent::CtrlC:
    case ControlEvent::CtrlBreak:
      return false;
  }
  return false;
}
