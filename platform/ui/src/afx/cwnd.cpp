// CWnd: attaching objects to windows, subclassing, creation, AfxWndProc.
#include "zrui/afx/cwnd.h"

#include <vector>

#include "core/hooks.h"
#include "core/window_store.h"

using namespace zrui::detail;

namespace {

struct CurrentMessage {
  HWND h;
  UINT msg;
  WPARAM w;
  LPARAM l;
};
thread_local std::vector<CurrentMessage> tl_current;

bool AfxPreTranslate(MSG* msg) {
  for (HWND h = msg->hwnd; h;) {
    CWnd* w = CWnd::FromHandlePermanent(h);
    if (w && w->PreTranslateMessage(msg)) return true;
    if (!IsWindow(h) || !(WindowStyle(h) & WS_CHILD)) break;
    h = ::GetParent(h);
  }
  return false;
}

struct PreTranslateInstaller {
  PreTranslateInstaller() { SetPreTranslateHook(&AfxPreTranslate); }
} g_installer;

const char16_t* kAfxWndClass = u"AfxWnd";

void RegisterAfxWndClass() {
  static bool done = [] {
    WNDCLASSW wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = kAfxWndClass;
    RegisterClassW(&wc);
    return true;
  }();
  (void)done;
}

}  // namespace

struct AfxTemporaryWnd {
  static void Release(void* p) {
    auto* w = static_cast<CWnd*>(p);
    w->m_hWnd = nullptr;
    delete w;
  }
};

void AfxAttachCreatedWindow(HWND h, void* object) {
  auto* w = static_cast<CWnd*>(object);
  w->Attach(h);
  w->PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc) w->m_pfnSuper = old;
}

void AfxHookWindowCreate(CWnd* wnd) { SetCreationHook(&AfxAttachCreatedWindow, wnd); }

LRESULT CALLBACK AfxWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  CWnd* wnd = CWnd::FromHandlePermanent(h);
  if (!wnd) return DefWindowProcW(h, msg, w, l);
  tl_current.push_back(CurrentMessage{h, msg, w, l});
  LRESULT r = wnd->WindowProc(msg, w, l);
  tl_current.pop_back();
  if (msg == WM_NCDESTROY && CWnd::FromHandlePermanent(h) == wnd) {
    // The window is gone: the object lets go of it and may delete itself.
    wnd->Detach();
    wnd->m_pfnSuper = nullptr;
    wnd->PostNcDestroy();
  }
  return r;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::~CWnd() {
  if (m_hWnd && !m_temporary) {
    bool ok = false;
    if (WindowThread(m_hWnd, &ok) == std::this_thread::get_id() && ok) ::DestroyWindow(m_hWnd);
    if (m_hWnd) Detach();
  }
}

CWnd* CWnd::FromHandlePermanent(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? static_cast<CWnd*>(r->object) : nullptr;
}

CWnd* CWnd::FromHandle(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return nullptr;
  if (r->object) return static_cast<CWnd*>(r->object);
  if (!r->tempObject) {
    auto* w = new CWnd;
    w->m_hWnd = h;
    w->m_temporary = true;
    r->tempObject = std::shared_ptr<void>(w, &AfxTemporaryWnd::Release);
  }
  return static_cast<CWnd*>(r->tempObject.get());
}

BOOL CWnd::Attach(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r || (r->object && r->object != this) || (m_hWnd && m_hWnd != h)) return FALSE;
  r->object = this;
  m_hWnd = h;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  {
    std::lock_guard lock(WindowStore::mutex());
    if (WindowRecord* r = WindowStore::find(h); r && r->object == this) r->object = nullptr;
  }
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND h) {
  if (!Attach(h)) return FALSE;
  PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  HWND c = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  return c ? SubclassWindow(c) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper) SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void*) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, nullptr);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  CREATESTRUCT cs;
  cs.dwExStyle = exStyle;
  if (!className) RegisterAfxWndClass();
  cs.lpszClass = className ? className : kAfxWndClass;
  cs.lpszName = windowName;
  cs.style = static_cast<LONG>(style);
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.hwndParent = parent;
  cs.hMenu = idOrMenu;
  cs.lpCreateParams = param;
  if (!PreCreateWindow(cs)) return FALSE;
  AfxHookWindowCreate(this);
  HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                             cs.cx, cs.cy, cs.hwndParent, cs.hMenu, nullptr, cs.lpCreateParams);
  SetCreationHook(nullptr, nullptr);
  return h != nullptr;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::Default() {
  if (tl_current.empty() || tl_current.back().h != m_hWnd) return 0;
  CurrentMessage m = tl_current.back();
  return DefWindowProc(m.msg, m.w, m.l);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM w, LPARAM l) {
  if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, msg, w, l);
  return ::DefWindowProcW(m_hWnd, msg, w, l);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM w, LPARAM l) {
  LRESULT r = 0;
  if (!OnWndMsg(msg, w, l, &r)) r = DefWindowProc(msg, w, l);
  return r;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
