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

// Looks a class up by name, ignoring ASCII case.
std::optional<ClassInfo> FindClass(const std::u16string& name);
// Adds a system class (a built-in control). The controls register theirs
// when the library loads (controls/builtin.cpp), so the core names none of
// them. A second registration of a name is ignored.
void RegisterSystemClass(const char16_t* name, WNDPROC proc);
std::u16string FoldAscii(std::u16string s);

}  // namespace zrui::detail
