#include "zrui/afx/afxapp.h"

#include <atomic>

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
