#include "console/key_press.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kEnhanced = 0x0100;
constexpr std::uint32_t kShift = 0x0010;
constexpr std::uint32_t kLeftCtrl = 0x0008;
constexpr std::uint32_t kRightAlt = 0x0001;
constexpr std::uint32_t kNumLockOn = 0x0020;
constexpr std::uint32_t kCapsLockOn = 0x0080;

TEST(KeyPress, WhichKeyRecordsCount) {
  const struct {
    const char* what;
    KeyRecord record;
    bool counts;
  } cases[] = {
      {"letter", {true, 'A', 'a', 0}, true},
      {"letter released", {false, 'A', 'a', 0}, false},
      {"space", {true, 0x20, ' ', 0}, true},
      {"enter", {true, 0x0D, '\r', 0}, true},
      {"escape", {true, 0x1B, 0x1B, 0}, true},
      {"tab", {true, 0x09, '\t', 0}, true},
      {"backspace", {true, 0x08, 0x08, 0}, true},
      {"ctrl+c as character", {true, 'C', 0x03, kLeftCtrl}, true},
      {"high character byte", {true, 0xDE, static_cast<char>(0xE4), kCapsLockOn}, true},
      {"F1", {true, 0x70, 0, 0}, true},
      {"F5 with shift", {true, 0x74, 0, kShift}, true},
      {"F12", {true, 0x7B, 0, 0}, true},
      {"F13", {true, 0x7C, 0, 0}, false},
      {"F5 released", {false, 0x74, 0, 0}, false},
      {"up arrow, separate block", {true, 0x26, 0, kEnhanced}, true},
      {"page down, separate block, ctrl", {true, 0x22, 0, kEnhanced | kLeftCtrl}, true},
      {"insert, separate block", {true, 0x2D, 0, kEnhanced}, true},
      {"delete, separate block", {true, 0x2E, 0, kEnhanced}, true},
      {"home, keypad, num lock off", {true, 0x24, 0, 0}, true},
      {"end, keypad, with shift", {true, 0x23, 0, kShift}, false},
      {"left, keypad, with right alt", {true, 0x25, 0, kRightAlt}, false},
      {"print screen", {true, 0x2C, 0, kEnhanced}, false},
      {"shift alone", {true, 0x10, 0, kShift}, false},
      {"ctrl alone", {true, 0x11, 0, kLeftCtrl}, false},
      {"alt alone", {true, 0x12, 0, kRightAlt}, false},
      {"caps lock", {true, 0x14, 0, kCapsLockOn}, false},
      {"num lock", {true, 0x90, 0, kNumLockOn | kEnhanced}, false},
      {"scroll lock", {true, 0x91, 0, 0}, false},
      {"pause", {true, 0x13, 0, 0}, false},
      {"left windows key", {true, 0x5B, 0, kEnhanced}, false},
      {"application key", {true, 0x5D, 0, kEnhanced}, false},
      {"keypad 5, num lock off", {true, 0x0C, 0, 0}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(countsAsKeyPress(c.record), c.counts) << c.what;
  }
}

TEST(KeyPress, CloseLogoffAndShutdownAreKeyPressesCtrlCAndBreakAreNot) {
  const struct {
    std::uint32_t event;
    bool keyPress;
  } cases[] = {{0, false}, {1, false}, {2, true}, {5, true}, {6, true}, {3, false}, {7, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(controlEventIsKeyPress(c.event), c.keyPress) << c.event;
  }
}

}  // namespace
