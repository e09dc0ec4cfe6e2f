#include "connector_templates.h"

#include "ui_test_support.h"

#include <vector>

namespace zrui::test {
namespace {

using namespace zrui::rc;

std::vector<COLORREF> Discs(const std::vector<COLORREF>& colours) {
  int n = static_cast<int>(colours.size());
  std::vector<COLORREF> px(static_cast<size_t>(16 * n * 16), kMagenta);
  for (int i = 0; i < n; ++i)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        int dx = 2 * x - 15, dy = 2 * y - 15;
        if (dx * dx + dy * dy <= 13 * 13) px[static_cast<size_t>(y * 16 * n + i * 16 + x)] = colours[static_cast<size_t>(i)];
      }
  return px;
}

HWND Item(HWND dlg, int id) { return GetDlgItem(dlg, id); }

HIMAGELIST Strip(UINT bitmap, int cx) {
  HIMAGELIST il = ImageList_Create(cx, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
  HBITMAP b = LoadBitmapW(nullptr, MAKEINTRESOURCEW(bitmap));
  ImageList_AddMasked(il, b, kMagenta);
  DeleteObject(b);
  return il;
}

void AddRow(HWND list, int row, const char16_t* text, int image) {
  LVITEMW it;
  it.mask = LVIF_TEXT | LVIF_IMAGE;
  it.iItem = row;
  it.pszText = const_cast<LPWSTR>(text);
  it.iImage = image;
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

void SetCell(HWND list, int row, int col, const char16_t* text) {
  LVITEMW it;
  it.iSubItem = col;
  it.pszText = const_cast<LPWSTR>(text);
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&it));
}

void AddColumn(HWND list, int col, int width) { AddListColumn(list, col, width); }

const DWORD kReport = LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

DialogTemplate ScreenTemplate() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  t.caption = u"Connectors";
  t.cx = 364;
  t.cy = 233;
  t.items = {
      LTEXT(u"Connectors", 50104, 7, 7, 62, 11),
      CONTROL(u"", 50102, WC_LISTVIEWW, kReport, 7, 18, 62, 185),
      LTEXT(u"Pins", 50105, 72, 7, 62, 11),
      CONTROL(u"", 50101, WC_LISTVIEWW, kReport, 72, 18, 62, 185),
      GROUPBOX(u"Properties", 50107, 141, 7, 216, 133),
      CONTROL(u"", 50111, WC_LISTVIEWW, kReport, 146, 18, 206, 87),
      CONTROL(u"", 50118, WC_STATICW, SS_BITMAP, 146, 110, 16, 13),
      LTEXT(u"", 50119, 161, 110, 133, 25),
      NOT(PUSHBUTTON(u"Apply", 50114, 302, 121, 50, 14), 0),
      GROUPBOX(u"Summary", 50108, 141, 148, 216, 55),
      CONTROL(u"", 50117, WC_LISTVIEWW, LVS_REPORT | LVS_NOCOLUMNHEADER | WS_BORDER, 146, 159, 206, 40),
      PUSHBUTTON(u"Report", 50120, 253, 212, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"Cancel", 2, 307, 212, 50, 14),
  };
  t.items[8].style |= WS_DISABLED;
  return t;
}

DialogTemplate SelectionTemplate() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE;
  t.caption = u"Select connector";
  t.cx = 220;
  t.cy = 202;
  t.items = {CONTROL(u"", 50121, WC_TABCONTROLW, WS_TABSTOP, 0, 0, 220, 202)};
  return t;
}

const DWORD kTree = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

DialogTemplate SelectionPage() {
  DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  t.cx = 216;
  t.cy = 185;
  t.items = {
      CONTROL(u"", 50123, WC_TREEVIEWW, kTree, 7, 7, 202, 143),
      PUSHBUTTON(u"OK", 50124, 108, 164, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"Cancel", 50125, 159, 164, 50, 14),
  };
  return t;
}

DialogTemplate CreationPage() {
  DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  t.cx = 216;
  t.cy = 185;
  t.items = {
      LTEXT(u"Name", 50126, 7, 7, 48, 14),
      COMBOBOX(50122, 60, 7, 149, 30, CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL),
      LTEXT(u"Pin", 50129, 7, 25, 43, 12),
      COMBOBOX(50128, 60, 24, 81, 30, CBS_DROPDOWNLIST | CBS_SORT | WS_DISABLED),
      LTEXT(u"Catalogue", 50127, 7, 45, 66, 9),
      CONTROL(u"", 50123, WC_TREEVIEWW, kTree, 7, 57, 202, 102),
      PUSHBUTTON(u"OK", 50124, 108, 164, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"Cancel", 50125, 159, 164, 50, 14),
  };
  return t;
}

DialogTemplate NewConnectorTemplate() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  t.caption = u"New connector";
  t.cx = 182;
  t.cy = 78;
  t.items = {
      LTEXT(u"Connector name", 122, 30, 16, 106, 8),
      COMBOBOX(126, 30, 24, 121, 30, CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL),
      DEFPUSHBUTTON(u"OK", 1, 72, 57, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"Cancel", 2, 125, 57, 50, 14),
  };
  return t;
}

HTREEITEM AddNode(HWND tree, HTREEITEM parent, const char16_t* text, int image, int stateImage = 0) {
  TVINSERTSTRUCTW ins;
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  ins.item.pszText = const_cast<LPWSTR>(text);
  ins.item.iImage = ins.item.iSelectedImage = image;
  ins.item.state = static_cast<UINT>(stateImage) << 12;
  ins.item.stateMask = TVIS_STATEIMAGEMASK;
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

// Draws the owner-drawn combo items as their text (the dialogs' own combo
// adds a second text; these templates have no dialog logic yet).
INT_PTR CALLBACK DrawComboItems(HWND, UINT msg, WPARAM, LPARAM l) {
  if (msg != WM_DRAWITEM) return FALSE;
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
  if (dis->CtlType != ODT_COMBOBOX) return FALSE;
  bool selected = (dis->itemState & ODS_SELECTED) != 0;
  FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (dis->itemID == static_cast<UINT>(-1)) return TRUE;
  char16_t text[64] = {};
  SendMessageW(dis->hwndItem, CB_GETLBTEXT, dis->itemID, reinterpret_cast<LPARAM>(text));
  SetBkMode(dis->hDC, TRANSPARENT);
  SetTextColor(dis->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  TextOutW(dis->hDC, dis->rcItem.left, dis->rcItem.top, text, -1);
  return TRUE;
}

}  // namespace

const DialogTemplate& ConnectorTemplate(int id) {
  static const DialogTemplate screen = ScreenTemplate(), selection = SelectionTemplate(), sel = SelectionPage(),
                              make = CreationPage(), name = NewConnectorTemplate();
  switch (id) {
    case 50103: return screen;
    case 50106: return selection;
    case 50112: return sel;
    case 50109: return make;
    default: return name;
  }
}

void RegisterConnectorBitmaps() {
  RegisterBitmapResource(50113, 64, 16, Discs({kGreen, kYellow, kRed, kGrey}), u"oooo", 16);
  RegisterBitmapResource(50116, 32, 16, Discs({RGB(0, 90, 200), RGB(200, 120, 0)}), u"CP", 16);
  RegisterBitmapResource(50100, 96, 16,
                         Discs({RGB(200, 160, 0), RGB(200, 160, 0), RGB(0, 120, 0), RGB(0, 90, 200), RGB(90, 0, 160),
                                RGB(160, 0, 0)}),
                         u"FF+CMX", 16);
}

HWND CreateConnectorsScreen() {
  RegisterConnectorBitmaps();
  HWND dlg = CreateDialogIndirectParamW(nullptr, &ConnectorTemplate(50103), nullptr, nullptr, 0);
  // Image lists and bitmaps are shared by every dialog made here (the
  // controls do not own them).
  static HIMAGELIST lights = Strip(50113, 16);
  HWND connectors = Item(dlg, 50102), pins = Item(dlg, 50101), grid = Item(dlg, 50111), summary = Item(dlg, 50117);
  for (HWND l : {connectors, pins}) {
    SendMessageW(l, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(lights));
    SendMessageW(l, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddColumn(l, 0, 85);
  }
  AddRow(connectors, 0, u"J1", 0);
  AddRow(connectors, 1, u"J2", 2);
  AddRow(connectors, 2, u"X10", 0);
  AddRow(pins, 0, u"1", 0);
  AddRow(pins, 1, u"2", 3);
  AddRow(pins, 2, u"3", 2);
  AddColumn(grid, 0, 150);
  AddColumn(grid, 1, 150);
  AddRow(grid, 0, u"Name", -1);
  SetCell(grid, 0, 1, u"J1");
  AddRow(grid, 1, u"Connection", -1);
  SetCell(grid, 1, 1, u"none");
  AddColumn(summary, 0, 200);
  AddColumn(summary, 1, 100);
  const char16_t* labels[] = {u"Connectors", u"Pins", u"Errors", u"Missing pins"};
  const char16_t* counts[] = {u"3", u"9", u"1", u"1"};
  for (int i = 0; i < 4; ++i) {
    AddRow(summary, i, labels[i], -1);
    SetCell(summary, i, 1, counts[i]);
  }
  // The state light of the shown connector: the green image drawn on a
  // bitmap of the dialog's face colour.
  static HBITMAP light = nullptr;
  if (light) DeleteObject(light);
  HDC screen = GetDC(nullptr);
  light = CreateCompatibleBitmap(screen, 16, 16);
  HDC mem = CreateCompatibleDC(screen);
  SelectObject(mem, light);
  RECT all{0, 0, 16, 16};
  FillRect(mem, &all, GetSysColorBrush(COLOR_BTNFACE));
  ImageList_Draw(lights, 0, mem, 0, 0, ILD_TRANSPARENT);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  SendMessageW(Item(dlg, 50118), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(light));
  SetWindowTextW(Item(dlg, 50119), u"Connector complete");
  return dlg;
}

HWND CreateSelectionDialog(bool creationTab) {
  RegisterConnectorBitmaps();
  HWND dlg = CreateDialogIndirectParamW(nullptr, &ConnectorTemplate(50106), nullptr, nullptr, 0);
  HWND tab = Item(dlg, 50121);
  for (const char16_t* caption : {u"Selection", u"New"}) {
    TCITEMW it;
    it.mask = TCIF_TEXT;
    it.pszText = const_cast<LPWSTR>(caption);
    SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(caption[0] == u'S' ? 0 : 1), reinterpret_cast<LPARAM>(&it));
  }
  RECT place{1, 16, 217, 201};
  MapDialogRect(dlg, &place);
  HWND pages[2] = {CreateDialogIndirectParamW(nullptr, &ConnectorTemplate(50112), dlg, nullptr, 0),
                   CreateDialogIndirectParamW(nullptr, &ConnectorTemplate(50109), dlg, DrawComboItems, 0)};
  for (int i = 0; i < 2; ++i)
    SetWindowPos(pages[i], nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | ((i == 1) == creationTab ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  SendMessageW(tab, TCM_SETCURSEL, creationTab ? 1 : 0, 0);

  static HIMAGELIST pinImages = Strip(50116, 16);
  static HIMAGELIST catalogue = Strip(50100, 16);
  HWND selTree = GetDlgItem(pages[0], 50123);
  SendMessageW(selTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(pinImages));
  SendMessageW(selTree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(pinImages));
  HTREEITEM j1 = AddNode(selTree, TVI_ROOT, u"J1", 0);
  AddNode(selTree, j1, u"4", 1, 1);
  AddNode(selTree, j1, u"5", 1);
  SendMessageW(selTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(j1));
  AddNode(selTree, TVI_ROOT, u"J2", 0);

  HWND catTree = GetDlgItem(pages[1], 50123);
  SendMessageW(catTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(catalogue));
  HTREEITEM all = AddNode(catTree, TVI_ROOT, u"All", 0);
  HTREEITEM circ = AddNode(catTree, all, u"Circular", 1);
  AddNode(catTree, circ, u"M12 4-pin", 3);
  AddNode(catTree, circ, u"M12 8-pin", 3);
  AddNode(catTree, all, u"Rectangular", 0);
  SendMessageW(catTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(all));
  SendMessageW(catTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(circ));
  HWND name = GetDlgItem(pages[1], 50122);
  SendMessageW(name, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"X11"));
  SetWindowTextW(name, u"X11");
  return dlg;
}

HWND CreateNewConnectorDialog() {
  HWND dlg = CreateDialogIndirectParamW(nullptr, &ConnectorTemplate(108), nullptr, DrawComboItems, 0);
  HWND combo = GetDlgItem(dlg, 126);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"J3"));
  SetWindowTextW(combo, u"J3");
  return dlg;
}

}  // namespace zrui::test
