#pragma once
// The toolkit's dialogs in the terminal: while a modal loop of this thread
// runs with a window showing, the terminal shows the toolkit's screen (every
// top-level window in z-order, at its template's layout), panned to keep the
// focused control in view when the terminal is smaller, and a person's keys
// and mouse go to the windows as raw input. The console gets the terminal
// back with release().
//
// It works through the toolkit's public interface only: the loop that waits
// watches the toolkit's screen-change descriptor and the terminal. A change
// of the screen (input handled, a timer, a worker thread filling a control)
// repaints, through the toolkit's screen model, only the cells that changed;
// nothing changes, nothing is written. A resize redraws everything.
//
// REQUIRES: one per process, made, used and destroyed on the thread that runs
// the modal loops; standard input and output are a terminal.

#include <deque>
#include <functional>
#include <memory>

#include "zrterm/cell_grid.h"
#include "zrterm/events.h"

namespace zrui {
class ScreenModel;
}

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
  // Shows what changed on the screen now (a waiting loop does it when the
  // screen changes); takes the terminal when a window shows.
  void repaint();
  // Handles one event as the person's input (the descriptor's callback does
  // it for what the terminal sends).
  void handle(const InputEvent& event);

 private:
  void take();
  void readInput();
  void handleNext();

  std::function<void()> onInterrupt_;
  std::unique_ptr<TerminalSession> session_;
  std::unique_ptr<zrui::ScreenModel> model_;  // while the terminal is taken
  CellGrid frame_;  // the model's cells in the terminal's colours
  int changeWatch_ = 0;
  int watch_ = 0;
  // What the terminal sent and the windows have not had yet. One event at a
  // time: the toolkit chooses a press's or a move's window when it is
  // posted, so a move must wait until the press before it has run (and
  // perhaps taken the capture, as a frame drag does). nextFd_ is readable
  // while events wait; the loop polls it only once its queue is empty.
  std::deque<InputEvent> pending_;
  int nextFd_ = -1;
  int nextWatch_ = 0;
  Point pan_{};
};

}  // namespace zrterm
