#include "zrui/afx/cwinthread.h"

#include <condition_variable>
#include <mutex>

namespace {
std::mutex g_threadMutex;
std::condition_variable g_threadCv;
}  // namespace

CWinThread::~CWinThread() {
  if (m_thread.joinable()) {
    if (m_thread.get_id() == std::this_thread::get_id()) m_thread.detach();
    else m_thread.join();
  }
}

UINT CWinThread::Join() {
  if (!m_bAutoDelete && m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
  return m_result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int, UINT, DWORD flags, void*) {
  if (!proc) return nullptr;
  auto* t = new CWinThread;
  bool suspended = (flags & CREATE_SUSPENDED) != 0;
  t->m_started = !suspended;
  t->m_thread = std::thread([t, proc, param] {
    {
      std::unique_lock lock(g_threadMutex);
      g_threadCv.wait(lock, [t] { return t->m_started.load() && t->m_ready; });
    }
    UINT r = proc(param);
    t->m_result = r;
    t->m_running = false;
    if (t->m_bAutoDelete) {
      t->m_thread.detach();
      delete t;
    }
  });
  {
    // The thread may only touch m_thread once it has been assigned.
    std::lock_guard lock(g_threadMutex);
    t->m_ready = true;
  }
  g_threadCv.notify_all();
  return t;
}

void ResumeThread(CWinThread* thread) {
  if (!thread) return;
  {
    std::lock_guard lock(g_threadMutex);
    thread->m_started = true;
  }
  g_threadCv.notify_all();
}
