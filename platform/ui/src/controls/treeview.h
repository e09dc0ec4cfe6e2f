// Internal state of tree views.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "controls/builtin.h"
#include "zrui/commctrl.h"

namespace zrui::detail {

struct TvNode {
  HTREEITEM parent = nullptr;
  std::vector<HTREEITEM> children;
  std::u16string text;
  int image = 0;
  int selectedImage = 0;
  UINT state = 0;
  LPARAM param = 0;
  int cChildren = 0;  // declared children (shows a button before any are added)
};

struct TreeState {
  std::unordered_map<HTREEITEM, TvNode> nodes;
  std::vector<HTREEITEM> roots;
  HTREEITEM caret = nullptr;
  HIMAGELIST normal = nullptr;
  HIMAGELIST stateImages = nullptr;
  int indent = 2 * kCharWidth;
  int top = 0;  // first visible row
  HFONT font = nullptr;
  std::uintptr_t next = 0x100;  // item handles are never reused
};

TvNode* Node(TreeState* s, HTREEITEM item);
std::vector<HTREEITEM>& Siblings(TreeState* s, HTREEITEM parent);
// Items shown, in order (children of expanded items only), with their depth.
std::vector<std::pair<HTREEITEM, int>> VisibleItems(const TreeState* s);
int TreeRowHeight(const TreeState* s);
bool HasButton(const TreeState* s, HTREEITEM item);
// Expands or collapses; `byUser` always notifies, code only the first time.
bool Expand(HWND h, TreeState* s, HTREEITEM item, UINT code, bool byUser);
// Makes an item the selection with TVN_SELCHANGING/TVN_SELCHANGED.
bool SelectItem(HWND h, TreeState* s, HTREEITEM item, UINT action);
void EnsureVisible(HWND h, TreeState* s, HTREEITEM item);
LRESULT TreeItemMessage(HWND h, TreeState* s, UINT msg, WPARAM w, LPARAM l, bool* handled);
void PaintTree(HWND h, TreeState* s);

}  // namespace zrui::detail
