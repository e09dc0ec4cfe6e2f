// Window creation and destruction, message delivery, registered messages,
// window procedures chaining, text and state.
#include <thread>

#include "ui_test_support.h"
#include "zrui/testing.h"

using namespace zrui::test;

namespace {

TEST(CoreWindows, CreationSendsTheCreationMessagesInOrder) {
  MessageLog log;
  HWND h = CreateLogger(&log);
  ASSERT_TRUE(IsWindow(h));
  auto m = log.messages(h);
  ASSERT_GE(m.size(), 4u);
  EXPECT_EQ(m[0], WM_NCCREATE);
  EXPECT_EQ(m[1], WM_CREATE);
  EXPECT_EQ(m[2], WM_SIZE);
  EXPECT_EQ(m[3], WM_MOVE);
  DestroyWindow(h);
}

TEST(CoreWindows, DestructionNotifiesParentBeforeChildrenAndFreesChildrenFirst) {
  MessageLog log;
  HWND parent = CreateLogger(&log);
  HWND child = CreateLogger(&log, parent, WS_CHILD | WS_VISIBLE, 7);
  log.entries.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> seq;
  for (auto& e : log.entries)
    if (e.msg == WM_DESTROY || e.msg == WM_NCDESTROY) seq.emplace_back(e.h, e.msg);
  std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
  EXPECT_EQ(seq, expected);
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  // Handles are never reused: a stale handle stays invalid.
  MessageLog other;
  HWND fresh = CreateLogger(&other);
  EXPECT_NE(fresh, parent);
  EXPECT_NE(fresh, child);
  EXPECT_EQ(SendMessageW(parent, WM_USER, 0, 0), 0);
  EXPECT_FALSE(DestroyWindow(parent));
  DestroyWindow(fresh);
}

TEST(CoreWindows, BadCreationRequestsFailWithoutAWindow) {
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x12345678));
  EXPECT_EQ(CreateWindowExW(0, WC_BUTTONW, u"", WS_CHILD, 0, 0, 10, 10, bogus, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowExW(0, WC_BUTTONW, u"", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST(CoreMessages, PostedMessagesWaitForThePumpAndKeepTheirOrder) {
  MessageLog log;
  HWND h = CreateLogger(&log);
  log.entries.clear();
  PostMessageW(h, WM_USER + 1, 1, 0);
  PostMessageW(h, WM_USER + 2, 2, 0);
  EXPECT_EQ(log.entries.size(), 0u);
  zrui::Pump();
  ASSERT_EQ(log.entries.size(), 2u);
  EXPECT_EQ(log.entries[0].msg, WM_USER + 1);
  EXPECT_EQ(log.entries[1].msg, WM_USER + 2);
  // Messages posted to a window destroyed meanwhile are dropped.
  PostMessageW(h, WM_USER + 3, 0, 0);
  DestroyWindow(h);
  log.entries.clear();
  zrui::Pump();
  EXPECT_EQ(log.count(WM_USER + 3), 0);
}

TEST(CoreMessages, RegisteredMessagesAreStablePerNameIgnoringCase) {
  UINT a = RegisterWindowMessageW(u"WM_LIST_PROPRIEDADE_ENDEDIT");
  UINT b = RegisterWindowMessageW(u"wm_list_propriedade_endedit");
  UINT c = RegisterWindowMessageW(u"WM_LIST_PROPRIEDADE_BEGINEDIT");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
  EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
}

LRESULT CALLBACK Doubler(HWND h, UINT msg, WPARAM w, LPARAM l);
WNDPROC g_previous = nullptr;
LRESULT CALLBACK Doubler(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 10) return 2 * CallWindowProcW(g_previous, h, msg, w, l);
  return CallWindowProcW(g_previous, h, msg, w, l);
}
LRESULT CALLBACK Answer(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 10) return 21;
  return DefWindowProcW(h, msg, w, l);
}

TEST(CoreMessages, SubclassingChainsToThePreviousProcedure) {
  WNDCLASSW wc;
  wc.lpfnWndProc = Answer;
  wc.lpszClassName = u"ZrAnswer";
  RegisterClassW(&wc);
  EXPECT_EQ(RegisterClassW(&wc), 0) << "a class name registers once";
  HWND h = CreateWindowExW(0, u"zranswer", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(h) << "class names ignore case";
  EXPECT_EQ(SendMessageW(h, WM_USER + 10, 0, 0), 21);
  g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Doubler)));
  EXPECT_EQ(SendMessageW(h, WM_USER + 10, 0, 0), 42);
  DestroyWindow(h);
}

TEST(CoreWindows, TextStateAndRelations) {
  MessageLog log;
  HWND parent = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE);
  HWND child = CreateLogger(&log, parent, WS_CHILD | WS_VISIBLE, 42);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_EQ(GetDlgItem(parent, 42), child);
  EXPECT_EQ(GetDlgCtrlID(child), 42);
  EXPECT_TRUE(IsChild(parent, child));
  SetWindowTextW(child, u"Conector J1");
  EXPECT_EQ(GetWindowTextString(child), u"Conector J1");
  char16_t small[5];
  EXPECT_EQ(GetWindowTextW(child, small, 5), 4);
  EXPECT_EQ(std::u16string(small), u"Cone");

  EXPECT_TRUE(IsWindowVisible(child));
  ShowWindow(parent, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(child)) << "a child of a hidden window is not visible";
  ShowWindow(parent, SW_SHOW);

  SetFocus(child);
  EXPECT_EQ(GetFocus(), child);
  EXPECT_FALSE(EnableWindow(child, FALSE));
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_EQ(GetFocus(), nullptr) << "disabling the focus window takes the focus away";
  EXPECT_TRUE(EnableWindow(child, TRUE));
  DestroyWindow(parent);
}

TEST(CoreWindows, AnotherThreadReadsTheStoredTextWithoutSending) {
  MessageLog log;
  HWND h = CreateLogger(&log);
  SetWindowTextW(h, u"pino 3");
  log.entries.clear();
  std::u16string seen;
  std::thread t([&] { seen = GetWindowTextString(h); });
  t.join();
  EXPECT_EQ(seen, u"pino 3");
  EXPECT_EQ(log.count(WM_GETTEXT), 0);
  DestroyWindow(h);
}

TEST(CoreFocus, FocusChangesNotifyBothWindowsWithTheOtherOne) {
  MessageLog log;
  HWND top = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE);
  HWND a = CreateLogger(&log, top, WS_CHILD | WS_VISIBLE, 1);
  HWND b = CreateLogger(&log, top, WS_CHILD | WS_VISIBLE, 2);
  SetFocus(a);
  log.entries.clear();
  EXPECT_EQ(SetFocus(b), a);
  std::vector<MessageLog::Entry> focus;
  for (auto& e : log.entries)
    if (e.msg == WM_KILLFOCUS || e.msg == WM_SETFOCUS) focus.push_back(e);
  ASSERT_EQ(focus.size(), 2u);
  EXPECT_EQ(focus[0].h, a);
  EXPECT_EQ(focus[0].msg, WM_KILLFOCUS);
  EXPECT_EQ(reinterpret_cast<HWND>(focus[0].w), b);
  EXPECT_EQ(focus[1].h, b);
  EXPECT_EQ(focus[1].msg, WM_SETFOCUS);
  EXPECT_EQ(reinterpret_cast<HWND>(focus[1].w), a);
  // Destroying the focus window takes the focus with a last WM_KILLFOCUS.
  log.entries.clear();
  DestroyWindow(b);
  EXPECT_EQ(log.count(WM_KILLFOCUS), 1);
  EXPECT_EQ(GetFocus(), nullptr);
  DestroyWindow(top);
}

TEST(CoreGeometry, CoordinatesFollowParentsAndTheFrameOfTopLevelWindows) {
  MessageLog log;
  HWND top = CreateWindowExW(0, LoggerClass(), u"t", WS_POPUP | WS_CAPTION, 100, 50, 300, 200, nullptr, nullptr,
                             nullptr, &log);
  HWND child = CreateWindowExW(0, LoggerClass(), u"c", WS_CHILD | WS_VISIBLE, 10, 20, 30, 40, top, nullptr, nullptr, &log);
  RECT cr;
  GetClientRect(top, &cr);
  EXPECT_EQ(cr.right, 300 - 14);
  EXPECT_EQ(cr.bottom, 200 - 26);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 100 + 7 + 10);
  EXPECT_EQ(p.y, 50 + 13 + 20);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);
  RECT wr;
  GetWindowRect(child, &wr);
  EXPECT_EQ(wr.right - wr.left, 30);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{15, 25}), child);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{5, 5}), top);
  MoveWindow(child, 1, 2, 3, 4, TRUE);
  GetWindowRect(child, &wr);
  EXPECT_EQ(wr.left, 100 + 7 + 1);
  EXPECT_EQ(wr.bottom - wr.top, 4);
  DestroyWindow(top);
}

}  // namespace
