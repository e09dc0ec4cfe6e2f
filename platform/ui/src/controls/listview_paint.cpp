// List view painting with custom draw (NM_CUSTOMDRAW to the parent, which an
// MFC parent reflects back to the control).
#include "controls/listview.h"

namespace zrui::detail {
namespace {

LRESULT CustomDraw(HWND h, NMLVCUSTOMDRAW* cd, DWORD stage) {
  cd->nmcd.dwDrawStage = stage;
  return NotifyParent(h, &cd->nmcd.hdr, NM_CUSTOMDRAW);
}

}  // namespace

void PaintListView(HWND h, ListViewState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  HFONT font = ControlFont(s->font);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT client;
  GetClientRect(h, &client);
  COLORREF bk = s->bk == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : s->bk;
  HBRUSH bkBrush = CreateSolidBrush(bk);
  FillRect(dc, &client, bkBrush);
  DeleteObject(bkBrush);

  NMLVCUSTOMDRAW cd;
  cd.nmcd.hdc = dc;
  cd.nmcd.rc = client;
  LRESULT pre = CustomDraw(h, &cd, CDDS_PREPAINT);
  if (!IsWindow(h) || (pre & CDRF_SKIPDEFAULT)) {
    EndPaint(h, &ps);
    return;
  }
  PaintListHeader(h, s, dc);
  bool focused = GetFocus() == h;
  bool showSel = focused || (WindowStyle(h) & LVS_SHOWSELALWAYS);
  int last = std::min<int>(static_cast<int>(s->items.size()), s->top + RowsPerPage(h, s) + 1);
  int ncols = std::max<int>(static_cast<int>(s->columns.size()), 1);
  for (int i = s->top; i < last; ++i) {
    const LvItem item = s->items[static_cast<size_t>(i)];  // a copy: handlers may change the list
    bool selected = (item.state & LVIS_SELECTED) && showSel;
    RECT row;
    ItemRect(h, s, i, LVIR_BOUNDS, &row);
    cd.nmcd.rc = row;
    cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(i);
    cd.nmcd.uItemState = (selected ? CDIS_SELECTED : 0) | ((item.state & LVIS_FOCUSED) && focused ? CDIS_FOCUS : 0) |
                         (i == s->hot ? CDIS_HOT : 0);
    cd.nmcd.lItemlParam = item.param;
    COLORREF defText = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    COLORREF defBk = selected ? GetSysColor(COLOR_HIGHLIGHT) : bk;
    cd.clrText = defText;
    cd.clrTextBk = defBk;
    cd.iSubItem = 0;
    LRESULT itemRes = (pre & CDRF_NOTIFYITEMDRAW) ? CustomDraw(h, &cd, CDDS_ITEMPREPAINT) : 0;
    if (!IsWindow(h)) return;
    if (itemRes & CDRF_SKIPDEFAULT) continue;
    COLORREF itemText = cd.clrText, itemBk = cd.clrTextBk;
    for (int c = 0; c < ncols; ++c) {
      SelectObject(dc, font);
      RECT cell;
      if (c == 0) {
        ItemRect(h, s, i, LVIR_BOUNDS, &cell);
        cell.right = s->columns.empty() ? cell.left + TotalWidth(s) : ColumnRight(s, 0) - s->scrollX;
      } else {
        SubItemRect(h, s, i, c, LVIR_BOUNDS, &cell);
      }
      // The last column shows its text over the free width to the right
      // rather than cutting it.
      if (c + 1 == ncols && cell.right < client.right) cell.right = client.right;
      cd.nmcd.rc = cell;
      cd.iSubItem = c;
      cd.clrText = itemText;
      cd.clrTextBk = itemBk;
      if (itemRes & CDRF_NOTIFYSUBITEMDRAW) {
        LRESULT subRes = CustomDraw(h, &cd, CDDS_ITEMPREPAINT | CDDS_SUBITEM);
        if (!IsWindow(h)) return;
        if (subRes & CDRF_SKIPDEFAULT) continue;
      }
      bool fullRow = (s->exStyle & LVS_EX_FULLROWSELECT) || c == 0;
      COLORREF cellBk = (selected && !fullRow) ? bk : cd.clrTextBk;
      COLORREF cellText = (selected && !fullRow) ? GetSysColor(COLOR_WINDOWTEXT) : cd.clrText;
      if (cellBk != CLR_DEFAULT && cellBk != CLR_NONE) {
        HBRUSH b = CreateSolidBrush(cellBk);
        FillRect(dc, &cell, b);
        DeleteObject(b);
      }
      RECT label = cell;
      if (c == 0) {
        RECT icon;
        ItemRect(h, s, i, LVIR_ICON, &icon);
        if (s->small && item.image >= 0) ImageList_Draw(s->small, item.image, dc, icon.left, icon.top, ILD_TRANSPARENT);
        label.left = icon.right;
      }
      // A cell before another keeps its last cell blank, so that a cut text
      // (its ellipsis) never runs into the next column's.
      if (c + 1 < ncols && label.right - label.left > kCharWidth) label.right -= kCharWidth;
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, cellText);
      const std::u16string& t = static_cast<size_t>(c) < item.texts.size() ? item.texts[static_cast<size_t>(c)] : u"";
      DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &label,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (itemRes & CDRF_NOTIFYPOSTPAINT) CustomDraw(h, &cd, CDDS_ITEMPOSTPAINT);
  }
  if (pre & CDRF_NOTIFYPOSTPAINT) {
    cd.nmcd.rc = client;
    CustomDraw(h, &cd, CDDS_POSTPAINT);
  }
  SelectObject(dc, oldFont);
  EndPaint(h, &ps);
}

}  // namespace zrui::detail
