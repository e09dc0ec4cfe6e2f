// Dialog resources and the resource-script builders.
#include <map>
#include <mutex>

#include "zrui/dialog.h"

namespace {

std::mutex g_mutex;
std::map<UINT, DialogTemplate>& resources() {
  static auto* m = new std::map<UINT, DialogTemplate>;
  return *m;
}

}  // namespace

void RegisterDialogResource(UINT id, DialogTemplate t) {
  std::lock_guard lock(g_mutex);
  resources()[id] = std::move(t);
}

const DialogTemplate* FindDialogResource(UINT id) {
  std::lock_guard lock(g_mutex);
  auto it = resources().find(id);
  // Entries are never erased, only replaced, so the pointer stays valid
  // until a later registration of the same id.
  return it == resources().end() ? nullptr : &it->second;
}

namespace zrui::rc {
namespace {

DialogItem Make(std::u16string cls, std::u16string text, int id, DWORD style, int x, int y, int cx, int cy) {
  DialogItem it;
  it.className = std::move(cls);
  it.text = std::move(text);
  it.id = id;
  it.style = WS_CHILD | WS_VISIBLE | style;
  it.x = x;
  it.y = y;
  it.cx = cx;
  it.cy = cy;
  return it;
}

}  // namespace

DialogItem LTEXT(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_STATICW, std::move(text), id, SS_LEFT | WS_GROUP | style, x, y, cx, cy);
}
DialogItem CTEXT(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_STATICW, std::move(text), id, SS_CENTER | WS_GROUP | style, x, y, cx, cy);
}
DialogItem RTEXT(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_STATICW, std::move(text), id, SS_RIGHT | WS_GROUP | style, x, y, cx, cy);
}
DialogItem PUSHBUTTON(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_BUTTONW, std::move(text), id, BS_PUSHBUTTON | WS_TABSTOP | style, x, y, cx, cy);
}
DialogItem DEFPUSHBUTTON(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_BUTTONW, std::move(text), id, BS_DEFPUSHBUTTON | WS_TABSTOP | style, x, y, cx, cy);
}
DialogItem GROUPBOX(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_BUTTONW, std::move(text), id, BS_GROUPBOX | style, x, y, cx, cy);
}
DialogItem CHECKBOX(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_BUTTONW, std::move(text), id, BS_AUTOCHECKBOX | WS_TABSTOP | style, x, y, cx, cy);
}
DialogItem EDITTEXT(int id, int x, int y, int cx, int cy, DWORD style) {
  return Make(WC_EDITW, u"", id, ES_LEFT | WS_BORDER | WS_TABSTOP | style, x, y, cx, cy);
}
DialogItem COMBOBOX(int id, int x, int y, int cx, int cy, DWORD style) {
  if (!(style & CBS_TYPEMASK)) style |= CBS_SIMPLE;
  return Make(WC_COMBOBOXW, u"", id, WS_TABSTOP | style, x, y, cx, cy);
}
DialogItem CONTROL(std::u16string text, int id, std::u16string className, DWORD style, int x, int y, int cx,
                   int cy, DWORD exStyle) {
  DialogItem it = Make(std::move(className), std::move(text), id, style, x, y, cx, cy);
  it.exStyle = exStyle;
  return it;
}
DialogItem NOT(DialogItem item, DWORD remove) {
  item.style &= ~remove;
  return item;
}

}  // namespace zrui::rc
