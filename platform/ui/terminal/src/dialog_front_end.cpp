#include "zrterm/dialog_front_end.h"

#include <poll.h>
#include <unistd.h>

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
constexpr UINT kRepaintMs = 40;
constexpr UINT_PTR kRepaintTimer = 1;
constexpr const char16_t* kTimerClass = u"ZrTermRepaint";

DialogFrontEnd* current = nullptr;

LRESULT CALLBACK timerProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_TIMER && current) {
    current->repaint();
    return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

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

CellGrid cellsOf(const zrui::TextGrid& text, ColourDepth depth) {
  CellGrid grid(text.width(), text.height());
  for (int y = 0; y < text.height(); ++y) {
    for (int x = 0; x < text.width(); ++x) {
      const zrui::TextCell& t = text.at(x, y);
      unsigned attributes = (t.bold ? kBold : 0u) | (t.underline ? kUnderline : 0u);
      // Colours already show a selection and grey text; without them the
      // toolkit's hints do.
      if (depth == ColourDepth::kMonochrome) attributes |= (t.reverse ? kReverse : 0u) | (t.dim ? kDim : 0u);
      grid.at(x, y) = {static_cast<char32_t>(t.ch), t.fg, t.bg, attributes};
    }
  }
  return grid;
}

// The caret of the focused edit, as a screen cell: after the end of its
// selection (where typing goes). The toolkit keeps no caret of its own yet;
// text scrolled sideways in a long edit puts it at the edit's right edge.
std::optional<Point> caretCell(HWND focus) {
  if (!focus || GetClassNameString(focus) != u"Edit") return std::nullopt;
  const auto selection = static_cast<DWORD>(SendMessageW(focus, EM_GETSEL, 0, 0));
  POINT origin{0, 0};
  ClientToScreen(focus, &origin);
  RECT r{};
  GetWindowRect(focus, &r);
  const Box box = cellsOf(r);
  const int x = std::min(origin.x / kCellWidth + static_cast<int>(HIWORD(selection)), box.right - 1);
  return Point{x, origin.y / kCellHeight};
}

}  // namespace

DialogFrontEnd::DialogFrontEnd(std::function<void()> onInterrupt) : onInterrupt_(std::move(onInterrupt)) {
  current = this;
  WNDCLASSW wc;
  wc.lpfnWndProc = timerProc;
  wc.lpszClassName = kTimerClass;
  RegisterClassW(&wc);  // fails harmlessly when a front end was made before
  HWND h = CreateWindowExW(0, kTimerClass, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  timerWindow_ = h;
  SetTimer(h, kRepaintTimer, kRepaintMs, nullptr);
}

DialogFrontEnd::~DialogFrontEnd() {
  release();
  HWND h = static_cast<HWND>(timerWindow_);
  KillTimer(h, kRepaintTimer);
  DestroyWindow(h);
  current = nullptr;
}

void DialogFrontEnd::take() {
  if (session_) return;
  session_ = std::make_unique<TerminalSession>();
  pan_ = {};
  watch_ = zrui::WatchDescriptor(session_->inputDescriptor(), POLLIN, [this](int, short) { readInput(); });
}

void DialogFrontEnd::release() {
  if (!session_) return;
  zrui::UnwatchDescriptor(watch_);
  watch_ = 0;
  session_.reset();
}

void DialogFrontEnd::repaint() {
  if (zrui::TopLevelWindows().empty()) return;
  take();
  const Size terminal = session_->size();
  // The whole dialog on top when it fits, else as much of it as does with
  // the focused control in view.
  const Size screen = screenSize();
  const std::vector<HWND> windows = zrui::TopLevelWindows();
  RECT r{};
  GetWindowRect(windows.back(), &r);
  pan_ = panToShow(cellsOf(r), screen, terminal, pan_);
  HWND focus = GetFocus();
  if (focus) {
    GetWindowRect(focus, &r);
    pan_ = panToShow(cellsOf(r), screen, terminal, pan_);
  }
  const zrui::TextGrid text = zrui::RenderScreen(terminal.width, terminal.height, POINT{pan_.x, pan_.y});
  std::optional<Point> caret = caretCell(focus);
  if (caret) caret = Point{caret->x - pan_.x, caret->y - pan_.y};
  session_->painter().paint(cellsOf(text, session_->depth()), {0, 0}, caret);
}

void DialogFrontEnd::readInput() {
  if (!session_) return;
  for (InputEvent e = session_->read(0); e.kind != InputEvent::kNone && session_; e = session_->read(0)) handle(e);
  repaint();
}

void DialogFrontEnd::handle(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::kNone: return;
    case InputEvent::kResize:
      if (session_) session_->painter().invalidate();
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
