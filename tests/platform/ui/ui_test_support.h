// Helpers shared by the toolkit tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "zrui/commctrl.h"
#include "zrui/winapi.h"

namespace zrui::test {

// Readable UTF-16 in failure messages.
inline std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// A window class whose procedure records every message it receives.
struct MessageLog {
  struct Entry {
    HWND h = nullptr;
    UINT msg = 0;
    WPARAM w = 0;
    LPARAM l = 0;
    // For WM_NOTIFY: the notification code and a copy of the structure
    // (the sender's structure is gone once the message returns).
    UINT code = 0;
    std::vector<unsigned char> data;
    template <typename T>
    T as() const {
      T t{};
      std::memcpy(&t, data.data(), std::min(sizeof(T), data.size()));
      return t;
    }
  };
  std::vector<Entry> entries;
  std::vector<UINT> messages(HWND h) const {
    std::vector<UINT> out;
    for (const auto& e : entries)
      if (e.h == h) out.push_back(e.msg);
    return out;
  }
  template <typename T>
  std::vector<T> notices(UINT code) const {
    std::vector<T> out;
    for (const auto& e : entries)
      if (e.msg == WM_NOTIFY && e.code == code) out.push_back(e.as<T>());
    return out;
  }
  int countNotify(UINT code) const {
    int n = 0;
    for (const auto& e : entries) n += e.msg == WM_NOTIFY && e.code == code;
    return n;
  }
  int count(UINT msg) const {
    int n = 0;
    for (const auto& e : entries) n += e.msg == msg;
    return n;
  }
  std::vector<Entry> commands() const {
    std::vector<Entry> out;
    for (const auto& e : entries)
      if (e.msg == WM_COMMAND) out.push_back(e);
    return out;
  }
};

// Lists and trees filled as the dialogs fill them: a column of a report
// list, a row of text, a tree item after its parent's others; the text of a
// tree item; the middle of a window on the screen.
inline void AddListColumn(HWND list, int col, int width, const char16_t* title = u"") {
  LVCOLUMNW c{};
  c.mask = LVCF_WIDTH | LVCF_TEXT;
  c.cx = width;
  c.pszText = const_cast<LPWSTR>(title);
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&c));
}
inline void AddListRow(HWND list, int row, std::u16string text) {
  LVITEMW it{};
  it.mask = LVIF_TEXT;
  it.iItem = row;
  it.pszText = text.data();
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
}
inline HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, std::u16string text) {
  TVINSERTSTRUCTW ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = text.data();
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}
inline std::u16string TreeItemText(HWND tree, HTREEITEM item) {
  char16_t buf[64] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buf;
  tv.cchTextMax = 64;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return buf;
}
inline POINT ScreenCentre(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Registers (once) a class "ZrTestLogger" whose windows append to the log
// given as creation parameter, then behave as DefWindowProc.
const char16_t* LoggerClass();
HWND CreateLogger(MessageLog* log, HWND parent = nullptr, DWORD style = WS_POPUP, int id = 0);

}  // namespace zrui::test
