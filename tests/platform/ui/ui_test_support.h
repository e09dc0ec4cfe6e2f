// Helpers shared by the toolkit tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    HWND h;
    UINT msg;
    WPARAM w;
    LPARAM l;
  };
  std::vector<Entry> entries;
  std::vector<UINT> messages(HWND h) const {
    std::vector<UINT> out;
    for (const auto& e : entries)
      if (e.h == h) out.push_back(e.msg);
    return out;
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

// Registers (once) a class "ZrTestLogger" whose windows append to the log
// given as creation parameter, then behave as DefWindowProc.
const char16_t* LoggerClass();
HWND CreateLogger(MessageLog* log, HWND parent = nullptr, DWORD style = WS_POPUP, int id = 0);

}  // namespace zrui::test
