#pragma once
// The toolkit's dialogs in the terminal: while a modal loop of this thread
// runs with a window showing, the terminal shows the toolkit's screen (every
// top-level window in z-order), the screen being the terminal: dialogs
// centred in it and placed again when its size changes. A dialog larger than
// the terminal shows through a view that keeps the focused control and its
// label in sight and moves only when the focus would leave it, its caption
// row pinned on the first row when the height allows, arrows on the edges
// where parts are out of view; the wheel over its face and Alt+Page Up/Down
// scroll it. A person's keys and mouse go to the windows as raw input. The console gets the terminal
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
#include "zrterm/viewport.h"
#include "zrui/wintypes.h"

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
  // Moves the view of a dialog larger than the terminal by rows, or
  // sideways by columns (the person's wheel, keys or presses on the scroll
  // bars); kept until the focus moves.
  void scrollView(int rows, int columns = 0);

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
  int wakeWatch_ = 0;
  View view_{};
  HWND dialog_ = nullptr;    // the dialog the view was chosen for
  bool scrolled_ = false;    // the person moved the view
  View scrolledView_{};      // where to, shown by the next repaint
  HWND scrolledFocus_ = nullptr;
  Size placedFor_{};         // the terminal size the windows were placed for
};

}  // namespace zrterm
