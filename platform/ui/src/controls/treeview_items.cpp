// Tree view items: insertion, deletion, walking, expansion, selection.
#include <algorithm>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include "controls/treeview.h"
#include "zrui/metrics.h"

namespace zrui::detail {
namespace {

bool Special(HTREEITEM h) { return h == TVI_ROOT || h == TVI_FIRST || h == TVI_LAST || h == TVI_SORT; }

int CompareText(const std::u16string& a, const std::u16string& b) {
  UErrorCode err = U_ZERO_ERROR;
  return u_strCaseCompare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                          reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &err);
}

TVITEMW Describe(TreeState* s, HTREEITEM item) {
  TVITEMW it;
  it.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  it.hItem = item;
  if (TvNode* n = Node(s, item)) {
    it.state = n->state;
    it.lParam = n->param;
    it.iImage = n->image;
    it.iSelectedImage = n->selectedImage;
  }
  return it;
}

LRESULT NotifyTree(HWND h, TreeState* s, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem) {
  NMTREEVIEWW nm;
  nm.action = action;
  nm.itemOld = Describe(s, oldItem);
  nm.itemNew = Describe(s, newItem);
  return NotifyParent(h, &nm.hdr, code);
}

HTREEITEM Insert(HWND h, TreeState* s, const TVINSERTSTRUCTW* ins) {
  if (!ins) return nullptr;
  HTREEITEM parent = (ins->hParent == TVI_ROOT) ? nullptr : ins->hParent;
  if (parent && !Node(s, parent)) return nullptr;
  auto item = reinterpret_cast<HTREEITEM>(s->next++);
  TvNode n;
  n.parent = parent;
  const TVITEMW& it = ins->item;
  if ((it.mask & TVIF_TEXT) && it.pszText) n.text = it.pszText;
  if (it.mask & TVIF_IMAGE) n.image = it.iImage;
  if (it.mask & TVIF_SELECTEDIMAGE) n.selectedImage = it.iSelectedImage;
  if (it.mask & TVIF_PARAM) n.param = it.lParam;
  if (it.mask & TVIF_STATE) n.state = it.state & it.stateMask & ~TVIS_SELECTED;
  if (it.mask & TVIF_CHILDREN) n.cChildren = it.cChildren;
  auto& sib = Siblings(s, parent);
  auto at = sib.end();
  if (ins->hInsertAfter == TVI_FIRST) at = sib.begin();
  else if (ins->hInsertAfter == TVI_SORT) {
    at = std::find_if(sib.begin(), sib.end(), [&](HTREEITEM x) { return CompareText(s->nodes[x].text, n.text) > 0; });
  } else if (ins->hInsertAfter && !Special(ins->hInsertAfter)) {
    auto f = std::find(sib.begin(), sib.end(), ins->hInsertAfter);
    if (f != sib.end()) at = f + 1;
  }
  s->nodes.emplace(item, std::move(n));
  Siblings(s, parent).insert(at, item);
  InvalidateRect(h, nullptr, TRUE);
  return item;
}

void DeleteTree(HWND h, TreeState* s, HTREEITEM item) {
  TvNode* n = Node(s, item);
  if (!n) return;
  std::vector<HTREEITEM> kids = n->children;
  for (HTREEITEM k : kids) DeleteTree(h, s, k);
  NotifyTree(h, s, TVN_DELETEITEMW, 0, item, nullptr);
  n = Node(s, item);
  if (!n) return;
  auto& sib = Siblings(s, n->parent);
  sib.erase(std::remove(sib.begin(), sib.end(), item), sib.end());
  if (s->caret == item) s->caret = nullptr;
  s->nodes.erase(item);
}

HTREEITEM NextVisible(const TreeState* s, HTREEITEM item, int step) {
  auto vis = VisibleItems(s);
  for (size_t i = 0; i < vis.size(); ++i)
    if (vis[i].first == item) {
      long j = static_cast<long>(i) + step;
      return (j >= 0 && j < static_cast<long>(vis.size())) ? vis[static_cast<size_t>(j)].first : nullptr;
    }
  return nullptr;
}

HTREEITEM GetNext(TreeState* s, UINT code, HTREEITEM item) {
  switch (code) {
    case TVGN_ROOT: return s->roots.empty() ? nullptr : s->roots.front();
    case TVGN_CARET: return s->caret;
    case TVGN_DROPHILITE: return nullptr;
    case TVGN_FIRSTVISIBLE: {
      auto vis = VisibleItems(s);
      return s->top < static_cast<int>(vis.size()) ? vis[static_cast<size_t>(s->top)].first : nullptr;
    }
    case TVGN_CHILD: {
      if (!item || item == TVI_ROOT) return s->roots.empty() ? nullptr : s->roots.front();
      TvNode* n = Node(s, item);
      return (n && !n->children.empty()) ? n->children.front() : nullptr;
    }
  }
  TvNode* n = Node(s, item);
  if (!n) return nullptr;
  switch (code) {
    case TVGN_PARENT: return n->parent;
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
      auto& sib = Siblings(s, n->parent);
      auto it = std::find(sib.begin(), sib.end(), item);
      if (code == TVGN_NEXT) return (it + 1 < sib.end()) ? *(it + 1) : nullptr;
      return it == sib.begin() ? nullptr : *(it - 1);
    }
    case TVGN_NEXTVISIBLE: return NextVisible(s, item, 1);
    case TVGN_PREVIOUSVISIBLE: return NextVisible(s, item, -1);
  }
  return nullptr;
}

void SortChildren(TreeState* s, HTREEITEM parent, bool recurse) {
  auto& sib = Siblings(s, parent == TVI_ROOT ? nullptr : parent);
  std::stable_sort(sib.begin(), sib.end(), [&](HTREEITEM a, HTREEITEM b) { return CompareText(s->nodes[a].text, s->nodes[b].text) < 0; });
  if (recurse)
    for (HTREEITEM k : sib) SortChildren(s, k, true);
}

}  // namespace

TvNode* Node(TreeState* s, HTREEITEM item) {
  auto it = s->nodes.find(item);
  return it == s->nodes.end() ? nullptr : &it->second;
}

std::vector<HTREEITEM>& Siblings(TreeState* s, HTREEITEM parent) {
  if (!parent) return s->roots;
  return s->nodes[parent].children;
}

std::vector<std::pair<HTREEITEM, int>> VisibleItems(const TreeState* s) {
  std::vector<std::pair<HTREEITEM, int>> out;
  auto walk = [&](auto&& self, const std::vector<HTREEITEM>& items, int depth) -> void {
    for (HTREEITEM i : items) {
      out.emplace_back(i, depth);
      const TvNode& n = s->nodes.at(i);
      if (n.state & TVIS_EXPANDED) self(self, n.children, depth + 1);
    }
  };
  walk(walk, s->roots, 0);
  return out;
}

int TreeRowHeight(const TreeState* s) {
  int cx = 0, cy = 0;
  if (s->normal) ImageList_GetIconSize(s->normal, &cx, &cy);
  return zrui::GetMetrics().ImageRowHeight(cy);
}

bool HasButton(const TreeState* s, HTREEITEM item) {
  auto it = s->nodes.find(item);
  return it != s->nodes.end() && (!it->second.children.empty() || it->second.cChildren > 0);
}

bool Expand(HWND h, TreeState* s, HTREEITEM item, UINT code, bool byUser) {
  TvNode* n = Node(s, item);
  if (!n || !HasButton(s, item)) return false;
  bool expanded = (n->state & TVIS_EXPANDED) != 0;
  UINT op = code & TVE_TOGGLE;
  bool expand = op == TVE_TOGGLE ? !expanded : op == TVE_EXPAND;
  if (expand == expanded) return true;
  UINT action = expand ? TVE_EXPAND : TVE_COLLAPSE;
  // Code expansions notify only until the item has been expanded once.
  bool notify = byUser || !(n->state & TVIS_EXPANDEDONCE);
  if (notify && NotifyTree(h, s, TVN_ITEMEXPANDINGW, action, nullptr, item)) return false;
  n = Node(s, item);
  if (!n) return false;
  if (expand) n->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  else n->state &= ~TVIS_EXPANDED;
  if (!expand && s->caret && s->caret != item) {
    // A selection hidden by collapsing moves up to the collapsed item.
    for (HTREEITEM p = Node(s, s->caret) ? Node(s, s->caret)->parent : nullptr; p; p = Node(s, p)->parent)
      if (p == item) {
        SelectItem(h, s, item, TVC_UNKNOWN);
        break;
      }
  }
  InvalidateRect(h, nullptr, TRUE);
  if (notify) NotifyTree(h, s, TVN_ITEMEXPANDEDW, action, nullptr, item);
  return true;
}

bool SelectItem(HWND h, TreeState* s, HTREEITEM item, UINT action) {
  if (item && !Node(s, item)) return false;
  if (item == s->caret) return true;
  HTREEITEM old = s->caret;
  if (NotifyTree(h, s, TVN_SELCHANGINGW, action, old, item)) return false;
  if (item && !Node(s, item)) return false;
  if (TvNode* o = Node(s, old)) o->state &= ~TVIS_SELECTED;
  if (TvNode* n = Node(s, item)) n->state |= TVIS_SELECTED;
  s->caret = item;
  if (item) EnsureVisible(h, s, item);
  InvalidateRect(h, nullptr, TRUE);
  NotifyTree(h, s, TVN_SELCHANGEDW, action, old, item);
  return true;
}

void EnsureVisible(HWND h, TreeState* s, HTREEITEM item) {
  for (HTREEITEM p = Node(s, item) ? Node(s, item)->parent : nullptr; p; p = Node(s, p)->parent)
    if (!(Node(s, p)->state & TVIS_EXPANDED)) Expand(h, s, p, TVE_EXPAND, false);
  auto vis = VisibleItems(s);
  RECT rc;
  GetClientRect(h, &rc);
  int per = std::max(1, static_cast<int>(rc.bottom) / TreeRowHeight(s));
  for (size_t i = 0; i < vis.size(); ++i)
    if (vis[i].first == item) {
      int row = static_cast<int>(i);
      if (row < s->top) s->top = row;
      else if (row >= s->top + per) s->top = row - per + 1;
    }
}

LRESULT TreeItemMessage(HWND h, TreeState* s, UINT msg, WPARAM w, LPARAM l, bool* handled) {
  *handled = true;
  auto item = reinterpret_cast<HTREEITEM>(l);
  switch (msg) {
    case TVM_INSERTITEMW: return reinterpret_cast<LRESULT>(Insert(h, s, reinterpret_cast<const TVINSERTSTRUCTW*>(l)));
    case TVM_DELETEITEM:
      if (!item || item == TVI_ROOT) {
        std::vector<HTREEITEM> roots = s->roots;
        for (HTREEITEM r : roots) DeleteTree(h, s, r);
        s->top = 0;
      } else {
        if (!Node(s, item)) return FALSE;
        DeleteTree(h, s, item);
      }
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    case TVM_EXPAND: return Expand(h, s, item, static_cast<UINT>(w), false);
    case TVM_GETNEXTITEM: return reinterpret_cast<LRESULT>(GetNext(s, static_cast<UINT>(w), item));
    case TVM_SELECTITEM:
      if (w == TVGN_CARET) return SelectItem(h, s, item, TVC_UNKNOWN);
      if (w == TVGN_FIRSTVISIBLE) {
        EnsureVisible(h, s, item);
        auto vis = VisibleItems(s);
        for (size_t i = 0; i < vis.size(); ++i)
          if (vis[i].first == item) s->top = static_cast<int>(i);
        return TRUE;
      }
      return w == TVGN_DROPHILITE;
    case TVM_GETITEMW:
    case TVM_SETITEMW: {
      auto* it = reinterpret_cast<TVITEMW*>(l);
      TvNode* n = it ? Node(s, it->hItem) : nullptr;
      if (!n) return FALSE;
      if (msg == TVM_GETITEMW) {
        if ((it->mask & TVIF_TEXT) && it->pszText && it->cchTextMax > 0) {
          int len = std::min<int>(static_cast<int>(n->text.size()), it->cchTextMax - 1);
          std::copy_n(n->text.data(), len, it->pszText);
          it->pszText[len] = 0;
        }
        if (it->mask & TVIF_IMAGE) it->iImage = n->image;
        if (it->mask & TVIF_SELECTEDIMAGE) it->iSelectedImage = n->selectedImage;
        if (it->mask & TVIF_PARAM) it->lParam = n->param;
        if (it->mask & TVIF_STATE) it->state = n->state & (it->stateMask ? it->stateMask : 0xFFFFFFFF);
        if (it->mask & TVIF_CHILDREN) it->cChildren = HasButton(s, it->hItem) ? 1 : 0;
        return TRUE;
      }
      if ((it->mask & TVIF_TEXT) && it->pszText) n->text = it->pszText;
      if (it->mask & TVIF_IMAGE) n->image = it->iImage;
      if (it->mask & TVIF_SELECTEDIMAGE) n->selectedImage = it->iSelectedImage;
      if (it->mask & TVIF_PARAM) n->param = it->lParam;
      if (it->mask & TVIF_CHILDREN) n->cChildren = it->cChildren;
      if (it->mask & TVIF_STATE) {
        UINT keep = TVIS_SELECTED;  // selection changes go through TVM_SELECTITEM
        n->state = (n->state & ~(it->stateMask & ~keep)) | (it->state & it->stateMask & ~keep);
      }
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case TVM_GETITEMSTATE: {
      TvNode* n = Node(s, reinterpret_cast<HTREEITEM>(w));
      return n ? static_cast<LRESULT>(n->state & static_cast<UINT>(l)) : 0;
    }
    case TVM_GETCOUNT: return static_cast<LRESULT>(s->nodes.size());
    case TVM_GETINDENT: return s->indent;
    case TVM_SETINDENT: s->indent = std::max(static_cast<int>(w), kCharWidth); return 0;
    case TVM_SETIMAGELIST: {
      HIMAGELIST* slot = (w == TVSIL_STATE) ? &s->stateImages : &s->normal;
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(std::exchange(*slot, reinterpret_cast<HIMAGELIST>(l)));
    }
    case TVM_GETIMAGELIST: return reinterpret_cast<LRESULT>(w == TVSIL_STATE ? s->stateImages : s->normal);
    case TVM_ENSUREVISIBLE: EnsureVisible(h, s, item); return TRUE;
    case TVM_SORTCHILDREN: SortChildren(s, item, w != 0); InvalidateRect(h, nullptr, TRUE); return TRUE;
    case TVM_GETVISIBLECOUNT: {
      RECT rc;
      GetClientRect(h, &rc);
      return rc.bottom / TreeRowHeight(s);
    }
  }
  *handled = false;
  return 0;
}

}  // namespace zrui::detail
