#include "zrterm/input_decoder.h"

#include <ncursesw/curses.h>

#include <cwctype>
#include <string_view>

#include "zrui/winmsg.h"

namespace zrterm {

namespace {

InputEvent key(unsigned vk, char32_t ch = 0, unsigned mods = 0) {
  InputEvent e;
  e.kind = InputEvent::kKey;
  e.key = {vk, ch, mods};
  return e;
}

struct FunctionKey {
  int code;
  unsigned vk;
  unsigned mods;
};

// The editing and movement keys of terminfo, shifted variants included.
const FunctionKey kFunctionKeys[] = {
    {KEY_UP, VK_UP, 0},          {KEY_DOWN, VK_DOWN, 0},       {KEY_LEFT, VK_LEFT, 0},
    {KEY_RIGHT, VK_RIGHT, 0},    {KEY_SR, VK_UP, kShift},      {KEY_SF, VK_DOWN, kShift},
    {KEY_SLEFT, VK_LEFT, kShift}, {KEY_SRIGHT, VK_RIGHT, kShift}, {KEY_HOME, VK_HOME, 0},
    {KEY_END, VK_END, 0},        {KEY_SHOME, VK_HOME, kShift}, {KEY_SEND, VK_END, kShift},
    {KEY_PPAGE, VK_PRIOR, 0},    {KEY_NPAGE, VK_NEXT, 0},      {KEY_DC, VK_DELETE, 0},
    {KEY_SDC, VK_DELETE, kShift}, {KEY_IC, VK_INSERT, 0},      {KEY_BACKSPACE, VK_BACK, 0},
    {KEY_BTAB, VK_TAB, kShift},  {KEY_ENTER, VK_RETURN, 0},
};

// The keys that xterm-like terminals send with modifiers as extended
// terminfo names: the base name, then a digit 2 to 8 that is one more than the
// modifier bits (1 Shift, 2 Alt, 4 Control), as in "kDN3" for Alt+Down.
const struct {
  const char* name;
  unsigned vk;
} kModifiedKeys[] = {
    {"kUP", VK_UP},     {"kDN", VK_DOWN},   {"kLFT", VK_LEFT},  {"kRIT", VK_RIGHT}, {"kHOM", VK_HOME},
    {"kEND", VK_END},   {"kPRV", VK_PRIOR}, {"kNXT", VK_NEXT},  {"kDC", VK_DELETE}, {"kIC", VK_INSERT},
};

}  // namespace

InputEvent decodeKeyName(const char* name) {
  if (!name) return {};
  const std::string_view text(name);
  for (const auto& k : kModifiedKeys) {
    const std::string_view base(k.name);
    if (text.size() != base.size() + 1 || text.substr(0, base.size()) != base) continue;
    const char digit = text.back();
    if (digit < '2' || digit > '8') return {};
    const unsigned bits = static_cast<unsigned>(digit - '1');
    unsigned mods = 0;
    if (bits & 1u) mods |= kShift;
    if (bits & 2u) mods |= kAlt;
    if (bits & 4u) mods |= kControl;
    return key(k.vk, 0, mods);
  }
  return {};
}

InputEvent decodeKey(int code, bool function, bool alt) {
  const unsigned altMod = alt ? static_cast<unsigned>(kAlt) : 0u;
  if (function) {
    if (code == KEY_RESIZE) {
      InputEvent e;
      e.kind = InputEvent::kResize;
      return e;
    }
    for (const FunctionKey& f : kFunctionKeys)
      if (f.code == code) return key(f.vk, 0, f.mods | altMod);
    if (code >= KEY_F(1) && code <= KEY_F(12)) return key(VK_F1 + static_cast<unsigned>(code - KEY_F(1)), 0, altMod);
    // Terminals of the xterm kind number Alt+F1 to Alt+F12 as F49 to F60
    // (Alt+F4, the window close command, is F52).
    if (code >= KEY_F(49) && code <= KEY_F(60)) return key(VK_F1 + static_cast<unsigned>(code - KEY_F(49)), 0, kAlt);
    // Arrows and the editing keys with modifiers come as codes that ncurses
    // numbers from the terminal's description: known by their names.
    if (code > KEY_MAX) {
      InputEvent e = decodeKeyName(keyname(code));
      if (e.kind == InputEvent::kKey) e.key.mods |= altMod;
      return e;
    }
    return {};
  }
  switch (code) {
    case 3: {
      InputEvent e;
      e.kind = InputEvent::kInterrupt;
      return e;
    }
    case '\t': return key(VK_TAB, 0, altMod);
    case '\r':
    case '\n': return key(VK_RETURN, 0, altMod);
    case 27: return key(VK_ESCAPE, 0, altMod);
    case 8:
    case 127: return key(VK_BACK, 0, altMod);
    case ' ': return key(VK_SPACE, U' ', altMod);
    default: break;
  }
  if (code >= 1 && code <= 26) {
    const auto letter = static_cast<char32_t>('a' + code - 1);
    return key(static_cast<unsigned>('A' + code - 1), letter, kControl | altMod);
  }
  if (code < 32) return {};
  const auto ch = static_cast<char32_t>(code);
  if (alt) {
    // Alt+letter chooses the control whose caption underlines the letter:
    // the letter's virtual key, whatever its case.
    const auto upper = static_cast<char32_t>(std::towupper(static_cast<wint_t>(ch)));
    const unsigned vk = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9') ? upper : 0;
    return key(vk, ch, kAlt);
  }
  return key(0, ch);
}

InputEvent MouseDecoder::decode(const MouseReport& report, Clock::time_point now) {
  InputEvent e;
  e.kind = InputEvent::kMouse;
  MouseEvent& m = e.mouse;
  m.x = report.x;
  m.y = report.y;
  const unsigned long s = report.state;
  if (s & BUTTON_SHIFT) m.mods |= kShift;
  if (s & BUTTON_CTRL) m.mods |= kControl;
  if (s & BUTTON_ALT) m.mods |= kAlt;
  if (s & BUTTON4_PRESSED) {
    m.kind = MouseKind::kWheelUp;
    return e;
  }
  if (s & BUTTON5_PRESSED) {
    m.kind = MouseKind::kWheelDown;
    return e;
  }
  const struct {
    unsigned long pressed, released;
    int button;
  } kButtons[] = {{BUTTON1_PRESSED, BUTTON1_RELEASED, 1},
                  {BUTTON2_PRESSED, BUTTON2_RELEASED, 2},
                  {BUTTON3_PRESSED, BUTTON3_RELEASED, 3}};
  for (const auto& b : kButtons) {
    if (s & b.pressed) {
      m.button = b.button;
      const bool again = b.button == lastButton_ && report.x == lastX_ && report.y == lastY_ &&
                         now - lastPress_ <= doubleClick_;
      m.kind = again ? MouseKind::kDoubleClick : MouseKind::kPress;
      held_ = b.button;
      // A third press starts counting again.
      lastButton_ = again ? 0 : b.button;
      lastX_ = report.x;
      lastY_ = report.y;
      lastPress_ = now;
      return e;
    }
    if (s & b.released) {
      m.button = b.button;
      m.kind = MouseKind::kRelease;
      held_ = 0;
      return e;
    }
  }
  if (s & REPORT_MOUSE_POSITION) {
    m.kind = MouseKind::kMove;
    m.button = held_;
    m.dragging = held_ != 0;
    return e;
  }
  return {};
}

std::string describe(const InputEvent& event) {
  auto mods = [](unsigned m) {
    std::string s;
    if (m & kControl) s += "Ctrl+";
    if (m & kAlt) s += "Alt+";
    if (m & kShift) s += "Shift+";
    return s;
  };
  switch (event.kind) {
    case InputEvent::kNone: return "None";
    case InputEvent::kResize: return "Resize";
    case InputEvent::kInterrupt: return "Interrupt";
    case InputEvent::kKey: {
      const KeyEvent& k = event.key;
      static const struct {
        unsigned vk;
        const char* name;
      } kNames[] = {{VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Escape"}, {VK_SPACE, "Space"},
                    {VK_BACK, "Back"},   {VK_UP, "Up"},        {VK_DOWN, "Down"},     {VK_LEFT, "Left"},
                    {VK_RIGHT, "Right"}, {VK_HOME, "Home"},    {VK_END, "End"},       {VK_PRIOR, "PageUp"},
                    {VK_NEXT, "PageDown"}, {VK_DELETE, "Delete"}, {VK_INSERT, "Insert"}};
      for (const auto& n : kNames)
        if (n.vk == k.vk) return mods(k.mods) + n.name;
      if (k.vk >= VK_F1 && k.vk < VK_F1 + 12) return mods(k.mods) + "F" + std::to_string(k.vk - VK_F1 + 1);
      if (k.vk != 0 && (k.mods & (kControl | kAlt))) return mods(k.mods) + static_cast<char>(k.vk);
      std::string utf8;
      const char32_t c = k.ch;
      if (c < 0x80) {
        utf8 += static_cast<char>(c);
      } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
      }
      return mods(k.mods) + "Char(" + utf8 + ")";
    }
    case InputEvent::kMouse: {
      const MouseEvent& m = event.mouse;
      static const char* kKinds[] = {"Press", "Release", "Double", "Move", "WheelUp", "WheelDown"};
      std::string s = mods(m.mods) + kKinds[static_cast<int>(m.kind)];
      if (m.kind == MouseKind::kPress || m.kind == MouseKind::kRelease || m.kind == MouseKind::kDoubleClick)
        s.append("(").append(std::to_string(m.button)).append(")");
      if (m.dragging) s += "(drag " + std::to_string(m.button) + ")";
      return s + "@" + std::to_string(m.x) + "," + std::to_string(m.y);
    }
  }
  return "?";
}

}  // namespace zrterm
