#include "dialog_controls.h"

#include "zrdwg/OdString.h"
#include "colour_swatches.h"

namespace zrhost {
namespace {

std::string utf8(const std::u16string& s) { return OdString(s).toUtf8(); }

struct KeyName {
  const char16_t* name;
  UINT vk;
};
constexpr KeyName kKeys[] = {
    {u"Enter", VK_RETURN}, {u"Escape", VK_ESCAPE}, {u"Tab", VK_TAB},        {u"Space", VK_SPACE},
    {u"Up", VK_UP},        {u"Down", VK_DOWN},     {u"Left", VK_LEFT},      {u"Right", VK_RIGHT},
    {u"Home", VK_HOME},    {u"End", VK_END},       {u"PageUp", VK_PRIOR},   {u"PageDown", VK_NEXT},
    {u"Delete", VK_DELETE}, {u"Backspace", VK_BACK}, {u"Insert", VK_INSERT},
};

void treePaths(HWND tree, HTREEITEM parent, const std::u16string& prefix, HTREEITEM selected, ControlState* out) {
  for (HTREEITEM c = treeNext(tree, TVGN_CHILD, parent); c; c = treeNext(tree, TVGN_NEXT, c)) {
    std::u16string path = prefix.empty() ? treeItemText(tree, c) : prefix + u"/" + treeItemText(tree, c);
    if (c == selected) out->selection = static_cast<int>(out->items.size());
    out->items.push_back(utf8(path));
    treePaths(tree, c, path, selected, out);
  }
}

std::u16string comboText(HWND combo, int i) {
  LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n < 0) return u"";
  std::u16string t(static_cast<size_t>(n) + 1, u'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
  t.resize(static_cast<size_t>(n));
  return t;
}

}  // namespace

std::u16string listRowText(HWND list, int row) {
  char16_t buf[512];
  LVITEMW item;
  item.iSubItem = 0;
  item.pszText = buf;
  item.cchTextMax = 512;
  buf[0] = 0;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buf;
}

std::u16string treeItemText(HWND tree, HTREEITEM item) {
  char16_t buf[512];
  TVITEMW tv;
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buf;
  tv.cchTextMax = 512;
  buf[0] = 0;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return buf;
}

HTREEITEM treeNext(HWND tree, UINT how, HTREEITEM from) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}

ControlState readControl(HWND ctl, int id) {
  ControlState s;
  s.id = id;
  std::u16string cls = GetClassNameString(ctl);
  s.className = utf8(cls);
  s.text = utf8(GetWindowTextString(ctl));
  s.enabled = IsWindowEnabled(ctl);
  s.visible = IsWindowVisible(ctl);
  if (cls == WC_COMBOBOXW) {
    int n = static_cast<int>(SendMessageW(ctl, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) s.items.push_back(utf8(comboText(ctl, i)));
    s.selection = static_cast<int>(SendMessageW(ctl, CB_GETCURSEL, 0, 0));
  } else if (cls == WC_LISTVIEWW) {
    int n = static_cast<int>(SendMessageW(ctl, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) s.items.push_back(utf8(listRowText(ctl, i)));
    s.selection = static_cast<int>(SendMessageW(ctl, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  } else if (cls == WC_TREEVIEWW) {
    HTREEITEM sel = treeNext(ctl, TVGN_CARET, nullptr);
    treePaths(ctl, TVI_ROOT, u"", sel, &s);
  } else if (cls == WC_TABCONTROLW) {
    int n = static_cast<int>(SendMessageW(ctl, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char16_t buf[256];
      buf[0] = 0;
      TCITEMW item;
      item.mask = TCIF_TEXT;
      item.pszText = buf;
      item.cchTextMax = 256;
      SendMessageW(ctl, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      s.items.push_back(utf8(buf));
    }
    s.selection = static_cast<int>(SendMessageW(ctl, TCM_GETCURSEL, 0, 0));
  } else if (cls == kColourSwatchesClass) {
    s.selection = static_cast<int>(SendMessageW(ctl, kSwatchGetSel, 0, 0));
  } else if (cls == WC_BUTTONW) {
    s.checked = SendMessageW(ctl, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  return s;
}

std::optional<std::pair<UINT, zrui::Keys>> parseKeyName(std::u16string name) {
  zrui::Keys keys;
  while (name.size() > 2 && name[1] == u'-') {
    if (name[0] == u'S') keys.shift = true;
    else if (name[0] == u'C') keys.control = true;
    else if (name[0] == u'M') keys.alt = true;
    else return std::nullopt;
    name = name.substr(2);
  }
  for (const KeyName& k : kKeys)
    if (name == k.name) return std::make_pair(k.vk, keys);
  if (name.size() >= 2 && name.size() <= 3 && name[0] == u'F') {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (name[i] < u'0' || name[i] > u'9') return std::nullopt;
      n = n * 10 + (name[i] - u'0');
    }
    if (n >= 1 && n <= 12) return std::make_pair(static_cast<UINT>(VK_F1 + n - 1), keys);
    return std::nullopt;
  }
  if (name.size() == 1) {
    char16_t c = name[0];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return std::make_pair(static_cast<UINT>(c), keys);
  }
  return std::nullopt;
}


}  // namespace zrhost
