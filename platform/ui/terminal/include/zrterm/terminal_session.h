#pragma once
// The terminal taken over for dialogs: curses on the standard input and
// output (alternate screen, keys read raw, mouse reports, colours), given back
// exactly as it was on every way out:
// - the destructor, also when a C++ exception or a Scheme error unwinds
//   through the owner;
// - exit() and std::terminate while a session is open;
// - SIGTERM, SIGHUP and SIGQUIT: the terminal is restored, then the signal
//   does what it did before (by default, ends the process);
// - SIGINT from outside (Ctrl-C itself arrives as a key: raw mode): read()
//   reports an interrupt, as for the key;
// - SIGTSTP (suspend): the terminal is restored and the process stops; on
//   SIGCONT the session takes the terminal again and the next paint redraws
//   everything (read() reports kResize so that the owner repaints).
// Terminal resizes (SIGWINCH) come from read() as kResize, with the new size
// already in effect; the signal makes wakeDescriptor() readable.
//
// One session at a time per process. REQUIRES: standard input and output are
// a terminal; all calls from the thread that made the session.

#include <deque>
#include <memory>
#include <stdexcept>

#include "zrterm/cell_grid.h"
#include "zrterm/events.h"
#include "zrterm/input_decoder.h"
#include "zrterm/screen_painter.h"

namespace zrterm {

class NoTerminal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TerminalSession {
 public:
  // True when standard input and output are a terminal.
  static bool available();

  // Takes the terminal. Throws NoTerminal when there is none (or curses
  // cannot drive it: the message says why).
  TerminalSession();
  // Gives it back.
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // The descriptor to wait on for input (the owner may wait on it together
  // with its own, then call read(0)).
  int inputDescriptor() const;
  // Readable when a signal (resize, interrupt, resume) has news for read():
  // an owner waiting on descriptors watches it too.
  int wakeDescriptor() const;
  // The next event, waiting at most timeoutMs (-1: until there is one);
  // kNone when nothing came in time.
  InputEvent read(int timeoutMs);
  // The terminal's size as curses has it.
  Size size() const;
  // Asks the terminal for its size and, when it changed, resizes curses'
  // screens to it (the next paint then writes everything). True when it
  // changed. A resize between two reads can then never be drawn at the old
  // size.
  bool syncSize();
  ScreenPainter& painter() { return *painter_; }
  ColourDepth depth() const { return painter_->depth(); }

 private:
  InputEvent readKey();

  void* screen_ = nullptr;  // curses' SCREEN
  std::deque<InputEvent> pending_;  // mouse events read together
  std::unique_ptr<ScreenPainter> painter_;
  MouseDecoder mouse_;
};

}  // namespace zrterm
