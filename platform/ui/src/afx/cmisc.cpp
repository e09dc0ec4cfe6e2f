// AfxMessageBox, CFileDialog, exceptions and worker threads.
#include "zrui/afx/cmisc.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace {
std::atomic<CWnd*> g_mainWnd{nullptr};
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  std::u16string caption = zrui::AppName();
  return ::MessageBoxW(::GetActiveWindow(), text, caption.c_str(), type);
}
CWnd* AfxGetMainWnd() { return g_mainWnd; }
void AfxSetMainWnd(CWnd* wnd) { g_mainWnd = wnd; }
HINSTANCE AfxGetInstanceHandle() { return nullptr; }
HINSTANCE AfxGetResourceHandle() { return nullptr; }

BOOL CException::GetErrorMessage(LPTSTR buf, UINT max, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (!buf || max == 0) return FALSE;
  CString m = Message();
  UINT n = std::min<UINT>(static_cast<UINT>(m.GetLength()), max - 1);
  std::copy_n(m.GetString(), n, buf);
  buf[n] = 0;
  return TRUE;
}
void AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AfxThrowMemoryException() { throw new CMemoryException; }

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter, CWnd*)
    : m_open(openFileDialog), m_defExt(defExt), m_fileName(fileName), m_filter(filter) {
  m_ofn.Flags = flags;
  m_ofn.lpstrDefExt = defExt;
}

INT_PTR CFileDialog::DoModal() {
  zrui::FileDialogRequest req;
  req.open = m_open != 0;
  req.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : u"";
  req.defaultExtension = m_defExt.str();
  req.fileName = m_fileName.str();
  req.filter = m_filter.str();
  req.initialDirectory = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : u"";
  req.flags = m_ofn.Flags;
  zrui::FileDialogAnswer a = zrui::ShowFileDialog(req);
  if (a.result == IDOK) m_path = CString(a.path);
  return a.result == IDOK ? IDOK : IDCANCEL;
}

namespace {
int LastSeparator(const CString& p) { return std::max(p.ReverseFind(u'/'), p.ReverseFind(u'\\')); }
}  // namespace

CString CFileDialog::GetFileName() const { return m_path.Mid(LastSeparator(m_path) + 1); }
CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(u'.');
  return dot > 0 ? name.Left(dot) : name;
}
CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(u'.');
  return dot >= 0 ? name.Mid(dot + 1) : CString();
}
CString CFileDialog::GetFolderPath() const {
  int sep = LastSeparator(m_path);
  return sep >= 0 ? m_path.Left(sep) : CString();
}

// ---- threads ----
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
