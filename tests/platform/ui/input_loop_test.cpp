// Raw input by screen point and the loop that waits on descriptors: what a
// front end relies on. The worker tests also run under ThreadSanitizer.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "ui_test_support.h"
#include "zrui/commctrl.h"
#include "zrui/gdi.h"
#include "zrui/metrics.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

using namespace zrui::test;
using namespace zrui::rc;

namespace {

class RawInput : public ::testing::Test {
 protected:
  void TearDown() override {
    ReleaseCapture();
    for (HWND h : windows_) DestroyWindow(h);
    zrui::Pump();
  }
  HWND Top(int x, int y, int w, int h) {
    HWND t = CreateLogger(&log_, nullptr, WS_POPUP | WS_VISIBLE);
    MoveWindow(t, x, y, w, h, FALSE);
    windows_.push_back(t);
    return t;
  }
  MessageLog log_;
  std::vector<HWND> windows_;
};

TEST_F(RawInput, PressesReachTheTopmostVisibleWindowUnderThePointInItsClientCoordinates) {
  HWND below = Top(100, 100, 200, 100);
  HWND above = Top(150, 120, 200, 100);
  HWND child = CreateLogger(&log_, below, WS_CHILD | WS_VISIBLE, 5);
  MoveWindow(child, 10, 10, 20, 20, FALSE);
  EXPECT_EQ(zrui::HitTest(POINT{160, 130}), above);
  EXPECT_EQ(zrui::HitTest(POINT{115, 115}), child);
  EXPECT_EQ(zrui::HitTest(POINT{140, 180}), below);
  EXPECT_EQ(zrui::HitTest(POINT{10, 10}), nullptr);

  EXPECT_EQ(zrui::InputMousePress(POINT{160, 130}, zrui::MouseButton::Left), above);
  EXPECT_EQ(log_.count(WM_LBUTTONDOWN), 0) << "queued, not processed before the loop runs";
  zrui::Pump();
  ASSERT_EQ(log_.count(WM_LBUTTONDOWN), 1);
  auto down = std::find_if(log_.entries.begin(), log_.entries.end(), [](auto& e) { return e.msg == WM_LBUTTONDOWN; });
  EXPECT_EQ(down->h, above);
  EXPECT_EQ(GET_X_LPARAM(down->l), 10);
  EXPECT_EQ(GET_Y_LPARAM(down->l), 10);
  EXPECT_EQ(down->w & MK_LBUTTON, MK_LBUTTON);
  EXPECT_EQ(GetActiveWindow(), above) << "a press activates its top-level window";

  ShowWindow(above, SW_HIDE);
  EXPECT_EQ(zrui::HitTest(POINT{160, 130}), below) << "hidden windows are never hit";
  zrui::InputMouseRelease(POINT{160, 130}, zrui::MouseButton::Left);
  zrui::Pump();
  EXPECT_EQ(log_.messages(below).back(), WM_LBUTTONUP);
}

TEST_F(RawInput, TheCaptureTakesTheMouseAndDisabledWindowsDropItWithABeep) {
  HWND a = Top(0, 0, 100, 100);
  HWND b = Top(300, 300, 100, 100);
  SetCapture(a);
  EXPECT_EQ(zrui::InputMouseMove(POINT{310, 320}), a);
  zrui::Pump();
  auto& move = log_.entries.back();
  EXPECT_EQ(move.h, a);
  EXPECT_EQ(GET_X_LPARAM(move.l), 310);
  ReleaseCapture();

  EnableWindow(b, FALSE);
  int beeps = MessageBeepCount();
  EXPECT_EQ(zrui::InputMousePress(POINT{310, 320}, zrui::MouseButton::Left), nullptr);
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  zrui::Pump();
  EXPECT_EQ(log_.count(WM_LBUTTONDOWN), 0);
}

// The buttons as each message found them when handled, whatever was
// posted after it: left, right.
std::vector<std::pair<UINT, std::pair<bool, bool>>> g_buttonsSeen;
LRESULT CALLBACK ButtonStateProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if ((msg >= WM_MOUSEMOVE && msg <= WM_MOUSEWHEEL) || msg == WM_KEYDOWN)
    g_buttonsSeen.push_back({msg, {GetKeyState(VK_LBUTTON) < 0, GetKeyState(VK_RBUTTON) < 0}});
  return DefWindowProcW(h, msg, w, l);
}

TEST_F(RawInput, GetKeyStateTellsTheButtonsAsTheMessageBeingHandledHadThem) {
  HWND top = Top(0, 0, 100, 100);
  SetWindowLongPtrW(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonStateProc));
  SetFocus(top);
  g_buttonsSeen.clear();
  // All posted before any is handled, as a terminal's burst is.
  zrui::InputMousePress(POINT{10, 10}, zrui::MouseButton::Left);
  zrui::InputMouseMove(POINT{12, 10});
  zrui::InputMousePress(POINT{12, 10}, zrui::MouseButton::Right);
  zrui::InputMouseRelease(POINT{12, 10}, zrui::MouseButton::Left);
  zrui::InputKeyDown(VK_F4);
  zrui::InputMouseRelease(POINT{12, 10}, zrui::MouseButton::Right);
  zrui::InputKeyDown(VK_F4);
  zrui::Pump();
  const std::vector<std::pair<UINT, std::pair<bool, bool>>> expected = {
      {WM_LBUTTONDOWN, {true, false}}, {WM_MOUSEMOVE, {true, false}}, {WM_RBUTTONDOWN, {true, true}},
      {WM_LBUTTONUP, {false, true}},   {WM_KEYDOWN, {false, true}},   {WM_RBUTTONUP, {false, false}},
      {WM_KEYDOWN, {false, false}}};
  EXPECT_EQ(g_buttonsSeen, expected) << "a key keeps the buttons the last mouse message had";
}

TEST_F(RawInput, TheWheelGoesUnderThePointerAndUpToTheParentWhenUnhandled) {
  HWND top = Top(0, 0, 200, 200);
  HWND child = CreateLogger(&log_, top, WS_CHILD | WS_VISIBLE, 7);
  MoveWindow(child, 0, 0, 50, 50, FALSE);
  EXPECT_EQ(zrui::InputMouseWheel(POINT{10, 10}, -WHEEL_DELTA, zrui::Keys{false, true, false}), child);
  zrui::Pump();
  ASSERT_EQ(log_.count(WM_MOUSEWHEEL), 2);
  std::vector<HWND> got;
  for (auto& e : log_.entries)
    if (e.msg == WM_MOUSEWHEEL) {
      got.push_back(e.h);
      EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(e.w), -WHEEL_DELTA);
      EXPECT_TRUE(LOWORD(e.w) & MK_CONTROL);
    }
  EXPECT_EQ(got, (std::vector<HWND>{child, top}));
}

// ---- z-order ----

INT_PTR CALLBACK PlainDialog(HWND h, UINT msg, WPARAM w, LPARAM) {
  if (msg == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) EndDialog(h, LOWORD(w));
  return FALSE;
}

// A modeless dialog of 22 x 7 cells (text profile) whose first client row is
// its label, placed with its top-left corner on cell (col, row).
HWND Labelled(const char16_t* label, int col, int row, HWND owner = nullptr) {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  t.caption = label;
  t.cx = 80;
  t.cy = 40;
  t.items = {LTEXT(label, 100, 0, 0, 80, 8)};
  HWND d = CreateDialogIndirectParamW(nullptr, &t, owner, PlainDialog, 0);
  SetWindowPos(d, nullptr, col * kCharWidth, row * kCharHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return d;
}

POINT Cell(int col, int row) { return POINT{col * kCharWidth + 3, row * kCharHeight + 6}; }

void ClickCell(int col, int row) {
  zrui::InputMousePress(Cell(col, row), zrui::MouseButton::Left);
  zrui::InputMouseRelease(Cell(col, row), zrui::MouseButton::Left);
  zrui::Pump();
}

TEST(ZOrder, AClickBringsAWindowToTheTopForDrawingAndHitTesting) {
  zrui::ScopedMetricsProfile text(zrui::MetricsProfile::Text);
  HWND alfa = Labelled(u"Alfa", 2, 2);                    // cells 2..23 x 2..8
  HWND bravo = Labelled(u"Bravo 1234567890abcd", 10, 5);  // cells 10..31 x 5..11, over alfa
  ASSERT_TRUE(alfa && bravo);
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{alfa, bravo})) << "a new window starts on top";
  zrui::TextGrid screen = zrui::RenderScreen(40, 14);
  EXPECT_EQ(Narrow(screen.line(6).substr(11, 20)), "Bravo 1234567890abcd") << screen.utf8();
  EXPECT_EQ(zrui::HitTest(Cell(12, 6)), GetDlgItem(bravo, 100));

  ClickCell(4, 4);  // a part of alfa that bravo leaves uncovered
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{bravo, alfa}));
  EXPECT_EQ(GetActiveWindow(), alfa);
  screen = zrui::RenderScreen(40, 14);
  EXPECT_EQ(Narrow(screen.line(6).substr(10, 14)), "             |") << screen.utf8();
  EXPECT_EQ(Narrow(screen.line(6).substr(24, 7)), "890abcd") << "the rest of bravo still shows";
  EXPECT_EQ(zrui::HitTest(Cell(12, 6)), alfa) << "the overlap now belongs to alfa";
  EXPECT_EQ(zrui::HitTest(Cell(26, 6)), GetDlgItem(bravo, 100));

  // A click on bravo's visible part raises it again; so does activating it.
  ClickCell(28, 10);
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{alfa, bravo}));
  SetActiveWindow(alfa);
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{bravo, alfa}));
  ClickCell(4, 4);
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{bravo, alfa})) << "a click on the top window changes nothing";
  DestroyWindow(alfa);
  DestroyWindow(bravo);
}

TEST(ZOrder, OwnedWindowsStayAboveTheirOwnerAndAModalAboveTheDisabledOwner) {
  zrui::ScopedMetricsProfile text(zrui::MetricsProfile::Text);
  HWND owner = Labelled(u"Owner", 2, 2);
  HWND owned = Labelled(u"Owned", 6, 4, owner);
  HWND other = Labelled(u"Other", 16, 3);
  ASSERT_TRUE(owner && owned && other);
  ClickCell(3, 8);  // the owner's bottom-left corner, covered by no one
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{other, owner, owned})) << "the owned window comes along, above";
  ClickCell(30, 4);
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{owner, owned, other}));
  BringWindowToTop(GetDlgItem(owner, 100));  // a child raises its top-level window
  EXPECT_EQ(zrui::TopLevelWindows(), (std::vector<HWND>{other, owner, owned}));

  DialogTemplate t;
  t.caption = u"Modal";
  t.cx = 40;
  t.cy = 16;
  t.items = {DEFPUSHBUTTON(u"OK", IDOK, 0, 0, 40, 14)};
  std::vector<HWND> whileOpen, afterOwnerClick, afterOtherClick, afterModalClick;
  int beeps = 0;
  zrui::OnNextModal([&](HWND modal) {
    SetWindowPos(modal, nullptr, 28 * kCharWidth, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    whileOpen = zrui::TopLevelWindows();
    beeps = MessageBeepCount();
    ClickCell(3, 8);  // the disabled owner: a beep, nothing moves
    beeps = MessageBeepCount() - beeps;
    afterOwnerClick = zrui::TopLevelWindows();
    ClickCell(35, 8);  // another window of the application may come over the modal
    afterOtherClick = zrui::TopLevelWindows();
    ClickCell(31, 0);  // the modal's caption
    afterModalClick = zrui::TopLevelWindows();
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &t, owner, PlainDialog, 0), IDOK);
  ASSERT_EQ(whileOpen.size(), 4u);
  HWND modal = whileOpen.back();
  EXPECT_EQ(whileOpen, (std::vector<HWND>{other, owner, owned, modal}));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(afterOwnerClick, whileOpen);
  EXPECT_EQ(afterOtherClick, (std::vector<HWND>{owner, owned, modal, other}));
  EXPECT_EQ(afterModalClick, (std::vector<HWND>{owner, owned, other, modal}))
      << "the modal comes up alone; its owner stays below";
  DestroyWindow(other);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
}

// Two edits and a button: focus moves as the controls take it when pressed,
// the old focus told first.
INT_PTR CALLBACK FocusLogDialog(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrW(h, DWLP_USER, l);
  if (msg == WM_COMMAND) {
    auto* out = reinterpret_cast<std::vector<std::pair<int, int>>*>(GetWindowLongPtrW(h, DWLP_USER));
    int code = HIWORD(w);
    if (code == EN_SETFOCUS || code == EN_KILLFOCUS) out->push_back({LOWORD(w), code});
    if (LOWORD(w) == IDOK) EndDialog(h, IDOK);
  }
  return FALSE;
}

TEST(RawInputDialog, KeysAndCharactersGoToTheFocusAndClicksMoveItKillFocusFirst) {
  DialogTemplate t;
  t.caption = u"Focus";
  t.cx = 120;
  t.cy = 60;
  t.items = {EDITTEXT(11, 5, 5, 100, 12), EDITTEXT(12, 5, 20, 100, 12), DEFPUSHBUTTON(u"OK", IDOK, 5, 40, 40, 14)};
  std::vector<std::pair<int, int>> focus;
  std::u16string second;
  zrui::OnNextModal([&](HWND dlg) {
    focus.clear();
    zrui::InputMousePress(ScreenCentre(GetDlgItem(dlg, 12)), zrui::MouseButton::Left);
    zrui::InputMouseRelease(ScreenCentre(GetDlgItem(dlg, 12)), zrui::MouseButton::Left);
    for (char16_t c : std::u16string(u"é/x")) zrui::InputChar(c);
    zrui::InputKeyDown(VK_LEFT, zrui::Keys{true, false, false});  // Shift+Left selects the x
    zrui::InputKeyUp(VK_LEFT);
    zrui::InputChar(u'Y');
    zrui::Pump();
    second = GetWindowTextString(GetDlgItem(dlg, 12));
    zrui::InputMousePress(ScreenCentre(GetDlgItem(dlg, IDOK)), zrui::MouseButton::Left);
    zrui::InputMouseRelease(ScreenCentre(GetDlgItem(dlg, IDOK)), zrui::MouseButton::Left);
  });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &t, nullptr, FocusLogDialog, reinterpret_cast<LPARAM>(&focus)), IDOK);
  EXPECT_EQ(second, u"é/Y");
  std::vector<std::pair<int, int>> expected{{11, EN_KILLFOCUS}, {12, EN_SETFOCUS}, {12, EN_KILLFOCUS}};
  EXPECT_EQ(focus, expected);
}

// ---- the loop that waits on descriptors ----

struct Pipe {
  int fds[2] = {-1, -1};
  Pipe() { EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0); }
  ~Pipe() {
    close(fds[0]);
    close(fds[1]);
  }
  int readEnd() const { return fds[0]; }
  int writeEnd() const { return fds[1]; }
};

TEST(DescriptorLoop, AWorkerFillsATreeWhileTheLoopWaitsOnADescriptorAndTimersRun) {
  MessageLog log;
  HWND host = CreateLogger(&log);
  HWND tree = CreateWindowExW(0, WC_TREEVIEWW, u"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, host, nullptr, nullptr,
                              nullptr);
  Pipe input;
  std::atomic<int> bytes{0};
  int watch = zrui::WatchDescriptor(input.readEnd(), POLLIN, [&](int fd, short revents) {
    EXPECT_TRUE(revents & POLLIN);
    char buf[16];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) bytes += static_cast<int>(n);
  });
  EXPECT_EQ(zrui::WatchedDescriptorCount(), 1u);
  SetTimer(host, 1, 2, nullptr);
  std::atomic<bool> filled{false};
  std::thread worker([&] {
    HTREEITEM folder = AddTreeItem(tree, TVI_ROOT, u"Catalogue");
    for (int i = 0; i < 100; ++i) AddTreeItem(tree, folder, u"item");
    filled = true;
    ASSERT_EQ(write(input.writeEnd(), "k", 1), 1);
  });
  // The loop sleeps in poll(): only cross-thread sends, the timer and the
  // descriptor can wake it.
  bool done = zrui::PumpUntil([&] { return filled && bytes == 1 && log.count(WM_TIMER) > 0; },
                              std::chrono::seconds(10));
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 101);
  EXPECT_GT(log.count(WM_TIMER), 0);
  zrui::UnwatchDescriptor(watch);
  EXPECT_EQ(zrui::WatchedDescriptorCount(), 0u);
  KillTimer(host, 1);
  DestroyWindow(host);
}

// A front end's input arrives on a descriptor as encoded events; the
// callback turns them into raw input by screen point.
struct Event {
  char kind;  // 'p' press, 'r' release, 'c' character
  int x, y;
  char16_t ch;
};

struct FillDialog {
  int writeEnd = -1;
  std::thread worker;
  std::atomic<bool> filledFirst{false};
  std::u16string name;
  int itemsAtOk = 0;
};

constexpr int kFillCount = 200;

INT_PTR CALLBACK FillDialogProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* d = reinterpret_cast<FillDialog*>(GetWindowLongPtrW(h, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(h, DWLP_USER, l);
    d = reinterpret_cast<FillDialog*>(l);
    HWND tree = GetDlgItem(h, 30);
    d->worker = std::thread([d, h, tree] {
      HTREEITEM folder = AddTreeItem(tree, TVI_ROOT, u"Catalogue");
      for (int i = 0; i < kFillCount; ++i) AddTreeItem(tree, folder, u"part");
      d->filledFirst = true;
      // A person types while the fill ends: a click on the name, text, OK.
      auto send = [&](Event e) { ASSERT_EQ(write(d->writeEnd, &e, sizeof e), static_cast<ssize_t>(sizeof e)); };
      POINT edit = ScreenCentre(GetDlgItem(h, 31));
      POINT ok = ScreenCentre(GetDlgItem(h, IDOK));
      send({'p', edit.x, edit.y, 0});
      send({'r', edit.x, edit.y, 0});
      for (char16_t c : std::u16string(u"J12")) send({'c', 0, 0, c});
      send({'p', ok.x, ok.y, 0});
      send({'r', ok.x, ok.y, 0});
    });
    return TRUE;
  }
  if (msg == WM_COMMAND && LOWORD(w) == IDOK) {
    d->name = GetWindowTextString(GetDlgItem(h, 31));
    d->itemsAtOk = static_cast<int>(SendDlgItemMessageW(h, 30, TVM_GETCOUNT, 0, 0));
    EndDialog(h, IDOK);
    return TRUE;
  }
  return FALSE;
}

TEST(DescriptorLoop, ADialogIsDrivenByScreenPointInputFromADescriptorWhileAWorkerFillsItsTree) {
  Pipe input;
  int watch = zrui::WatchDescriptor(input.readEnd(), POLLIN, [](int fd, short) {
    Event e;
    if (read(fd, &e, sizeof e) != static_cast<ssize_t>(sizeof e)) return;
    POINT p{e.x, e.y};
    if (e.kind == 'p') zrui::InputMousePress(p, zrui::MouseButton::Left);
    else if (e.kind == 'r') zrui::InputMouseRelease(p, zrui::MouseButton::Left);
    else zrui::InputChar(e.ch);
  });
  DialogTemplate t;
  t.caption = u"Fill";
  t.cx = 160;
  t.cy = 110;
  t.items = {CONTROL(u"", 30, WC_TREEVIEWW, WS_BORDER | WS_TABSTOP, 5, 5, 100, 80), EDITTEXT(31, 5, 90, 100, 12),
             DEFPUSHBUTTON(u"OK", IDOK, 110, 5, 40, 14)};
  FillDialog d;
  d.writeEnd = input.writeEnd();
  INT_PTR r = DialogBoxIndirectParamW(nullptr, &t, nullptr, FillDialogProc, reinterpret_cast<LPARAM>(&d));
  d.worker.join();
  zrui::UnwatchDescriptor(watch);
  EXPECT_EQ(r, IDOK);
  EXPECT_EQ(d.name, u"J12");
  EXPECT_EQ(d.itemsAtOk, kFillCount + 1);
}

}  // namespace
