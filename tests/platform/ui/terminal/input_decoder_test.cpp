// What ncursesw reads, decoded into the toolkit's keys and mouse events.

#include "zrterm/input_decoder.h"

#include <gtest/gtest.h>
#include <ncursesw/curses.h>

namespace {

using zrterm::decodeKey;
using zrterm::describe;

struct KeyCase {
  int code;
  bool function;
  bool alt;
  const char* expected;
};

TEST(InputDecoder, KeysBecomeVirtualKeysWithModifiers) {
  const KeyCase cases[] = {
      {'\t', false, false, "Tab"},
      {KEY_BTAB, true, false, "Shift+Tab"},
      {'\r', false, false, "Enter"},
      {'\n', false, false, "Enter"},
      {KEY_ENTER, true, false, "Enter"},
      {27, false, false, "Escape"},
      {' ', false, false, "Space"},
      {'+', false, false, "Char(+)"},
      {'-', false, false, "Char(-)"},
      {'a', false, false, "Char(a)"},
      {0xE9, false, false, "Char(\xC3\xA9)"},
      {KEY_UP, true, false, "Up"},
      {KEY_DOWN, true, false, "Down"},
      {KEY_LEFT, true, false, "Left"},
      {KEY_RIGHT, true, false, "Right"},
      {KEY_SLEFT, true, false, "Shift+Left"},
      {KEY_SR, true, false, "Shift+Up"},
      {KEY_HOME, true, false, "Home"},
      {KEY_END, true, false, "End"},
      {KEY_SHOME, true, false, "Shift+Home"},
      {KEY_PPAGE, true, false, "PageUp"},
      {KEY_NPAGE, true, false, "PageDown"},
      {KEY_DC, true, false, "Delete"},
      {KEY_IC, true, false, "Insert"},
      {KEY_BACKSPACE, true, false, "Back"},
      {127, false, false, "Back"},
      {8, false, false, "Back"},
      {KEY_F(4), true, false, "F4"},
      {KEY_F(4), true, true, "Alt+F4"},   // Escape, then F4
      {KEY_F(52), true, false, "Alt+F4"},  // as xterm sends Alt+F4
      {KEY_F(49), true, false, "Alt+F1"},
      {'o', false, true, "Alt+O"},
      {'O', false, true, "Alt+O"},
      {'3', false, true, "Alt+3"},
      {KEY_DOWN, true, true, "Alt+Down"},
      {1, false, false, "Ctrl+A"},
      {24, false, false, "Ctrl+X"},
      {3, false, false, "Interrupt"},
      {KEY_RESIZE, true, false, "Resize"},
      {KEY_F(30), true, false, "None"},
      {0, false, false, "None"},
  };
  for (const KeyCase& c : cases)
    EXPECT_EQ(describe(decodeKey(c.code, c.function, c.alt)), c.expected) << "code " << c.code;
}

TEST(InputDecoder, ModifiedKeysAreKnownByTheirTerminfoNames) {
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"kDN3", "Alt+Down"},       {"kUP3", "Alt+Up"},         {"kLFT5", "Ctrl+Left"},
      {"kRIT6", "Ctrl+Shift+Right"}, {"kHOM2", "Shift+Home"}, {"kNXT7", "Ctrl+Alt+PageDown"},
      {"kDC8", "Ctrl+Alt+Shift+Delete"},
      {"kDN", "None"},            {"kDN9", "None"},           {"kDN1", "None"},
      {"kUP33", "None"},          {"kxIN", "None"},           {nullptr, "None"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(describe(zrterm::decodeKeyName(c.name)), c.expected) << (c.name ? c.name : "(null)");
}

TEST(InputDecoder, CharactersAndVirtualKeysAreThoseOfTheToolkit) {
  const zrterm::InputEvent space = decodeKey(' ', false);
  EXPECT_EQ(space.key.vk, 0x20u);
  EXPECT_EQ(space.key.ch, U' ');
  const zrterm::InputEvent altO = decodeKey('o', false, true);
  EXPECT_EQ(altO.key.vk, static_cast<unsigned>('O'));
  EXPECT_EQ(altO.key.ch, U'o');
  EXPECT_EQ(altO.key.mods, static_cast<unsigned>(zrterm::kAlt));
  const zrterm::InputEvent typed = decodeKey('x', false);
  EXPECT_EQ(typed.key.vk, 0u);
  EXPECT_EQ(typed.key.ch, U'x');
}

TEST(InputDecoder, MouseReportsBecomePressesReleasesDoubleClicksWheelAndDrags) {
  using namespace std::chrono_literals;
  zrterm::MouseDecoder mouse(400ms);
  const auto t0 = zrterm::MouseDecoder::Clock::time_point{} + 10s;
  auto at = [&](int x, int y, unsigned long state, std::chrono::milliseconds after) {
    return describe(mouse.decode({x, y, state}, t0 + after));
  };
  EXPECT_EQ(at(5, 3, BUTTON1_PRESSED, 0ms), "Press(1)@5,3");
  EXPECT_EQ(at(5, 3, BUTTON1_RELEASED, 50ms), "Release(1)@5,3");
  EXPECT_EQ(at(5, 3, BUTTON1_PRESSED, 200ms), "Double(1)@5,3");
  EXPECT_EQ(at(5, 3, BUTTON1_RELEASED, 250ms), "Release(1)@5,3");
  // A third press is a press again; a press elsewhere or too late is too.
  EXPECT_EQ(at(5, 3, BUTTON1_PRESSED, 300ms), "Press(1)@5,3");
  EXPECT_EQ(at(6, 3, BUTTON1_PRESSED, 350ms), "Press(1)@6,3");
  EXPECT_EQ(at(6, 3, BUTTON1_PRESSED, 900ms), "Press(1)@6,3");
  // Drag: moves while the button is held, then a plain move.
  EXPECT_EQ(at(7, 4, REPORT_MOUSE_POSITION, 950ms), "Move(drag 1)@7,4");
  EXPECT_EQ(at(8, 4, BUTTON1_RELEASED, 1000ms), "Release(1)@8,4");
  EXPECT_EQ(at(9, 4, REPORT_MOUSE_POSITION, 1050ms), "Move@9,4");
  EXPECT_EQ(at(1, 1, BUTTON4_PRESSED, 1100ms), "WheelUp@1,1");
  EXPECT_EQ(at(1, 1, BUTTON5_PRESSED, 1150ms), "WheelDown@1,1");
  EXPECT_EQ(at(2, 2, BUTTON3_PRESSED | BUTTON_SHIFT | BUTTON_CTRL, 1200ms), "Ctrl+Shift+Press(3)@2,2");
  EXPECT_EQ(at(2, 2, 0, 1250ms), "None");
}

}  // namespace
