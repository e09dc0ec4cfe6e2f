#pragma once
// What a person does at the terminal, in the toolkit's terms: keys as
// virtual-key codes (VK_*) with modifiers, or characters; mouse events at a
// cell of the terminal.

#include <cstdint>
#include <string>

namespace zrterm {

enum Modifier : unsigned { kShift = 1, kControl = 2, kAlt = 4 };

struct KeyEvent {
  unsigned vk = 0;     // VK_* of the toolkit, or 0 for a plain character
  char32_t ch = 0;     // the character typed (also set for Space, Ctrl/Alt+letter: the letter)
  unsigned mods = 0;   // Modifier bits
  bool operator==(const KeyEvent&) const = default;
};

enum class MouseKind { kPress, kRelease, kDoubleClick, kMove, kWheelUp, kWheelDown };

struct MouseEvent {
  MouseKind kind = MouseKind::kPress;
  int button = 1;      // 1 left, 2 middle, 3 right (press, release, double click)
  int x = 0, y = 0;    // terminal cell
  unsigned mods = 0;
  bool dragging = false;  // a move with a button held
  bool operator==(const MouseEvent&) const = default;
};

struct InputEvent {
  enum Kind { kNone, kKey, kMouse, kResize, kInterrupt } kind = kNone;
  KeyEvent key;
  MouseEvent mouse;
};

// "Tab", "Shift+Tab", "Alt+O", "Char(a)", "Press(1)@3,4"...: for logs and tests.
std::string describe(const InputEvent& event);

}  // namespace zrterm
