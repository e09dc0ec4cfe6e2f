// Painting of combo boxes: the field, the drop button and the list, with
// owner drawing through WM_DRAWITEM.
#include "controls/combobox.h"

namespace zrui::detail {

DWORD ComboType(HWND h) { return WindowStyle(h) & CBS_TYPEMASK; }
bool ComboHasStrings(HWND h) {
  DWORD st = WindowStyle(h);
  return !(st & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (st & CBS_HASSTRINGS);
}
bool ComboOwnerDraw(HWND h) { return (WindowStyle(h) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }

int VisibleItems(const ComboState* s) {
  int n = s->listHeight / std::max(1, s->itemHeight);
  return std::max(1, n);
}

bool ListHasBar(const ComboState* s) { return static_cast<int>(s->items.size()) > VisibleItems(s); }

bool PageOnBar(ComboState* s, const RECT& list, POINT p) {
  if (!PtInRect(&list, p) || !ListHasBar(s) || p.x < list.right - kCharWidth) return false;
  const int shown = VisibleItems(s), last = std::max(0, static_cast<int>(s->items.size()) - shown);
  const int page = std::max(1, shown - 1);
  const bool up = p.y < (list.top + list.bottom) / 2;
  s->top = std::clamp(s->top + (up ? -page : page), 0, last);
  return true;
}

RECT ListRect(HWND h, const ComboState* s) {
  RECT rc;
  GetClientRect(h, &rc);
  int shown = std::min<int>(VisibleItems(s), static_cast<int>(s->items.size()));
  if (ComboType(h) == CBS_SIMPLE) shown = VisibleItems(s);
  return RECT{0, s->fieldHeight, rc.right, s->fieldHeight + std::max(shown, 1) * s->itemHeight};
}

namespace {

void DrawItem(HWND h, ComboState* s, HDC dc, int index, RECT r, UINT state, UINT action = ODA_DRAWENTIRE) {
  if (ComboOwnerDraw(h)) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = action;
    dis.itemState = state | (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
    dis.hwndItem = h;
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = (index >= 0 && index < static_cast<int>(s->items.size())) ? s->items[static_cast<size_t>(index)].data : 0;
    SendMessageW(GetParent(h), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  bool selected = (state & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (index < 0 || index >= static_cast<int>(s->items.size())) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : IsWindowEnabled(h) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  const std::u16string& t = s->items[static_cast<size_t>(index)].text;
  RECT tr = r;
  tr.left += 0;
  DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The bar of a list that holds more than it shows, in the column from x:
// its rows those of the shown entries.
void PaintListBar(const ComboState* s, HDC dc, int x, int shown, int n) {
  RECT column{x, 0, x + kCharWidth, shown * s->itemHeight};
  FillRect(dc, &column, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  auto mark = [&](int row, const char16_t* ch) {
    TextOutW(dc, x, row * s->itemHeight + (s->itemHeight - kCharHeight) / 2, ch, 1);
  };
  const int last = n - shown;  // the last first entry
  if (s->top > 0) mark(0, u"^");
  if (s->top < last) mark(shown - 1, u"v");
  if (shown >= 3) mark(1 + (last > 0 ? s->top * (shown - 3) / last : 0), u"#");
}

}  // namespace

void PaintComboList(HWND h, ComboState* s, HDC dc, RECT lr) {
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(s->font));
  FillRect(dc, &lr, GetSysColorBrush(COLOR_WINDOW));
  int n = static_cast<int>(s->items.size());
  // Items are drawn in the list's own coordinates, which start at (0, 0).
  POINT org;
  GetViewportOrgEx(dc, &org);
  SetViewportOrgEx(dc, org.x + lr.left, org.y + lr.top, nullptr);
  const int shown = VisibleItems(s);
  const bool bar = ListHasBar(s);
  const int itemsRight = lr.right - lr.left - (bar ? kCharWidth : 0);
  for (int i = s->top, row = 0; i < n && row < shown; ++i, ++row) {
    RECT r{0, row * s->itemHeight, itemsRight, (row + 1) * s->itemHeight};
    DrawItem(h, s, dc, i, r, i == s->cur ? ODS_SELECTED : 0);
    // The current entry then gets its selection drawn, as the original
    // follows a full drawing with ODA_SELECT when the selection lands on an
    // item: an owner that highlights only then shows it too.
    if (i == s->cur && ComboOwnerDraw(h)) DrawItem(h, s, dc, i, r, ODS_SELECTED, ODA_SELECT);
  }
  if (bar) PaintListBar(s, dc, itemsRight, shown, n);
  SetViewportOrgEx(dc, org.x, org.y, nullptr);
  SelectObject(dc, oldFont);
}

void PaintCombo(HWND h, ComboState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(s->font));
  RECT rc;
  GetClientRect(h, &rc);
  DWORD type = ComboType(h);
  RECT field{0, 0, rc.right - (type == CBS_SIMPLE ? 0 : kCharWidth), s->fieldHeight};
  if (type == CBS_DROPDOWNLIST) {
    bool focused = GetFocus() == h && !s->dropped;
    UINT state = ODS_COMBOBOXEDIT | (focused ? ODS_SELECTED | ODS_FOCUS : 0);
    DrawItem(h, s, dc, s->cur, field, state);
  }
  if (type != CBS_SIMPLE) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(h) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    TextOutW(dc, rc.right - kCharWidth, (s->fieldHeight - kCharHeight) / 2, u"v", 1);
  } else {
    PaintComboList(h, s, dc, ListRect(h, s));
  }
  SelectObject(dc, oldFont);
  EndPaint(h, &ps);
}

}  // namespace zrui::detail
