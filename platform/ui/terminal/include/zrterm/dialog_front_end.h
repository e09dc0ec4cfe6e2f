#pragma once
// The toolkit's dialogs in the terminal: while a modal loop of this thread
// runs with a window showing, the terminal shows the toolkit's screen (every
// top-level window in z-order, at its template's layout), panned to keep the
// focused control in view when the terminal is smaller, and a person's keys
// and mouse go to the windows as raw input. The console gets the terminal
// back with release().
//
// It works through the toolkit's public interface only: a hidden window's
// timer repaints (only cells that changed reach the terminal), a watched
// descriptor reads the terminal while the loop waits.
//
// REQUIRES: one per process, made, used and destroyed on the thread that runs
// the modal loops; standard input and output are a terminal.

#include <functional>
#include <memory>

#include "zrterm/cell_grid.h"
#include "zrterm/events.h"

namespace zrterm {

class TerminalSession;

class DialogFrontEnd {
 public:
  // onInterrupt runs on Ctrl-C, before every dialog open is cancelled.
  explicit DialogFrontEnd(std::function<void()> onInterrupt);
  ~DialogFrontEnd();
  DialogFrontEnd(const DialogFrontEnd&) = delete;
  DialogFrontEnd& operator=(const DialogFrontEnd&) = delete;

  // Gives the terminal back (when no modal loop runs any more). Nothing to do
  // when it was not taken.
  void release();
  // Shows the screen now (the timer does it while a loop runs).
  void repaint();
  // Handles one event as the person's input (the descriptor's callback does
  // it for what the terminal sends).
  void handle(const InputEvent& event);

 private:
  void take();
  void readInput();

  std::function<void()> onInterrupt_;
  std::unique_ptr<TerminalSession> session_;
  void* timerWindow_ = nullptr;  // HWND
  int watch_ = 0;
  Point pan_{};
};

}  // namespace zrterm
