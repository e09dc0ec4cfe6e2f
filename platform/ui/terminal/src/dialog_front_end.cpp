#include "zrterm/dialog_front_end.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdint>

#include <algorithm>
#include <optional>
#include <vector>

#include "zrterm/placement.h"
#include "zrterm/terminal_session.h"
#include "zrterm/viewport.h"
#include "zrui/dialog.h"
#include "zrui/eventloop.h"
#include "zrui/gdi.h"
#include "zrui/input.h"
#include "zrui/textrender.h"
#include "zrui/winapi.h"

namespace zrterm {

namespace {

Box cellsOf(const RECT& r) {
  return {r.left / kCellWidth, r.top / kCellHeight, (r.right + kCellWidth - 1) / kCellWidth,
          (r.bottom + kCellHeight - 1) / kCellHeight};
}

Box unite(const Box& a, const Box& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

Box boxOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return cellsOf(r);
}

bool isDialog(HWND h) {
  return (static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)) & WS_CAPTION) == WS_CAPTION;
}

bool isLabel(HWND h) { return GetClassNameString(h) == WC_STATICW; }

// The extent of the screen in cells: the terminal and every visible
// top-level window.
Size screenExtent(const std::vector<HWND>& windows, Size terminal) {
  Size size = terminal;
  for (HWND h : windows) {
    const Box b = boxOf(h);
    size.width = std::max(size.width, b.right);
    size.height = std::max(size.height, b.bottom);
  }
  return size;
}

// The dialog the person works in: the top window with a caption.
HWND topDialog(const std::vector<HWND>& windows) {
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (isDialog(*it)) return *it;
  return windows.back();
}

// What must stay in view: the focused control of the dialog with its label
// (the label before it, on its rows or on the row above), and a list it
// dropped (a popup of the dialog above it, tooltips aside). The field of a
// combo box counts as its combo, so that the drop button beside the field
// shows with it (an editor opened near the terminal's edge would otherwise
// keep its button out of view and out of the mouse's reach).
std::optional<Box> focusBox(HWND dialog, const std::vector<HWND>& windows) {
  HWND focus = GetFocus();
  if (!focus || GetAncestor(focus, GA_ROOT) != dialog || focus == dialog) return std::nullopt;
  if (HWND parent = GetParent(focus); parent && GetClassNameString(parent) == WC_COMBOBOXW) focus = parent;
  Box box = boxOf(focus);
  if (HWND before = GetWindow(focus, GW_HWNDPREV); before && IsWindowVisible(before) && isLabel(before)) {
    const Box label = boxOf(before);
    const bool beside = label.top < box.bottom && label.bottom > box.top && label.right <= box.left + 1;
    const bool above = label.bottom == box.top && label.left >= box.left - 1 && label.left < box.right;
    if (beside || above) box = unite(box, label);
  }
  for (HWND h : windows) {
    if (h == dialog || isDialog(h)) continue;
    const bool tooltip = (static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)) & WS_EX_TOPMOST) != 0;
    HWND owner = GetWindow(h, GW_OWNER);
    if (!tooltip && owner && GetAncestor(owner, GA_ROOT) == dialog) box = unite(box, boxOf(h));
  }
  return box;
}

zrui::Keys keysOf(unsigned mods) { return {(mods & kShift) != 0, (mods & kControl) != 0, (mods & kAlt) != 0}; }

zrui::MouseButton buttonOf(int button) {
  return button == 3 ? zrui::MouseButton::Right : button == 2 ? zrui::MouseButton::Middle : zrui::MouseButton::Left;
}

Cell cellOf(const zrui::TextCell& t, ColourDepth depth) {
  unsigned attributes = (t.bold ? kBold : 0u) | (t.underline ? kUnderline : 0u);
  // Colours already show a selection and grey text; without them the
  // toolkit's hints do.
  if (depth == ColourDepth::kMonochrome) attributes |= (t.reverse ? kReverse : 0u) | (t.dim ? kDim : 0u);
  // Reverse video alone marks a selection or the focus frame without
  // colours: not underlined as a link's blue would be.
  if (depth == ColourDepth::kMonochrome && t.reverse) return {static_cast<char32_t>(t.ch), rgb(0, 0, 0), rgb(255, 255, 255), attributes};
  return {static_cast<char32_t>(t.ch), t.fg, t.bg, attributes};
}

// The caret the toolkit shows (an edit's, while it has the focus), as a cell
// of the screen; none when no caret shows.
std::optional<Point> caretCell() {
  HWND owner = nullptr;
  POINT at{};
  SIZE size{};
  if (!zrui::GetCaretState(&owner, &at, &size) || !owner) return std::nullopt;
  ClientToScreen(owner, &at);
  return Point{at.x / kCellWidth, at.y / kCellHeight};
}

// The thumb's place on a bar of `length` cells for a view of `view` cells
// from `offset` over `total`.
int thumbAt(int offset, int view, int total, int length) {
  const int range = total - view;
  if (range <= 0 || length <= 1) return 0;
  return std::clamp(offset * (length - 1) / range, 0, length - 1);
}

// The scroll bars of a view on the terminal's last column and row, in the
// dialog's face colours: an arrow in reverse video at each end where more of
// the dialog lies that way, the thumb (#) where the view stands.
void drawBars(CellGrid& frame, const View& view, const Box& dialog, const Hidden& hidden, Rgb fg, Rgb bg) {
  const int w = frame.width(), h = frame.height();
  const Size shown = view.shown();
  auto put = [&](int x, int y, char32_t ch, bool strong) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    frame.at(x, y) = Cell{ch, fg, bg, strong ? (kReverse | kBold) : 0u};
  };
  if (view.vertical) {
    const int top = view.pinned ? 1 : 0, bottom = shown.height;  // the bar's rows [top, bottom)
    for (int y = 0; y < h; ++y) put(w - 1, y, U' ', false);
    if (bottom - top >= 3) {
      put(w - 1, top, hidden.top ? U'^' : U' ', hidden.top);
      put(w - 1, bottom - 1, hidden.bottom ? U'v' : U' ', hidden.bottom);
      // The body's rows against the dialog's rows under its caption.
      const int first = view.pan.y - dialog.top, total = dialog.bottom - dialog.top - top;
      put(w - 1, top + 1 + thumbAt(first, bottom - top, total, bottom - top - 2), U'#', false);
    } else {
      put(w - 1, top, hidden.bottom ? U'v' : (hidden.top ? U'^' : U' '), hidden.top || hidden.bottom);
    }
  }
  if (view.horizontal) {
    const int right = shown.width;
    for (int x = 0; x < w; ++x) put(x, h - 1, U' ', false);
    if (right >= 3) {
      put(0, h - 1, hidden.left ? U'<' : U' ', hidden.left);
      put(right - 1, h - 1, hidden.right ? U'>' : U' ', hidden.right);
      put(1 + thumbAt(view.pan.x - dialog.left, shown.width, dialog.right - dialog.left, right - 2), h - 1, U'#', false);
    }
  }
}

}  // namespace

DialogFrontEnd::DialogFrontEnd(std::function<void()> onInterrupt) : onInterrupt_(std::move(onInterrupt)) {
  // The toolkit's screen is the terminal, at its size of the moment: a
  // dialog (a message box laid out for the screen's width) made while the
  // console has the terminal, after a resize there, is made for the size
  // it will show at.
  SetScreenSizeSource([] {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return SIZE{0, 0};
    return SIZE{size.ws_col * kCellWidth, size.ws_row * kCellHeight};
  });
  // Every change of the screen (input handled, a timer, a worker thread
  // filling a control) wakes the loop that waits: the screen shows it then,
  // and an idle screen costs nothing.
  changeWatch_ = zrui::WatchDescriptor(zrui::ScreenChangeDescriptor(), POLLIN, [this](int, short) { repaint(); });
  nextFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (nextFd_ >= 0) nextWatch_ = zrui::WatchDescriptor(nextFd_, POLLIN, [this](int, short) { handleNext(); });
}

DialogFrontEnd::~DialogFrontEnd() {
  release();
  SetScreenSizeSource(nullptr);
  zrui::UnwatchDescriptor(changeWatch_);
  if (nextFd_ >= 0) {
    zrui::UnwatchDescriptor(nextWatch_);
    close(nextFd_);
  }
}

void DialogFrontEnd::take() {
  if (session_) return;
  session_ = std::make_unique<TerminalSession>();
  view_ = {};
  dialog_ = nullptr;
  scrolled_ = false;
  placedFor_ = {};
  const Size size = session_->size();
  model_ = std::make_unique<zrui::ScreenModel>(size.width, size.height);
  frame_ = CellGrid(size.width, size.height);
  watch_ = zrui::WatchDescriptor(session_->inputDescriptor(), POLLIN, [this](int, short) { readInput(); });
  // Signals (a resize above all) wake the loop through the session's pipe.
  wakeWatch_ = zrui::WatchDescriptor(session_->wakeDescriptor(), POLLIN, [this](int, short) { readInput(); });
}

void DialogFrontEnd::release() {
  if (!session_) return;
  zrui::UnwatchDescriptor(watch_);
  zrui::UnwatchDescriptor(wakeWatch_);
  watch_ = wakeWatch_ = 0;
  dialog_ = nullptr;
  pending_.clear();
  model_.reset();
  session_.reset();
}

void DialogFrontEnd::repaint() {
  // Read before looking: a change from here on wakes the loop again.
  zrui::AcknowledgeScreenChange();
  if (zrui::TopLevelWindows().empty()) return;
  take();
  // A size that changed since the last look (the signal may not have been
  // read yet): everything at the new size, nothing at the old one.
  bool all = session_->syncSize();
  const Size terminal = session_->size();
  if (terminal != placedFor_) {
    placeWindows(terminal);
    placedFor_ = terminal;
    session_->painter().invalidate();
    all = true;
  }
  const std::vector<HWND> windows = zrui::TopLevelWindows();
  if (windows.empty()) return;
  const Size screen = screenExtent(windows, terminal);
  if (screen != Size{model_->Grid().width(), model_->Grid().height()}) {
    model_->Resize(screen.width, screen.height);
    all = true;
  }
  HWND dialog = topDialog(windows);
  const bool fresh = dialog != dialog_;
  dialog_ = dialog;
  const Box dialogBox = boxOf(dialog);
  const std::optional<Box> focus = focusBox(dialog, windows);
  HWND focused = GetFocus();
  if (fresh || focused != scrolledFocus_ || view_.terminal != terminal) scrolled_ = false;
  // Scrolled by the person: kept while the focus stays where it was.
  const View view = scrolled_ ? scrolledView_ : chooseView(dialogBox, focus, screen, terminal, view_, fresh);
  if (!all && view == view_ && !model_->NeedsUpdate()) return;
  view_ = view;
  model_->Update();
  // The terminal's frame from the model's cells through the view; the
  // painter writes only the cells that differ from what the terminal shows.
  const zrui::TextGrid& text = model_->Grid();
  const ColourDepth depth = session_->depth();
  frame_ = CellGrid(terminal.width, terminal.height);
  for (int y = 0; y < terminal.height; ++y)
    for (int x = 0; x < terminal.width; ++x)
      if (const std::optional<Point> at = view_.screenCell({x, y}); at && text.contains(at->x, at->y))
        frame_.at(x, y) = cellOf(text.at(at->x, at->y), depth);
  drawBars(frame_, view_, dialogBox, hiddenSides(view_, dialogBox), GetSysColor(COLOR_BTNTEXT),
           GetSysColor(COLOR_BTNFACE));
  std::optional<Point> caret;
  if (const std::optional<Point> at = caretCell()) caret = view_.terminalCell(*at);
  session_->painter().paint(frame_, {0, 0}, caret);
}

void DialogFrontEnd::scrollView(int rows, int columns) {
  if (!session_ || !dialog_) return;
  const Box dialog = boxOf(dialog_);
  const View moved = scrolledSideways(scrolled(view_, dialog, rows), dialog, columns);
  if (moved == view_) return;
  // Left for the repaint to show: had view_ been moved here, the repaint
  // would find the view unchanged and write nothing.
  scrolledView_ = moved;
  scrolled_ = true;
  scrolledFocus_ = GetFocus();
  repaint();
}

void DialogFrontEnd::readInput() {
  if (!session_) return;
  // The windows change when the loop handles what is posted, and the change
  // descriptor brings the repaint.
  for (InputEvent e = session_->read(0); e.kind != InputEvent::kNone; e = session_->read(0)) pending_.push_back(e);
  handleNext();
}

void DialogFrontEnd::handleNext() {
  if (nextFd_ >= 0) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = read(nextFd_, &count, sizeof count);  // empty already: fine
  }
  if (pending_.empty()) return;
  const InputEvent e = pending_.front();
  pending_.pop_front();
  handle(e);  // may give the terminal back, and drop what waits
  if (pending_.empty()) return;
  if (nextFd_ < 0) {
    // No descriptor to wait with: all of it now, as the terminal sent it.
    while (!pending_.empty()) {
      const InputEvent next = pending_.front();
      pending_.pop_front();
      handle(next);
    }
    return;
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(nextFd_, &one, sizeof one);
}

void DialogFrontEnd::handle(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::kNone: return;
    case InputEvent::kResize:
      // The terminal's contents are unknown (a resize, a resume): all of it.
      if (session_) {
        session_->syncSize();
        session_->painter().invalidate();
        placedFor_ = {};  // the windows placed again for the size now
      }
      repaint();
      return;
    case InputEvent::kInterrupt: {
      if (onInterrupt_) onInterrupt_();
      std::vector<HWND> windows = zrui::TopLevelWindows();
      for (auto it = windows.rbegin(); it != windows.rend(); ++it) EndDialog(*it, IDCANCEL);
      return;
    }
    case InputEvent::kKey: {
      const KeyEvent& k = event.key;
      const zrui::Keys keys = keysOf(k.mods);
      // Alt+Page Up and Alt+Page Down scroll a dialog taller than the
      // terminal by a page.
      if ((k.vk == VK_PRIOR || k.vk == VK_NEXT) && k.mods == kAlt && session_) {
        const int page = std::max(1, view_.shown().height - (view_.pinned ? 2 : 1));
        scrollView(k.vk == VK_PRIOR ? -page : page);
        return;
      }
      if (k.vk != 0) {
        zrui::InputKeyDown(k.vk, keys);
        zrui::InputKeyUp(k.vk, keys);
      } else if (k.ch > 0xFFFF) {
        const char32_t v = k.ch - 0x10000;
        zrui::InputChar(static_cast<char16_t>(0xD800 + (v >> 10)), keys);
        zrui::InputChar(static_cast<char16_t>(0xDC00 + (v & 0x3FF)), keys);
      } else {
        zrui::InputChar(static_cast<char16_t>(k.ch), keys);
      }
      return;
    }
    case InputEvent::kMouse: {
      const MouseEvent& m = event.mouse;
      // The middle of the cell, in screen pixels.
      const std::optional<Point> cell = view_.screenCell({m.x, m.y});
      if (!cell) {
        // On the horizontal bar (the bottom row left of the vertical one): a
        // press left or right of its middle pans the view sideways by a third
        // of its width, so that a side out of view (the close box at the
        // caption's right end) can be reached with the mouse.
        const Size shown = view_.shown();
        if (m.kind == MouseKind::kPress && view_.horizontal && m.y == view_.terminal.height - 1 && m.x < shown.width) {
          const int step = std::max(1, shown.width / 3);
          scrollView(0, m.x < shown.width / 2 ? -step : step);
          return;
        }
        // The wheel on either bar scrolls the view.
        if (m.kind == MouseKind::kWheelUp || m.kind == MouseKind::kWheelDown) {
          scrollView(m.kind == MouseKind::kWheelUp ? -3 : 3);
          return;
        }
        // A press on the vertical bar (its rows: under a pinned caption, and
        // above the corner the two bars leave blank) above or below the
        // middle scrolls the view; a press on a blank cell beside them does
        // nothing.
        const int barTop = view_.pinned ? 1 : 0;
        if (m.kind == MouseKind::kPress && view_.vertical && m.x == view_.terminal.width - 1 && m.y >= barTop &&
            m.y < shown.height)
          scrollView(m.y < view_.terminal.height / 2 ? -3 : 3);
        return;
      }
      const POINT at{cell->x * kCellWidth + kCellWidth / 2, cell->y * kCellHeight + kCellHeight / 2};
      const zrui::Keys keys = keysOf(m.mods);
      // The wheel over the dialog's face (not over a list that scrolls)
      // scrolls a dialog taller than the terminal.
      if ((m.kind == MouseKind::kWheelUp || m.kind == MouseKind::kWheelDown) && dialog_) {
        HWND under = zrui::HitTest(at);
        if (under == dialog_ || (under && isLabel(under))) {
          scrollView(m.kind == MouseKind::kWheelUp ? -3 : 3);
          return;
        }
      }
      switch (m.kind) {
        case MouseKind::kPress: zrui::InputMousePress(at, buttonOf(m.button), keys); break;
        case MouseKind::kDoubleClick: zrui::InputMousePress(at, buttonOf(m.button), keys, true); break;
        case MouseKind::kRelease: zrui::InputMouseRelease(at, buttonOf(m.button), keys); break;
        case MouseKind::kMove: zrui::InputMouseMove(at, keys); break;
        case MouseKind::kWheelUp: zrui::InputMouseWheel(at, 120, keys); break;
        case MouseKind::kWheelDown: zrui::InputMouseWheel(at, -120, keys); break;
      }
      return;
    }
  }
}

}  // namespace zrterm
