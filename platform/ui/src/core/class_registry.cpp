#include "core/class_registry.h"

#include <map>
#include <mutex>


namespace zrui::detail {
namespace {

struct Registry {
  std::mutex m;
  std::map<std::u16string, ClassInfo> classes;  // key: folded name
  std::map<std::u16string, UINT> messages;      // key: folded name
  UINT nextMessage = 0xC000;
};

Registry& registry() {
  static Registry* r = new Registry;
  return *r;
}

void AddLocked(Registry& r, const char16_t* name, WNDPROC proc) {
  ClassInfo ci;
  ci.name = name;
  ci.proc = proc;
  r.classes.emplace(FoldAscii(name), ci);
}

}  // namespace

std::u16string FoldAscii(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return s;
}

void RegisterSystemClass(const char16_t* name, WNDPROC proc) {
  Registry& r = registry();
  std::lock_guard lock(r.m);
  AddLocked(r, name, proc);
}

std::optional<ClassInfo> FindClass(const std::u16string& name) {
  Registry& r = registry();
  std::lock_guard lock(r.m);
  auto it = r.classes.find(FoldAscii(name));
  if (it == r.classes.end()) return std::nullopt;
  return it->second;
}

}  // namespace zrui::detail

using namespace zrui::detail;

WORD RegisterClassW(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
  Registry& r = registry();
  std::lock_guard lock(r.m);
  std::u16string key = FoldAscii(wc->lpszClassName);
  if (r.classes.count(key)) return 0;
  ClassInfo ci;
  ci.name = wc->lpszClassName;
  ci.proc = wc->lpfnWndProc;
  ci.cursor = wc->hCursor;
  ci.background = wc->hbrBackground;
  r.classes.emplace(key, ci);
  return static_cast<WORD>(r.classes.size());
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* out) {
  if (!className) return FALSE;
  auto ci = FindClass(className);
  if (!ci) return FALSE;
  if (out) {
    *out = WNDCLASSW{};
    out->lpfnWndProc = ci->proc;
    out->hCursor = ci->cursor;
    out->hbrBackground = ci->background;
    out->lpszClassName = className;
  }
  return TRUE;
}

UINT RegisterWindowMessageW(LPCWSTR name) {
  if (!name || !*name) return 0;
  Registry& r = registry();
  std::lock_guard lock(r.m);
  std::u16string key = FoldAscii(name);
  auto it = r.messages.find(key);
  if (it != r.messages.end()) return it->second;
  UINT id = r.nextMessage++;
  r.messages.emplace(key, id);
  return id;
}
