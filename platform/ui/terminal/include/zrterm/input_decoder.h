#pragma once
// Turns what ncursesw reads (get_wch results and mouse reports) into
// InputEvents. Pure: no terminal is touched, so the table of keys is tested
// directly.
//
// Ctrl+C is an interrupt, not a key: the session reads the terminal in raw
// mode, so the terminal never makes it a signal.

#include <chrono>

#include "zrterm/events.h"

namespace zrterm {

// A key read by get_wch: a function key (KEY_*) when function is true, else a
// character. alt: an Escape came just before it (how terminals send Alt).
InputEvent decodeKey(int code, bool function, bool alt = false);

// A modified arrow or editing key by its extended terminfo name, as ncurses's
// keyname() gives it for a code above KEY_MAX ("kDN3": Alt+Down, "kLFT5":
// Control+Left); no event for any other name or a null one.
InputEvent decodeKeyName(const char* name);

// ncurses mouse report fields (MEVENT's x, y and bstate).
struct MouseReport {
  int x = 0, y = 0;
  unsigned long state = 0;
};

// Mouse reports to events. Presses and releases come as they are (the
// session turns ncurses' own click folding off); a second press of the same
// button on the same cell within the double-click time is a double click.
// Moves report whether a button is held (a drag).
class MouseDecoder {
 public:
  using Clock = std::chrono::steady_clock;
  explicit MouseDecoder(std::chrono::milliseconds doubleClick = std::chrono::milliseconds(400))
      : doubleClick_(doubleClick) {}

  // kNone for reports that mean nothing to the toolkit.
  InputEvent decode(const MouseReport& report, Clock::time_point now = Clock::now());

 private:
  std::chrono::milliseconds doubleClick_;
  int held_ = 0;  // button held since its press, 0 when none
  int lastButton_ = 0, lastX_ = -1, lastY_ = -1;
  Clock::time_point lastPress_{};
};

}  // namespace zrterm
