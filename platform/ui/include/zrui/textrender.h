// The text renderer: draws a window, its children and the popups it owns
// (drop-down lists, tooltips) into a grid of character cells, one cell per
// 7 x 13 pixels. Snapshot tests compare its text; the terminal front end
// shows its cells with their colours.
#pragma once

#include <string>
#include <vector>

#include "zrui/winapi.h"

namespace zrui {

// One character cell: the character, its colours (COLORREF) and
// attributes. A front end draws fg on bg; `reverse` (selection) and `dim`
// (disabled or grey text) are hints for terminals with few colours.
// The right half of a wide character (CJK, fullwidth): the character is in
// the cell to its left. TextGrid::line and text leave these out.
constexpr char16_t kWideRight = 0;

struct TextCell {
  char16_t ch = u' ';
  COLORREF fg = 0;
  COLORREF bg = 0xFFFFFF;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool reverse = false;
  bool dim = false;
  bool operator==(const TextCell&) const = default;
};

class TextGrid {
 public:
  TextGrid(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  TextCell& at(int col, int row) { return cells_[static_cast<size_t>(row * width_ + col)]; }
  const TextCell& at(int col, int row) const { return cells_[static_cast<size_t>(row * width_ + col)]; }
  bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < width_ && row < height_; }
  // One row without trailing spaces.
  std::u16string line(int row) const;
  // All rows, trailing spaces removed, joined with '\n'.
  std::u16string text() const;
  // The same in UTF-8, for printing.
  std::string utf8() const;

 private:
  int width_;
  int height_;
  std::vector<TextCell> cells_;
};

// Renders a window (normally a top-level dialog) with everything it shows:
// its frame and caption, its children, the borders and scroll indicators
// of bordered or scrolling children, and the visible popups it owns. The
// grid starts at the window's top-left corner.
TextGrid RenderWindow(HWND root);

// Renders the screen: every visible top-level window, bottom to top
// (the z-order of zrui::TopLevelWindows: owned windows such as modal
// dialogs, their message boxes and dropped lists lie over their owners),
// on the desktop colour. The grid is
// `columns` x `rows` cells and shows the screen from cell `pan` (a front end
// smaller than the screen pans over it). One cell is 7 x 13 screen pixels.
TextGrid RenderScreen(int columns, int rows, POINT pan = POINT{0, 0});

// A run of changed cells on one row: [col, col + count).
struct CellSpan {
  int row = 0;
  int col = 0;
  int count = 0;
};

// The screen as a front end sees it: a grid of its size, panned over the
// screen, re-rendered on request, with what changed since the last draw.
// REQUIRES: used on the thread that owns the windows (painting runs their
// procedures).
class ScreenModel {
 public:
  ScreenModel(int columns, int rows);
  // A new size or pan offset; the next Update reports every cell.
  void Resize(int columns, int rows);
  void SetPan(POINT pan);
  POINT Pan() const { return pan_; }
  // True when something may have changed on screen since the last Update
  // (a window was invalidated, moved, shown, hidden, made or destroyed, its
  // text changed, or the caret moved). Cheap; no painting.
  bool NeedsUpdate() const;
  // Renders the screen and returns the runs of cells that differ from the
  // previous Update (all cells after construction, Resize or SetPan).
  std::vector<CellSpan> Update();
  // The grid of the last Update.
  const TextGrid& Grid() const { return grid_; }

 private:
  int columns_, rows_;
  POINT pan_{0, 0};
  TextGrid grid_;
  bool full_ = true;
  unsigned long long generation_ = 0;
};

// A descriptor that turns readable when the screen may have changed (what
// ScreenModel::NeedsUpdate answers), whichever thread changed it: a front end
// watches it (zrui::WatchDescriptor) to repaint promptly after input, timers
// and worker threads, and never polls. It stays readable until
// AcknowledgeScreenChange(). The toolkit owns it; never close it.
int ScreenChangeDescriptor();
// Clears the descriptor; the next change makes it readable again. Call it
// before ScreenModel::Update, so that a change made during the update is seen
// by this update or wakes the watcher again.
void AcknowledgeScreenChange();

// The shown caret: its owner window and its position and size in the
// owner's client pixels. False when no caret is shown. A terminal front end
// places its cursor there.
bool GetCaretState(HWND* owner, POINT* pos, SIZE* size);

}  // namespace zrui
