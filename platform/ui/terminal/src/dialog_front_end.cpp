#include "zrterm/dialog_front_end.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include <algorithm>
#include <optional>

#include "zrterm/terminal_session.h"
#include "zrterm/viewport.h"
#include "zrui/dialog.h"
#include "zrui/eventloop.h"
#include "zrui/input.h"
#include "zrui/textrender.h"
#include "zrui/winapi.h"

namespace zrterm {

namespace {

// One cell of the text profile, in screen pixels.
constexpr int kCellWidth = 7;
constexpr int kCellHeight = 13;

Box cellsOf(const RECT& r) {
  return {r.left / kCellWidth, r.top / kCellHeight, (r.right + kCellWidth - 1) / kCellWidth,
          (r.bottom + kCellHeight - 1) / kCellHeight};
}

// The extent of the screen in cells: every visible top-level window.
Size screenSize() {
  Size size;
  for (HWND h : zrui::TopLevelWindows()) {
    RECT r{};
    GetWindowRect(h, &r);
    const Box b = cellsOf(r);
    size.width = std::max(size.width, b.right);
    size.height = std::max(size.height, b.bottom);
  }
  return size;
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

}  // namespace

DialogFrontEnd::DialogFrontEnd(std::function<void()> onInterrupt) : onInterrupt_(std::move(onInterrupt)) {
  // Every change of the screen (input handled, a timer, a worker thread
  // filling a control) wakes the loop that waits: the screen shows it then,
  // and an idle screen costs nothing.
  changeWatch_ = zrui::WatchDescriptor(zrui::ScreenChangeDescriptor(), POLLIN, [this](int, short) { repaint(); });
  nextFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (nextFd_ >= 0) nextWatch_ = zrui::WatchDescriptor(nextFd_, POLLIN, [this](int, short) { handleNext(); });
}

DialogFrontEnd::~DialogFrontEnd() {
  release();
  zrui::UnwatchDescriptor(changeWatch_);
  if (nextFd_ >= 0) {
    zrui::UnwatchDescriptor(nextWatch_);
    close(nextFd_);
  }
}

void DialogFrontEnd::take() {
  if (session_) return;
  session_ = std::make_unique<TerminalSession>();
  pan_ = {};
  const Size size = session_->size();
  model_ = std::make_unique<zrui::ScreenModel>(size.width, size.height);
  frame_ = CellGrid(size.width, size.height);
  watch_ = zrui::WatchDescriptor(session_->inputDescriptor(), POLLIN, [this](int, short) { readInput(); });
}

void DialogFrontEnd::release() {
  if (!session_) return;
  zrui::UnwatchDescriptor(watch_);
  watch_ = 0;
  pending_.clear();
  model_.reset();
  session_.reset();
}

void DialogFrontEnd::repaint() {
  // Read before looking: a change from here on wakes the loop again.
  zrui::AcknowledgeScreenChange();
  if (zrui::TopLevelWindows().empty()) return;
  take();
  const Size terminal = session_->size();
  if (terminal != Size{model_->Grid().width(), model_->Grid().height()} || terminal != frame_.size()) {
    model_->Resize(terminal.width, terminal.height);
    frame_ = CellGrid(terminal.width, terminal.height);
  }
  // The whole dialog on top when it fits, else as much of it as does with
  // the focused control in view.
  const Size screen = screenSize();
  const std::vector<HWND> windows = zrui::TopLevelWindows();
  RECT r{};
  GetWindowRect(windows.back(), &r);
  pan_ = panToShow(cellsOf(r), screen, terminal, pan_);
  if (HWND focus = GetFocus()) {
    GetWindowRect(focus, &r);
    pan_ = panToShow(cellsOf(r), screen, terminal, pan_);
  }
  model_->SetPan(POINT{pan_.x, pan_.y});
  if (!model_->NeedsUpdate()) return;
  // Only the runs of cells that changed are converted; the painter writes
  // only those that differ from what the terminal shows.
  const zrui::TextGrid& text = model_->Grid();
  const ColourDepth depth = session_->depth();
  for (const zrui::CellSpan& span : model_->Update())
    for (int x = span.col; x < span.col + span.count; ++x)
      if (x < frame_.width() && span.row < frame_.height()) frame_.at(x, span.row) = cellOf(text.at(x, span.row), depth);
  std::optional<Point> caret = caretCell();
  if (caret) caret = Point{caret->x - pan_.x, caret->y - pan_.y};
  session_->painter().paint(frame_, {0, 0}, caret);
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
        session_->painter().invalidate();
        const Size size = session_->size();
        model_->Resize(size.width, size.height);
        frame_ = CellGrid(size.width, size.height);
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
      const POINT at{(m.x + pan_.x) * kCellWidth + kCellWidth / 2, (m.y + pan_.y) * kCellHeight + kCellHeight / 2};
      const zrui::Keys keys = keysOf(m.mods);
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
