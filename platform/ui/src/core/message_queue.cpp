#include "core/message_queue.h"

#include <unordered_map>

#include "core/window_store.h"

namespace zrui::detail {
namespace {

struct QueueTable {
  std::mutex m;
  std::unordered_map<std::thread::id, std::shared_ptr<ThreadQueue>> queues;
};

QueueTable& queues() {
  static QueueTable* t = new QueueTable;
  return *t;
}

// Drops the thread's queue when the thread ends, so a later thread that
// happens to get the same id starts with an empty queue.
struct QueueReleaser {
  ~QueueReleaser() {
    QueueTable& t = queues();
    std::lock_guard lock(t.m);
    t.queues.erase(std::this_thread::get_id());
  }
};

thread_local BYTE tl_mods = 0;
thread_local WPARAM tl_mouseButtons = 0;

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MOUSEWHEEL; }
thread_local int tl_inSend = 0;

}  // namespace

std::shared_ptr<ThreadQueue> QueueOf(std::thread::id id) {
  QueueTable& t = queues();
  std::lock_guard lock(t.m);
  auto& q = t.queues[id];
  if (!q) q = std::make_shared<ThreadQueue>();
  return q;
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
  thread_local QueueReleaser releaser;
  thread_local std::shared_ptr<ThreadQueue> mine = QueueOf(std::this_thread::get_id());
  (void)releaser;
  return mine;
}

void ProcessSentMessages() {
  auto q = CurrentQueue();
  for (;;) {
    std::shared_ptr<SentCall> call;
    {
      std::lock_guard lock(q->m);
      if (q->sent.empty()) return;
      call = q->sent.front();
      q->sent.pop_front();
    }
    ++tl_inSend;
    LRESULT r = IsWindow(call->h) ? Deliver(call->h, call->msg, call->w, call->l) : 0;
    --tl_inSend;
    {
      std::lock_guard lock(call->sender->m);
      call->result = r;
      call->done = true;
    }
    call->sender->cv.notify_all();
  }
}

LRESULT SendAcrossThreads(std::thread::id target, HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto call = std::make_shared<SentCall>();
  call->h = h;
  call->msg = msg;
  call->w = w;
  call->l = l;
  call->sender = CurrentQueue();
  auto tq = QueueOf(target);
  {
    std::lock_guard lock(tq->m);
    tq->sent.push_back(call);
  }
  WakeQueue(*tq);
  // While waiting, keep serving messages sent to this thread, so two threads
  // sending to each other cannot deadlock.
  auto me = call->sender;
  std::unique_lock lock(me->m);
  while (!call->done) {
    if (!me->sent.empty()) {
      lock.unlock();
      ProcessSentMessages();
      lock.lock();
      continue;
    }
    me->cv.wait(lock);
  }
  return call->result;
}

BOOL PostToThread(std::thread::id target, const QueuedMsg& qm) {
  auto tq = QueueOf(target);
  {
    std::lock_guard lock(tq->m);
    tq->posted.push_back(qm);
  }
  WakeQueue(*tq);
  return TRUE;
}

BOOL PostInput(HWND h, UINT msg, WPARAM w, LPARAM l, BYTE mods) {
  bool ok = false;
  auto tid = WindowThread(h, &ok);
  if (!ok) return FALSE;
  QueuedMsg qm;
  qm.msg.hwnd = h;
  qm.msg.message = msg;
  qm.msg.wParam = w;
  qm.msg.lParam = l;
  qm.msg.time = GetTickCount();
  qm.mods = mods;
  qm.input = true;
  return PostToThread(tid, qm);
}

BOOL PostKeyboardInput(UINT msg, WPARAM w, LPARAM l, BYTE mods) {
  QueuedMsg qm;
  qm.msg.message = msg;
  qm.msg.wParam = w;
  qm.msg.lParam = l;
  qm.msg.time = GetTickCount();
  qm.mods = mods;
  qm.input = true;
  qm.toFocus = true;
  return PostToThread(std::this_thread::get_id(), qm);
}

bool HasPendingMessages() {
  auto q = CurrentQueue();
  std::lock_guard lock(q->m);
  return !q->posted.empty() || !q->sent.empty() || q->quit;
}

BYTE CurrentModifiers() { return tl_mods; }
WPARAM CurrentMouseButtons() { return tl_mouseButtons; }

void KillTimersOf(HWND h) {
  auto q = CurrentQueue();
  std::lock_guard lock(q->m);
  std::erase_if(q->timers, [h](const Timer& t) { return t.h == h; });
}
void SetCurrentModifiers(BYTE mods) { tl_mods = mods; }

}  // namespace zrui::detail

using namespace zrui::detail;

BOOL InSendMessage() { return tl_inSend > 0; }

BOOL PostMessageW(HWND h, UINT msg, WPARAM w, LPARAM l) {
  bool ok = false;
  auto tid = WindowThread(h, &ok);
  if (!ok) return FALSE;
  QueuedMsg qm;
  qm.msg.hwnd = h;
  qm.msg.message = msg;
  qm.msg.wParam = w;
  qm.msg.lParam = l;
  qm.msg.time = GetTickCount();
  return PostToThread(tid, qm);
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  {
    std::lock_guard lock(q->m);
    q->quit = true;
    q->quitCode = exitCode;
  }
  WakeQueue(*q);
}

namespace {

bool Matches(const MSG& m, HWND h, UINT lo, UINT hi) {
  if (h && m.hwnd != h) return false;
  if (lo == 0 && hi == 0) return true;
  return m.message >= lo && m.message <= hi;
}

// A due timer becomes a WM_TIMER message, generated when nothing else waits.
bool TakeDueTimer(ThreadQueue& q, HWND h, MSG* out) {
  auto now = std::chrono::steady_clock::now();
  for (Timer& t : q.timers) {
    if (t.due > now || (h && t.h != h)) continue;
    t.due = now + t.interval;
    *out = MSG{};
    out->hwnd = t.h;
    out->message = WM_TIMER;
    out->wParam = t.id;
    return true;
  }
  return false;
}

}  // namespace

BOOL PeekMessageW(MSG* msg, HWND h, UINT lo, UINT hi, UINT remove) {
  ProcessSentMessages();
  auto q = CurrentQueue();
  // Keyboard input goes to the focus at the time it is taken: a press queued
  // before it may have moved the focus. Focus belongs to this thread, so it
  // cannot change while this call looks.
  HWND focus = GetFocus();
  if (!focus) focus = GetActiveWindow();
  std::unique_lock lock(q->m);
  for (auto it = q->posted.begin(); it != q->posted.end();) {
    if (it->toFocus && !focus) {
      it = q->posted.erase(it);
      continue;
    }
    MSG candidate = it->msg;
    if (it->toFocus) candidate.hwnd = focus;
    if (!Matches(candidate, h, lo, hi)) {
      ++it;
      continue;
    }
    *msg = candidate;
    if (remove & PM_REMOVE) {
      if (it->input) {
        tl_mods = it->mods;
        // The buttons held, as the message carries them (the wheel in its
        // low word); a key leaves them as the last mouse message had them.
        if (IsMouseMessage(candidate.message))
          tl_mouseButtons = candidate.wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
      }
      q->posted.erase(it);
    }
    return TRUE;
  }
  if (q->quit && !h) {
    *msg = MSG{};
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(q->quitCode);
    if (remove & PM_REMOVE) q->quit = false;
    return TRUE;
  }
  if ((lo == 0 && hi == 0) || (WM_TIMER >= lo && WM_TIMER <= hi)) {
    if (TakeDueTimer(*q, h, msg)) return TRUE;
  }
  return FALSE;
}

BOOL GetMessageW(MSG* msg, HWND h, UINT lo, UINT hi) {
  for (;;) {
    if (PeekMessageW(msg, h, lo, hi, PM_REMOVE)) return msg->message != WM_QUIT;
    WaitForMessage(std::chrono::milliseconds(-1));
  }
}

BOOL WaitMessage() {
  ProcessSentMessages();
  WaitForMessage(std::chrono::milliseconds(-1));
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg->hwnd || !IsWindow(msg->hwnd)) return 0;
  return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapseMs, void*) {
  auto q = CurrentQueue();
  std::lock_guard lock(q->m);
  for (Timer& t : q->timers) {
    if (t.h == h && t.id == id) {
      t.interval = std::chrono::milliseconds(elapseMs);
      t.due = std::chrono::steady_clock::now() + t.interval;
      return id;
    }
  }
  Timer t;
  t.h = h;
  t.id = id;
  t.interval = std::chrono::milliseconds(elapseMs);
  t.due = std::chrono::steady_clock::now() + t.interval;
  q->timers.push_back(t);
  return id;
}

BOOL KillTimer(HWND h, UINT_PTR id) {
  auto q = CurrentQueue();
  std::lock_guard lock(q->m);
  for (auto it = q->timers.begin(); it != q->timers.end(); ++it) {
    if (it->h == h && it->id == id) {
      q->timers.erase(it);
      return TRUE;
    }
  }
  return FALSE;
}

DWORD GetTickCount() {
  using namespace std::chrono;
  return static_cast<DWORD>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
