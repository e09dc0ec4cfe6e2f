// Messages sent from worker threads are handled on the window's own thread
// while it pumps (a modal loop), as the catalogue fill of the selection
// dialog needs. Run under ThreadSanitizer in the ZR_TSAN build.
#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "ui_test_support.h"
#include "zrui/testing.h"

using namespace zrui::test;
using namespace zrui::rc;

namespace {

// Which threads handled each window's messages, and how many.
std::mutex g_mutex;
std::map<HWND, std::set<std::thread::id>> g_threads;
std::map<HWND, int> g_counts;

int HandledCount(HWND h) {
  std::lock_guard lock(g_mutex);
  return g_counts[h];
}

std::set<std::thread::id> HandledOn(HWND h) {
  std::lock_guard lock(g_mutex);
  return g_threads[h];
}

LRESULT CALLBACK CountingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 1) {
    std::lock_guard lock(g_mutex);
    g_threads[h].insert(std::this_thread::get_id());
    ++g_counts[h];
    return static_cast<LRESULT>(w) * 2;
  }
  return DefWindowProcW(h, msg, w, l);
}

HWND MakeCounter() {
  static bool registered = [] {
    WNDCLASSW wc;
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = u"ZrCounter";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"ZrCounter", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(Threads, AWorkerSendsToAWindowAndGetsTheResultFromTheOwnerThread) {
  HWND h = MakeCounter();
  std::atomic<long long> sum{0};
  std::thread worker([&] {
    for (int i = 1; i <= 50; ++i) sum += SendMessageW(h, WM_USER + 1, static_cast<WPARAM>(i), 0);
  });
  ASSERT_TRUE(zrui::PumpUntil([&] { return HandledCount(h) == 50; }, std::chrono::seconds(10)));
  worker.join();
  EXPECT_EQ(sum.load(), 2 * (50 * 51 / 2));
  EXPECT_EQ(HandledOn(h), std::set<std::thread::id>{std::this_thread::get_id()});
  DestroyWindow(h);
}

TEST(Threads, AModalDialogServesAWorkerFillingItsControls) {
  DialogTemplate t;
  t.cx = 150;
  t.cy = 100;
  t.items = {COMBOBOX(10, 5, 5, 100, 80, CBS_DROPDOWNLIST), PUSHBUTTON(u"OK", IDOK, 5, 60, 40, 14, WS_DISABLED)};
  std::thread worker;
  zrui::OnNextModal([&](HWND dlg) {
    HWND combo = GetDlgItem(dlg, 10);
    HWND ok = GetDlgItem(dlg, IDOK);
    worker = std::thread([combo, ok] {
      for (int i = 0; i < 20; ++i) {
        std::u16string s = u"item " + std::u16string(1, static_cast<char16_t>(u'A' + i));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
      }
      EnableWindow(ok, TRUE);  // from the worker: the flag is shared state
    });
    ASSERT_TRUE(zrui::PumpUntil([&] { return IsWindowEnabled(ok); }, std::chrono::seconds(10)));
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 20);
    zrui::Click(ok);
  });
  INT_PTR r = DialogBoxIndirectParamW(nullptr, &t, nullptr,
                                      [](HWND h, UINT m, WPARAM w, LPARAM) -> INT_PTR {
                                        if (m == WM_COMMAND && LOWORD(w) == IDOK) EndDialog(h, IDOK);
                                        return m == WM_INITDIALOG;
                                      },
                                      0);
  worker.join();
  EXPECT_EQ(r, IDOK);
}

TEST(Threads, TwoThreadsSendingToEachOtherDoNotDeadlock) {
  HWND mine = MakeCounter();
  std::atomic<HWND> theirs{nullptr};
  std::atomic<bool> stop{false};
  std::atomic<LRESULT> fromMine{0};
  std::thread other([&] {
    HWND h = MakeCounter();
    theirs = h;
    // While this thread waits for `mine`, the main thread sends to `h`.
    fromMine = SendMessageW(mine, WM_USER + 1, 21, 0);
    while (!stop) {
      zrui::Pump();
      std::this_thread::yield();
    }
    DestroyWindow(h);
  });
  while (!theirs) std::this_thread::yield();
  LRESULT fromTheirs = 0;
  std::thread helper([&] { fromTheirs = SendMessageW(theirs, WM_USER + 1, 4, 0); });
  ASSERT_TRUE(zrui::PumpUntil([&] { return fromMine.load() == 42; }, std::chrono::seconds(10)));
  helper.join();
  stop = true;
  other.join();
  EXPECT_EQ(fromTheirs, 8);
  EXPECT_EQ(HandledOn(mine), std::set<std::thread::id>{std::this_thread::get_id()});
  DestroyWindow(mine);
}

}  // namespace
