// The modal loop and the per-message processing shared with Pump().
#include <atomic>
#include <cstdio>
#include <deque>
#include <mutex>

#include "core/hooks.h"
#include "core/message_queue.h"
#include "core/window_store.h"
#include "zrui/dialog.h"
#include "zrui/eventloop.h"

using namespace zrui::detail;

namespace zrui::detail {
namespace {
std::atomic<PreTranslateHook> g_preTranslate{nullptr};
std::atomic<ModalActionSource> g_actionSource{nullptr};
}  // namespace
void SetPreTranslateHook(PreTranslateHook hook) { g_preTranslate = hook; }
void SetModalActionSource(ModalActionSource source) { g_actionSource = source; }
PreTranslateHook GetPreTranslateHook() { return g_preTranslate; }
}  // namespace zrui::detail

namespace zrui {
namespace {

std::atomic<long long> g_idleTimeoutMs{0};
std::atomic<int> g_abandoned{0};
thread_local IdleHandler tl_idle;
thread_local std::chrono::milliseconds tl_idleRecheck{-1};

std::function<void(HWND)> TakeAction() {
  ModalActionSource source = g_actionSource.load();
  return source ? source() : nullptr;
}

// How long an idle loop may sleep before it must look again: until the idle
// timeout, and at most the idle handler's recheck period.
std::chrono::milliseconds IdleWait(std::chrono::milliseconds untilTimeout) {
  if (tl_idle && tl_idleRecheck.count() >= 0)
    return untilTimeout.count() < 0 ? tl_idleRecheck : std::min(untilTimeout, tl_idleRecheck);
  return untilTimeout;
}

HWND DialogFor(HWND h) {
  HWND root = GetAncestor(h, GA_ROOT);
  return (root && GetClassNameString(root) == WC_DIALOGW) ? root : nullptr;
}

}  // namespace

void SetModalIdleTimeout(std::chrono::milliseconds timeout) { g_idleTimeoutMs = timeout.count(); }
int AbandonedModalLoops() { return g_abandoned; }
void SetIdleHandler(IdleHandler handler) { SetIdleHandler(std::move(handler), std::chrono::milliseconds(-1)); }
void SetIdleHandler(IdleHandler handler, std::chrono::milliseconds recheck) {
  tl_idle = std::move(handler);
  tl_idleRecheck = recheck;
}

void ProcessQueuedMessage(MSG& msg) {
  if (PreTranslateHook hook = GetPreTranslateHook(); hook && hook(&msg)) return;
  if (HWND dlg = DialogFor(msg.hwnd); dlg && IsDialogMessageW(dlg, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ProcessQueuedMessage(msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    Pump();
    if (done()) return true;
    auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return done();
    WaitForMessage(std::min<std::chrono::milliseconds>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now), std::chrono::milliseconds(20)));
  }
}

INT_PTR RunModalLoop(HWND dlg) {
  HWND owner = GetWindow(dlg, GW_OWNER);
  bool reenable = owner && IsWindowEnabled(owner);
  if (reenable) EnableWindow(owner, FALSE);
  ShowWindow(dlg, SW_SHOW);
  if (GetActiveWindow() != dlg) SetActiveWindow(dlg);
  std::function<void(HWND)> script = TakeAction();
  bool scriptDone = !script;
  auto idleSince = std::chrono::steady_clock::now();
  while (IsWindow(dlg) && !IsDialogEnded(dlg)) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      ProcessQueuedMessage(msg);
      idleSince = std::chrono::steady_clock::now();
      continue;
    }
    if (!scriptDone) {
      scriptDone = true;
      script(dlg);
      idleSince = std::chrono::steady_clock::now();
      continue;
    }
    if (tl_idle && tl_idle(dlg)) {
      idleSince = std::chrono::steady_clock::now();
      continue;
    }
    auto limit = std::chrono::milliseconds(g_idleTimeoutMs.load());
    if (limit.count() <= 0) {
      WaitForMessage(IdleWait(std::chrono::milliseconds(-1)));
      continue;
    }
    auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - idleSince);
    if (idle >= limit) {
      ++g_abandoned;
      std::fprintf(stderr, "zrui: modal dialog left open, ended with IDABORT\n");
      EndDialog(dlg, IDABORT);
      break;
    }
    WaitForMessage(IdleWait(limit - idle));
  }
  if (reenable && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  INT_PTR result = -1;
  {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(dlg);
    if (r && r->dialog) result = r->dialog->result;
  }
  return result;
}

}  // namespace zrui
