// Window classes (built-in controls and registered ones) and registered
// window messages.
#pragma once

#include <optional>
#include <string>

#include "zrui/winapi.h"

namespace zrui::detail {

struct ClassInfo {
  std::u16string name;
  WNDPROC proc = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// Looks a class up by name, ignoring ASCII case. Registers the built-in
// controls on first use.
std::optional<ClassInfo> FindClass(const std::u16string& name);
std::u16string FoldAscii(std::u16string s);

}  // namespace zrui::detail
