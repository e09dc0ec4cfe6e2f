// CWinThread and AfxBeginThread: worker threads.
#pragma once

#include <atomic>
#include <thread>

#include "zrui/wintypes.h"

using AFX_THREADPROC = UINT (*)(LPVOID);
class CWinThread {
 public:
  // Waits for the thread when it was not set to delete itself.
  virtual ~CWinThread();
  BOOL m_bAutoDelete = TRUE;
  // Joins the thread (only when m_bAutoDelete is FALSE). Returns its result.
  UINT Join();
  bool IsRunning() const { return m_running; }

 private:
  friend void ResumeThread(CWinThread* thread);
  friend CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                                    DWORD flags, void* security);
  std::thread m_thread;
  std::atomic<bool> m_running{true};
  std::atomic<bool> m_started{false};
  bool m_ready = false;  // guarded by the threads' mutex
  UINT m_result = 0;
};
constexpr DWORD CREATE_SUSPENDED = 0x00000004;
// Starts `proc(param)` on a new thread. With m_bAutoDelete (the default) the
// object deletes itself when the thread ends; clear it right after the call
// only with CREATE_SUSPENDED and then call ResumeThread.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = 0, UINT stackSize = 0,
                           DWORD flags = 0, void* security = nullptr);
void ResumeThread(CWinThread* thread);
