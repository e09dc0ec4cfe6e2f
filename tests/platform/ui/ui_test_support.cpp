#include "ui_test_support.h"

namespace zrui::test {
namespace {

LRESULT CALLBACK LoggerProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  if (auto* log = reinterpret_cast<MessageLog*>(GetWindowLongPtrW(h, GWLP_USERDATA)))
    log->entries.push_back({h, msg, w, l});
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
