// Default message processing and key translation.
#include <algorithm>

#include "core/close_box.h"
#include "core/frame_drag.h"
#include "core/message_queue.h"
#include "core/window_store.h"
#include "zrui/gdi.h"

using namespace zrui::detail;

namespace {

void StoreText(HWND h, LPCWSTR text) {
  std::lock_guard lock(WindowStore::mutex());
  if (WindowRecord* r = WindowStore::find(h)) {
    r->text = text ? text : u"";
    MarkDirty(r);
  }
}

std::u16string StoredText(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? r->text : std::u16string();
}

}  // namespace

LRESULT DefWindowProcW(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) StoreText(h, cs->lpszName);
      return TRUE;
    }
    case WM_SETTEXT:
      StoreText(h, reinterpret_cast<LPCWSTR>(l));
      return TRUE;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(StoredText(h).size());
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<LPWSTR>(l);
      int max = static_cast<int>(w);
      if (!buf || max <= 0) return 0;
      std::u16string t = StoredText(h);
      int len = std::min<int>(static_cast<int>(t.size()), max - 1);
      std::copy_n(t.data(), len, buf);
      buf[len] = 0;
      return len;
    }
    case WM_CLOSE:
      DestroyWindow(h);
      return 0;
    case WM_SYSCOMMAND:
      if ((w & 0xFFF0) == SC_CLOSE) SendMessageW(h, WM_CLOSE, 0, 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(l);
      if (wp && !(wp->flags & SWP_NOSIZE)) {
        RECT cr;
        GetClientRect(h, &cr);
        SendMessageW(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(cr.right), static_cast<WORD>(cr.bottom)));
      }
      if (wp && !(wp->flags & SWP_NOMOVE))
        SendMessageW(h, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(wp->x), static_cast<WORD>(wp->y)));
      return 0;
    }
    case WM_SETCURSOR: {
      HWND parent = (WindowStyle(h) & WS_CHILD) ? GetParent(h) : nullptr;
      if (parent && SendMessageW(parent, WM_SETCURSOR, w, l)) return TRUE;
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      return FALSE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetTextColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_GETMINMAXINFO:
      return 0;
    case WM_LBUTTONDOWN:
      if (CloseBoxPress(h, l)) return 0;
      FrameDragMessage(h, msg, l);
      return 0;
    case WM_LBUTTONUP:
      if (CloseBoxRelease(h, l)) return 0;
      FrameDragMessage(h, msg, l);
      return 0;
    case WM_CAPTURECHANGED:
      CloseBoxCaptureLost(h);
      FrameDragMessage(h, msg, l);
      return 0;
    case WM_MOUSEMOVE:
      FrameDragMessage(h, msg, l);
      return 0;
    case WM_MOUSEWHEEL:
      // Unhandled turns go up to the parent, which may scroll instead.
      if (WindowStyle(h) & WS_CHILD) return SendMessageW(GetParent(h), msg, w, l);
      return 0;
  }
  return 0;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  UINT vk = static_cast<UINT>(msg->wParam);
  BYTE mods = CurrentModifiers();
  char16_t ch = 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (mods & kModControl) ch = static_cast<char16_t>(vk - 'A' + 1);  // Ctrl+A = 1 ...
    else ch = (mods & kModShift) ? static_cast<char16_t>(vk) : static_cast<char16_t>(vk - 'A' + 'a');
  } else if (vk >= '0' && vk <= '9') {
    ch = static_cast<char16_t>(vk);
  } else if (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB || vk == VK_BACK || vk == VK_SPACE) {
    ch = static_cast<char16_t>(vk == VK_SPACE ? u' ' : vk);
  }
  if (!ch) return FALSE;
  QueuedMsg qm;
  qm.msg = *msg;
  // Alt with a letter or digit is a mnemonic, not typing: WM_SYSCHAR, which
  // the dialog manager takes (deviation: the key itself stays WM_KEYDOWN).
  const bool alnum = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
  qm.msg.message = (mods & kModAlt) && !(mods & kModControl) && alnum ? WM_SYSCHAR : WM_CHAR;
  qm.msg.wParam = ch;
  qm.mods = mods;
  qm.input = true;
  // WM_CHAR goes to the front, so it follows its key-down directly.
  auto q = CurrentQueue();
  {
    std::lock_guard lock(q->m);
    q->posted.push_front(qm);
  }
  return TRUE;
}
