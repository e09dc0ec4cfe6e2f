// AfxMessageBox, the file dialog, exceptions and worker threads of the
// MFC-shaped layer.
#pragma once

#include <atomic>
#include <thread>

#include "zrui/afx/cwnd.h"

int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* wnd);
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// ---- exceptions ----
class CException {
 public:
  virtual ~CException() = default;
  virtual BOOL GetErrorMessage(LPTSTR buf, UINT max, UINT* helpContext = nullptr) const;
  virtual CString Message() const { return u"Unknown error"; }
  void Delete() { delete this; }
};
class CInvalidArgException : public CException {
 public:
  CString Message() const override { return u"Invalid argument"; }
};
class CMemoryException : public CException {
 public:
  CString Message() const override { return u"Out of memory"; }
};
// Thrown as pointers, as MFC does: catch (CException* e) { ...; e->Delete(); }
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();

// ---- file dialog ----
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct OPENFILENAMEW {
  DWORD Flags = 0;
  LPCWSTR lpstrInitialDir = nullptr;
  LPCWSTR lpstrTitle = nullptr;
  LPCWSTR lpstrDefExt = nullptr;
};

// The common file dialog; answered by the file dialog responder (zrui/msgbox.h).
class CFileDialog {
 public:
  explicit CFileDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                       CWnd* parent = nullptr);
  virtual ~CFileDialog() = default;
  virtual INT_PTR DoModal();
  CString GetPathName() const { return m_path; }
  CString GetFileName() const;   // with extension, without folder
  CString GetFileTitle() const;  // without folder and extension
  CString GetFileExt() const;
  CString GetFolderPath() const;
  OPENFILENAMEW m_ofn;

 private:
  BOOL m_open;
  CString m_defExt, m_fileName, m_filter, m_path;
};

// ---- worker threads ----
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
