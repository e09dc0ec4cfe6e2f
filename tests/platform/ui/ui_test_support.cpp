#include "ui_test_support.h"

#include "zrui/commctrl.h"

namespace zrui::test {
namespace {

LRESULT CALLBACK LoggerProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  if (auto* log = reinterpret_cast<MessageLog*>(GetWindowLongPtrW(h, GWLP_USERDATA))) {
    MessageLog::Entry e;
    e.h = h;
    e.msg = msg;
    e.w = w;
    e.l = l;
    if (msg == WM_NOTIFY) {
      auto* hdr = reinterpret_cast<const NMHDR*>(l);
      e.code = hdr->code;
      size_t size = sizeof(NMHDR);
      switch (hdr->code) {
        case LVN_ITEMCHANGED: case LVN_ITEMCHANGING: case LVN_HOTTRACK: case LVN_INSERTITEM:
        case LVN_DELETEITEM: case LVN_DELETEALLITEMS:
          size = sizeof(NMLISTVIEW);
          break;
        case TVN_SELCHANGINGW: case TVN_SELCHANGEDW: case TVN_ITEMEXPANDINGW: case TVN_ITEMEXPANDEDW:
        case TVN_DELETEITEMW:
          size = sizeof(NMTREEVIEWW);
          break;
      }
      auto* p = reinterpret_cast<const unsigned char*>(l);
      e.data.assign(p, p + size);
    }
    log->entries.push_back(std::move(e));
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace

const char16_t* LoggerClass() {
  static const bool registered = [] {
    WNDCLASSW wc;
    wc.lpfnWndProc = LoggerProc;
    wc.lpszClassName = u"ZrTestLogger";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return u"ZrTestLogger";
}

HWND CreateLogger(MessageLog* log, HWND parent, DWORD style, int id) {
  return CreateWindowExW(0, LoggerClass(), u"logger", style, 10, 20, 200, 100, parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, log);
}

}  // namespace zrui::test
