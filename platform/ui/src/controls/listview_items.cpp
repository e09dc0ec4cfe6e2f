// List view columns, items, sub-items, item data, states and image lists.
#include <algorithm>

#include "controls/listview.h"

namespace zrui::detail {
namespace {

bool ValidItem(const ListViewState* s, int i) { return i >= 0 && i < static_cast<int>(s->items.size()); }

LRESULT NotifyItem(HWND h, UINT code, int item, int sub, UINT newState, UINT oldState, UINT changed, LPARAM param) {
  NMLISTVIEW nm;
  nm.iItem = item;
  nm.iSubItem = sub;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.lParam = param;
  return NotifyParent(h, &nm.hdr, code);
}

void CopyText(const std::u16string& t, LPWSTR buf, int max) {
  if (!buf || max <= 0) return;
  int n = std::min<int>(static_cast<int>(t.size()), max - 1);
  std::copy_n(t.data(), n, buf);
  buf[n] = 0;
}

int InsertItem(HWND h, ListViewState* s, const LVITEMW* it) {
  if (!it || it->iSubItem != 0) return -1;
  int at = std::clamp(it->iItem, 0, static_cast<int>(s->items.size()));
  LvItem item;
  item.texts.resize(std::max<size_t>(s->columns.size(), 1));
  if ((it->mask & LVIF_TEXT) && it->pszText) item.texts[0] = it->pszText;
  if (it->mask & LVIF_IMAGE) item.image = it->iImage;
  if (it->mask & LVIF_PARAM) item.param = it->lParam;
  if (it->mask & LVIF_STATE) item.state = it->state & it->stateMask;
  s->items.insert(s->items.begin() + at, std::move(item));
  if (s->mark >= at) ++s->mark;
  InvalidateRect(h, nullptr, TRUE);
  NotifyItem(h, LVN_INSERTITEM, at, 0, 0, 0, 0, it->lParam);
  return at;
}

bool DeleteItem(HWND h, ListViewState* s, int i) {
  if (!ValidItem(s, i)) return false;
  NotifyItem(h, LVN_DELETEITEM, i, 0, 0, 0, 0, s->items[static_cast<size_t>(i)].param);
  if (!IsWindow(h) || !ValidItem(s, i)) return false;
  s->items.erase(s->items.begin() + i);
  if (s->mark == i) s->mark = -1;
  else if (s->mark > i) --s->mark;
  if (s->hot >= static_cast<int>(s->items.size())) s->hot = -1;
  s->top = std::clamp(s->top, 0, std::max(0, static_cast<int>(s->items.size()) - 1));
  InvalidateRect(h, nullptr, TRUE);
  return true;
}

void DeleteAll(HWND h, ListViewState* s) {
  // A parent answering TRUE asks for no per-item notices.
  LRESULT quiet = NotifyItem(h, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0, 0);
  if (!quiet)
    for (int i = 0; i < static_cast<int>(s->items.size()); ++i)
      NotifyItem(h, LVN_DELETEITEM, i, 0, 0, 0, 0, s->items[static_cast<size_t>(i)].param);
  s->items.clear();
  s->top = 0;
  s->mark = s->hot = -1;
  InvalidateRect(h, nullptr, TRUE);
}

int GetNextItem(const ListViewState* s, int start, UINT flags) {
  int n = static_cast<int>(s->items.size());
  UINT want = (flags & LVNI_SELECTED ? LVIS_SELECTED : 0) | (flags & LVNI_FOCUSED ? LVIS_FOCUSED : 0);
  int step = (flags & LVNI_ABOVE) ? -1 : 1;
  for (int i = start + step; i >= 0 && i < n; i += step)
    if ((s->items[static_cast<size_t>(i)].state & want) == want) return i;
  return -1;
}

}  // namespace

bool SetItemState(HWND h, ListViewState* s, int i, UINT state, UINT mask) {
  if (!ValidItem(s, i)) return false;
  LvItem& it = s->items[static_cast<size_t>(i)];
  UINT old = it.state;
  UINT now = (old & ~mask) | (state & mask);
  if (now == old) return false;
  if (NotifyItem(h, LVN_ITEMCHANGING, i, 0, now, old, LVIF_STATE, it.param)) return false;
  if (!IsWindow(h) || !ValidItem(s, i)) return false;
  // One focused item, and one selected item with single selection.
  if ((now & LVIS_FOCUSED) && !(old & LVIS_FOCUSED))
    for (int k = 0; k < static_cast<int>(s->items.size()); ++k)
      if (k != i && (s->items[static_cast<size_t>(k)].state & LVIS_FOCUSED)) SetItemState(h, s, k, 0, LVIS_FOCUSED);
  if ((now & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (WindowStyle(h) & LVS_SINGLESEL))
    for (int k = 0; k < static_cast<int>(s->items.size()); ++k)
      if (k != i && (s->items[static_cast<size_t>(k)].state & LVIS_SELECTED)) SetItemState(h, s, k, 0, LVIS_SELECTED);
  if (!ValidItem(s, i)) return false;
  s->items[static_cast<size_t>(i)].state = now;
  InvalidateRect(h, nullptr, TRUE);
  NotifyItem(h, LVN_ITEMCHANGED, i, 0, now, old, LVIF_STATE, s->items[static_cast<size_t>(i)].param);
  return true;
}

LRESULT ListViewItemMessage(HWND h, ListViewState* s, UINT msg, WPARAM w, LPARAM l, bool* handled) {
  *handled = true;
  int i = static_cast<int>(static_cast<LONG_PTR>(w));
  switch (msg) {
    case LVM_INSERTCOLUMNW: {
      auto* c = reinterpret_cast<const LVCOLUMNW*>(l);
      if (!c) return -1;
      int at = std::clamp(i, 0, static_cast<int>(s->columns.size()));
      LvColumn col;
      if ((c->mask & LVCF_TEXT) && c->pszText) col.text = c->pszText;
      if (c->mask & LVCF_WIDTH) col.width = std::max(c->cx, 0);
      if (c->mask & LVCF_FMT) col.fmt = c->fmt;
      s->columns.insert(s->columns.begin() + at, col);
      for (auto& it : s->items)
        if (it.texts.size() < s->columns.size()) it.texts.insert(it.texts.begin() + std::min<size_t>(static_cast<size_t>(at), it.texts.size()), u"");
      InvalidateRect(h, nullptr, TRUE);
      return at;
    }
    case LVM_DELETECOLUMN:
      if (i < 0 || i >= static_cast<int>(s->columns.size())) return FALSE;
      s->columns.erase(s->columns.begin() + i);
      for (auto& it : s->items)
        if (i < static_cast<int>(it.texts.size())) it.texts.erase(it.texts.begin() + i);
      return TRUE;
    case LVM_GETCOLUMNW: {
      auto* c = reinterpret_cast<LVCOLUMNW*>(l);
      if (!c || i < 0 || i >= static_cast<int>(s->columns.size())) return FALSE;
      const LvColumn& col = s->columns[static_cast<size_t>(i)];
      if (c->mask & LVCF_WIDTH) c->cx = col.width;
      if (c->mask & LVCF_FMT) c->fmt = col.fmt;
      if (c->mask & LVCF_TEXT) CopyText(col.text, c->pszText, c->cchTextMax);
      return TRUE;
    }
    case LVM_SETCOLUMNW: {
      auto* c = reinterpret_cast<const LVCOLUMNW*>(l);
      if (!c || i < 0 || i >= static_cast<int>(s->columns.size())) return FALSE;
      LvColumn& col = s->columns[static_cast<size_t>(i)];
      if ((c->mask & LVCF_TEXT) && c->pszText) col.text = c->pszText;
      if (c->mask & LVCF_WIDTH) col.width = std::max(c->cx, 0);
      if (c->mask & LVCF_FMT) col.fmt = c->fmt;
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case LVM_GETCOLUMNWIDTH:
      return (i >= 0 && i < static_cast<int>(s->columns.size())) ? s->columns[static_cast<size_t>(i)].width : 0;
    case LVM_SETCOLUMNWIDTH: {
      if (i < 0 || i >= static_cast<int>(s->columns.size())) return FALSE;
      int width = static_cast<int>(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(l))));
      if (width < 0) {  // LVSCW_AUTOSIZE(_USEHEADER): widest text
        size_t longest = width == LVSCW_AUTOSIZE_USEHEADER ? s->columns[static_cast<size_t>(i)].text.size() : 0;
        for (auto& it : s->items)
          if (static_cast<size_t>(i) < it.texts.size()) longest = std::max(longest, it.texts[static_cast<size_t>(i)].size());
        width = static_cast<int>(longest + 2) * kCharWidth;
      }
      s->columns[static_cast<size_t>(i)].width = width;
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case LVM_INSERTITEMW: return InsertItem(h, s, reinterpret_cast<const LVITEMW*>(l));
    case LVM_DELETEITEM: return DeleteItem(h, s, i);
    case LVM_DELETEALLITEMS: DeleteAll(h, s); return TRUE;
    case LVM_GETITEMCOUNT: return static_cast<LRESULT>(s->items.size());
    case LVM_SETITEMCOUNT: return TRUE;
    case LVM_SETITEMW: {
      auto* it = reinterpret_cast<const LVITEMW*>(l);
      if (!it || !ValidItem(s, it->iItem)) return FALSE;
      LvItem& item = s->items[static_cast<size_t>(it->iItem)];
      if (it->iSubItem < 0 || it->iSubItem >= static_cast<int>(std::max<size_t>(s->columns.size(), 1))) return FALSE;
      if ((it->mask & LVIF_TEXT) && it->pszText) {
        if (static_cast<size_t>(it->iSubItem) >= item.texts.size()) item.texts.resize(static_cast<size_t>(it->iSubItem) + 1);
        item.texts[static_cast<size_t>(it->iSubItem)] = it->pszText;
      }
      if (it->iSubItem == 0) {
        if (it->mask & LVIF_IMAGE) item.image = it->iImage;
        if (it->mask & LVIF_PARAM) item.param = it->lParam;
        if (it->mask & LVIF_STATE) SetItemState(h, s, it->iItem, it->state, it->stateMask);
      }
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case LVM_GETITEMW: {
      auto* it = reinterpret_cast<LVITEMW*>(l);
      if (!it || !ValidItem(s, it->iItem)) return FALSE;
      const LvItem& item = s->items[static_cast<size_t>(it->iItem)];
      if (it->mask & LVIF_TEXT)
        CopyText(static_cast<size_t>(it->iSubItem) < item.texts.size() ? item.texts[static_cast<size_t>(it->iSubItem)] : u"",
                 it->pszText, it->cchTextMax);
      if (it->mask & LVIF_IMAGE) it->iImage = item.image;
      if (it->mask & LVIF_PARAM) it->lParam = item.param;
      if (it->mask & LVIF_STATE) it->state = item.state & it->stateMask;
      return TRUE;
    }
    case LVM_SETITEMTEXTW: {
      auto* it = reinterpret_cast<const LVITEMW*>(l);
      if (!it || !ValidItem(s, i) || it->iSubItem < 0) return FALSE;
      LvItem& item = s->items[static_cast<size_t>(i)];
      if (static_cast<size_t>(it->iSubItem) >= item.texts.size()) item.texts.resize(static_cast<size_t>(it->iSubItem) + 1);
      item.texts[static_cast<size_t>(it->iSubItem)] = it->pszText ? it->pszText : u"";
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case LVM_GETITEMTEXTW: {
      auto* it = reinterpret_cast<LVITEMW*>(l);
      if (!it || !ValidItem(s, i)) return 0;
      const LvItem& item = s->items[static_cast<size_t>(i)];
      std::u16string t = static_cast<size_t>(it->iSubItem) < item.texts.size() ? item.texts[static_cast<size_t>(it->iSubItem)] : u"";
      CopyText(t, it->pszText, it->cchTextMax);
      return static_cast<LRESULT>(std::min<size_t>(t.size(), static_cast<size_t>(std::max(it->cchTextMax - 1, 0))));
    }
    case LVM_SETITEMSTATE: {
      auto* it = reinterpret_cast<const LVITEMW*>(l);
      if (!it) return FALSE;
      if (i == -1) {
        for (int k = 0; k < static_cast<int>(s->items.size()); ++k) SetItemState(h, s, k, it->state, it->stateMask);
        return TRUE;
      }
      if (!ValidItem(s, i)) return FALSE;
      SetItemState(h, s, i, it->state, it->stateMask);
      if ((it->state & it->stateMask & LVIS_SELECTED)) s->mark = i;
      return TRUE;
    }
    case LVM_GETITEMSTATE: return ValidItem(s, i) ? static_cast<LRESULT>(s->items[static_cast<size_t>(i)].state & static_cast<UINT>(l)) : 0;
    case LVM_GETNEXTITEM: return GetNextItem(s, i, static_cast<UINT>(l));
    case LVM_GETSELECTEDCOUNT:
      return std::count_if(s->items.begin(), s->items.end(), [](const LvItem& it) { return (it.state & LVIS_SELECTED) != 0; });
    case LVM_GETSELECTIONMARK: return s->mark;
    case LVM_SETSELECTIONMARK: return std::exchange(s->mark, static_cast<int>(l));
    case LVM_SETIMAGELIST: {
      HIMAGELIST il = reinterpret_cast<HIMAGELIST>(l);
      HIMAGELIST* slot = i == LVSIL_NORMAL ? &s->normal : i == LVSIL_SMALL ? &s->small : &s->stateImages;
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(std::exchange(*slot, il));
    }
    case LVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(i == LVSIL_NORMAL ? s->normal : i == LVSIL_SMALL ? s->small : s->stateImages);
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      DWORD old = s->exStyle;
      DWORD mask = w ? static_cast<DWORD>(w) : 0xFFFFFFFF;
      s->exStyle = (old & ~mask) | (static_cast<DWORD>(l) & mask);
      InvalidateRect(h, nullptr, TRUE);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return s->exStyle;
    case LVM_FINDITEMW: {
      auto* f = reinterpret_cast<const LVFINDINFOW*>(l);
      if (!f) return -1;
      for (int k = std::max(i + 1, 0); k < static_cast<int>(s->items.size()); ++k) {
        const LvItem& it = s->items[static_cast<size_t>(k)];
        if ((f->flags & LVFI_PARAM) && it.param == f->lParam) return k;
        if ((f->flags & LVFI_STRING) && f->psz && it.texts[0] == f->psz) return k;
      }
      return -1;
    }
    case LVM_SETBKCOLOR: s->bk = static_cast<COLORREF>(l); return TRUE;
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(s->header);
    case LVM_REDRAWITEMS: InvalidateRect(h, nullptr, TRUE); return TRUE;
  }
  *handled = false;
  return 0;
}

}  // namespace zrui::detail
