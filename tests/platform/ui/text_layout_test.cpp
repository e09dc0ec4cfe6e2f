// The layout of dialog templates on the character grid (text profile): what
// is one line in dialog units stays one line in cells, nothing apart in
// dialog units meets in cells, frames show all four edges, bordered lists
// keep rows for their content, buttons side by side stay apart and labels
// show their whole text. Synthetic cases first, then the connector dialogs'
// templates.
#include <gtest/gtest.h>

#include <string>

#include "connector_templates.h"
#include "ui_test_support.h"
#include "zrui/commctrl.h"
#include "zrui/dialog.h"
#include "zrui/gdi.h"
#include "zrui/metrics.h"
#include "zrui/textrender.h"

namespace zrui::test {
namespace {

using namespace zrui::rc;

// A window's rectangle in cells of the grid of `root` (RenderWindow(root)).
RECT CellsIn(HWND root, HWND h) {
  RECT d, r;
  GetWindowRect(root, &d);
  GetWindowRect(h, &r);
  return RECT{(r.left - d.left) / kCharWidth, (r.top - d.top) / kCharHeight, (r.right - d.left) / kCharWidth,
              (r.bottom - d.top) / kCharHeight};
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Describe(const RECT& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

class TextLayout : public ::testing::Test {
 protected:
  ScopedMetricsProfile profile{MetricsProfile::Text};
  HWND dlg = nullptr;
  void TearDown() override {
    if (dlg) DestroyWindow(dlg);
  }
  HWND Make(int cx, int cy, std::vector<DialogItem> items) {
    if (dlg) DestroyWindow(dlg);
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t.caption = u"Layout";
    t.cx = cx;
    t.cy = cy;
    t.items = std::move(items);
    dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, nullptr, 0);
    return dlg;
  }
  RECT Cells(int id) const { return CellsIn(dlg, GetDlgItem(dlg, id)); }
};

TEST_F(TextLayout, ALabelTakesTheRowOfTheFieldBesideIt) {
  ASSERT_TRUE(Make(160, 80,
                   {
                       // 2 units above its field: 1.25 and 1.5 rows would round apart.
                       LTEXT(u"Name:", 10, 5, 10, 40, 8), EDITTEXT(11, 50, 12, 80, 12),
                       // 2 units below its field: 3.5 and 3.25 rows.
                       LTEXT(u"Pin:", 20, 5, 28, 40, 8), COMBOBOX(21, 50, 26, 80, 40, CBS_DROPDOWNLIST),
                       // A text beside a button half a row lower is not its label.
                       LTEXT(u"State", 30, 5, 50, 80, 24), PUSHBUTTON(u"Go", 31, 100, 61, 40, 14),
                   }));
  EXPECT_EQ(Cells(10).top, Cells(11).top);
  EXPECT_EQ(Cells(20).top, Cells(21).top);
  EXPECT_EQ(Cells(10).bottom - Cells(10).top, 1) << "the label keeps its height";
  EXPECT_EQ(Cells(30).top, 1 + 6) << "6.25 rows: row 6 of the client area, below the caption";
  EXPECT_GT(Cells(31).top, Cells(30).top);
  TextGrid g = RenderWindow(dlg);
  std::u16string row = g.line(Cells(11).top);
  EXPECT_NE(row.find(u"Name:"), std::u16string::npos) << g.utf8();
  EXPECT_NE(row.find(u"___"), std::u16string::npos) << "the field on the same line\n" << g.utf8();
  EXPECT_NE(g.line(Cells(21).top).find(u"Pin:"), std::u16string::npos) << g.utf8();
}

TEST_F(TextLayout, ALabelStaysWhereMovingItWouldCoverAnotherControl) {
  // The label's field is a row higher, where a check box already sits above
  // the label; moving the label there would put it on the check box.
  ASSERT_TRUE(Make(160, 60, {CHECKBOX(u"Sorted", 40, 5, 4, 40, 8), LTEXT(u"Pin:", 41, 5, 13, 40, 8),
                             COMBOBOX(42, 50, 10, 80, 40, CBS_DROPDOWNLIST)}));
  ASSERT_EQ(Cells(42).top, Cells(40).top) << "the field shares the check box's row";
  EXPECT_GT(Cells(41).top, Cells(40).top);
  EXPECT_FALSE(Overlap(Cells(40), Cells(41)));
}

TEST_F(TextLayout, ControlsApartInDialogUnitsStayApartInCells) {
  ASSERT_TRUE(Make(220, 80,
                   {// 108..158 and 159..209: both edges round to column 40.
                    PUSHBUTTON(u"OK", 1, 108, 14, 50, 14), PUSHBUTTON(u"Cancel", 2, 159, 14, 50, 14),
                    // Push buttons that meet in dialog units are parted too.
                    PUSHBUTTON(u"A", 3, 8, 14, 40, 14), PUSHBUTTON(u"B", 4, 48, 14, 40, 14),
                    // A field and its button that meet still meet.
                    EDITTEXT(5, 8, 40, 80, 12), PUSHBUTTON(u"...", 6, 88, 40, 16, 12),
                    // A thin item keeps a row of its own: 1.625..1.875 rounds to
                    // nothing, and the row it then takes is the next field's.
                    EDITTEXT(7, 120, 61, 80, 2), EDITTEXT(8, 120, 64, 80, 8)}));
  EXPECT_EQ(Cells(1).right + 1, Cells(2).left);
  EXPECT_EQ(Cells(3).right + 1, Cells(4).left);
  EXPECT_EQ(Cells(5).right, Cells(6).left);
  EXPECT_FALSE(Overlap(Cells(7), Cells(8))) << Describe(Cells(7)) << " " << Describe(Cells(8));
  EXPECT_GE(Cells(7).bottom - Cells(7).top, 1);
  EXPECT_GE(Cells(8).bottom - Cells(8).top, 1);
  TextGrid g = RenderWindow(dlg);
  std::u16string row = g.line(Cells(1).top);
  EXPECT_EQ(row.find(u"]["), std::u16string::npos) << g.utf8();
  // OK has the focus, and with it the default marker.
  EXPECT_NE(row.find(u"> [  Cancel"), std::u16string::npos) << g.utf8();
}

TEST_F(TextLayout, GroupBoxesShowFourEdgesWhereverTheyStart) {
  // Table of placements at every offset within a cell.
  struct Case {
    int x, y, cx, cy;
  };
  const Case cases[] = {{4, 8, 60, 32}, {5, 9, 61, 33}, {6, 10, 62, 34}, {7, 12, 63, 35}, {3, 15, 58, 29}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Make(100, 60, {GROUPBOX(u"G", 5, c.x, c.y, c.cx, c.cy), LTEXT(u"in", 6, c.x + 4, c.y + 10, 20, 8)}));
    RECT r = Cells(5);
    TextGrid g = RenderWindow(dlg);
    std::string where = std::to_string(c.x) + "," + std::to_string(c.y) + "\n" + g.utf8();
    EXPECT_EQ(g.at(r.left, r.top).ch, u'+') << where;
    EXPECT_EQ(g.at(r.right - 1, r.top).ch, u'+') << where;
    EXPECT_EQ(g.at(r.left, r.bottom - 1).ch, u'+') << where;
    EXPECT_EQ(g.at(r.right - 1, r.bottom - 1).ch, u'+') << where;
    for (int x = r.left + 4; x < r.right - 1; ++x) EXPECT_EQ(g.at(x, r.bottom - 1).ch, u'-') << where;
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
      EXPECT_EQ(g.at(r.left, y).ch, u'|') << where;
      EXPECT_EQ(g.at(r.right - 1, y).ch, u'|') << where;
    }
    RECT in = Cells(6);
    EXPECT_TRUE(in.left > r.left && in.right < r.right && in.top > r.top && in.bottom < r.bottom)
        << "what the group holds stays inside its frame: " << where;
  }
}

TEST_F(TextLayout, ABorderedListKeepsRowsForItsContentInsideItsGroup) {
  // 40 units are five rows; the border takes two, so the list takes the free
  // row above it (3.875 rounds to 4, outward to 3) and shows four items.
  ASSERT_TRUE(Make(160, 90, {GROUPBOX(u"Summary", 5, 5, 20, 150, 55),
                             CONTROL(u"", 6, WC_LISTVIEWW, LVS_REPORT | LVS_NOCOLUMNHEADER | WS_BORDER, 10, 31, 140, 40),
                             // A list right above the dialog's bottom edge keeps the margin there.
                             CONTROL(u"", 7, WC_LISTVIEWW, LVS_REPORT | WS_BORDER, 10, 77, 140, 10)}));
  HWND list = GetDlgItem(dlg, 6);
  zrui::test::AddListColumn(list, 0, 200);
  const char16_t* rows[] = {u"Connectors", u"Pins", u"Errors", u"Missing"};
  for (int i = 0; i < 4; ++i) zrui::test::AddListRow(list, i, rows[i]);
  RECT r = Cells(6), group = Cells(5);
  EXPECT_EQ(r.bottom - r.top, 6);
  EXPECT_GT(r.top, group.top) << "not on the group's frame";
  EXPECT_LT(r.bottom, group.bottom);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0), 4);
  TextGrid g = RenderWindow(dlg);
  for (int i = 0; i < 4; ++i) EXPECT_NE(g.line(r.top + 1 + i).find(rows[i]), std::u16string::npos) << g.utf8();
  EXPECT_EQ(g.at(r.left, r.top).ch, u'+');
  EXPECT_EQ(g.at(r.left, r.bottom - 1).ch, u'+');
  RECT low = Cells(7), client;
  GetClientRect(dlg, &client);
  EXPECT_LT(low.bottom, 1 + client.bottom / kCharHeight) << "a row of margin below it";
}

TEST_F(TextLayout, ALabelTooNarrowForItsTextGrowsIntoFreeSpaceOnly) {
  ASSERT_TRUE(Make(160, 64,
                   {LTEXT(u"", 10, 4, 2, 40, 8), LTEXT(u"A label made with its text", 14, 4, 14, 40, 8),
                    PUSHBUTTON(u"Y", 15, 90, 12, 20, 12), LTEXT(u"", 11, 4, 28, 40, 9),
                    PUSHBUTTON(u"X", 12, 80, 28, 20, 12), LTEXT(u"", 13, 4, 40, 40, 24)}));
  SetDlgItemTextW(dlg, 10, u"Connectors of the drawing");
  SetDlgItemTextW(dlg, 11, u"Connectors of the drawing");
  SetDlgItemTextW(dlg, 13, u"Connectors of the drawing");
  TextGrid g = RenderWindow(dlg);
  EXPECT_NE(g.line(Cells(10).top).find(u"Connectors of the drawing"), std::u16string::npos) << g.utf8();
  EXPECT_EQ(Cells(11).right, Cells(12).left - 1) << "a cell of space before the button";
  EXPECT_NE(g.line(Cells(11).top).find(u"Connectors of the"), std::u16string::npos) << g.utf8();
  EXPECT_EQ(Cells(13).right - Cells(13).left, 10) << "a label of several lines wraps instead";
  // A template's own text fits once every control of the dialog exists,
  // including the button made after it.
  EXPECT_EQ(Cells(14).right, Cells(15).left - 1);
  // Y, the first Tab stop, has the focus and shows the default marker.
  EXPECT_NE(g.line(Cells(14).top).find(u"A label made with its < Y >"), std::u16string::npos) << g.utf8();
}

// ---- the connector dialogs' templates ----

bool IsStaticText(const DialogItem& it) {
  return it.className == WC_STATICW && (it.style & SS_TYPEMASK) <= SS_RIGHT;
}
bool IsPushButton(const DialogItem& it) {
  DWORD type = it.style & BS_TYPEMASK;
  return it.className == WC_BUTTONW && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}
bool IsContainer(const DialogItem& it) {
  return it.className == WC_TABCONTROLW || (it.className == WC_BUTTONW && (it.style & BS_TYPEMASK) == BS_GROUPBOX);
}
bool ApartInUnits(const DialogItem& a, const DialogItem& b) {
  return a.x + a.cx <= b.x || b.x + b.cx <= a.x || a.y + a.cy <= b.y || b.y + b.cy <= a.y;
}

// Each template made on its own: pages inside a plain dialog, as the
// selection dialog holds them.
class TemplateLayout : public TextLayout, public ::testing::WithParamInterface<int> {
 protected:
  HWND page = nullptr;
  HWND MakeTemplate(int id) {
    const DialogTemplate& t = ConnectorTemplate(id);
    if (!(t.style & WS_CHILD)) {
      dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, nullptr, 0);
      return dlg;
    }
    Make(t.cx + 8, t.cy + 8, {});
    page = CreateDialogIndirectParamW(nullptr, &t, dlg, nullptr, 0);
    return page;
  }
};

TEST_P(TemplateLayout, KeepsLinesApartnessAndBorders) {
  const DialogTemplate& t = ConnectorTemplate(GetParam());
  HWND host = MakeTemplate(GetParam());
  ASSERT_TRUE(host);
  const std::vector<DialogItem>& items = t.items;
  auto cells = [&](const DialogItem& it) { return CellsIn(dlg, GetDlgItem(host, it.id)); };
  for (size_t i = 0; i < items.size(); ++i)
    for (size_t j = i + 1; j < items.size(); ++j) {
      const DialogItem &a = items[i], &b = items[j];
      std::string pair = std::to_string(a.id) + " " + Describe(cells(a)) + " and " + std::to_string(b.id) + " " +
                         Describe(cells(b));
      if (ApartInUnits(a, b)) {
        EXPECT_FALSE(Overlap(cells(a), cells(b))) << pair;
      }
      bool sideBySide = a.y < b.y + b.cy && b.y < a.y + a.cy && (a.x + a.cx <= b.x || b.x + b.cx <= a.x);
      // A label and the control beside it, their tops within half a row.
      bool label = IsStaticText(a) ? !IsStaticText(b) && !IsContainer(b) : IsStaticText(b) && !IsContainer(a);
      if (sideBySide && label && std::abs(a.y - b.y) <= 4) {
        EXPECT_EQ(cells(a).top, cells(b).top) << "label on its field's row: " << pair;
      }
      if (sideBySide && IsPushButton(a) && IsPushButton(b)) {
        RECT l = cells(a.x < b.x ? a : b), r = cells(a.x < b.x ? b : a);
        EXPECT_LT(l.right, r.left) << "a blank cell between buttons: " << pair;
      }
    }
  // A bordered list or tree of n rows of 8 units (and the few units of its
  // border) shows n rows: in cells its border costs one row, not two.
  for (const DialogItem& it : items) {
    bool list = it.className == WC_LISTVIEWW, tree = it.className == WC_TREEVIEWW;
    if ((!list && !tree) || !(it.style & WS_BORDER)) continue;
    LRESULT rows = SendMessageW(GetDlgItem(host, it.id), list ? LVM_GETCOUNTPERPAGE : TVM_GETVISIBLECOUNT, 0, 0);
    EXPECT_GE(rows, it.cy / 8 - 1) << "rows of " << it.id << " " << Describe(cells(it));
  }
}

INSTANTIATE_TEST_SUITE_P(Connectors, TemplateLayout, ::testing::Values(50103, 50106, 50109, 50112, 108));

TEST_F(TextLayout, ConnectorsScreenSummaryShowsAllFourRows) {
  dlg = CreateConnectorsScreen();
  ASSERT_TRUE(dlg);
  RECT list = Cells(50117);
  TextGrid g = RenderWindow(dlg);
  int row = list.top + 1;  // inside the border
  for (const char16_t* label : {u"Connectors", u"Pins", u"Errors", u"Missing pins"})
    EXPECT_NE(g.line(row++).find(label), std::u16string::npos) << Narrow(label) << "\n" << g.utf8();
  EXPECT_EQ(row, list.bottom - 1) << "the bottom border right after the last row";
}

TEST_F(TextLayout, SelectionDialogShowsTheWholeCatalogueLabelAndApartButtons) {
  dlg = CreateSelectionDialog(true);
  ASSERT_TRUE(dlg);
  HWND page = nullptr;
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsWindowVisible(c) && GetDlgItem(c, 50127)) page = c;
  ASSERT_TRUE(page);
  // The module sets this text when the page opens; the template gives the
  // label 66 units, 16 cells, for its 23 characters.
  SetDlgItemTextW(page, 50127, u"Conectores do catálogo:");
  TextGrid g = RenderWindow(dlg);
  EXPECT_NE(g.line(CellsIn(dlg, GetDlgItem(page, 50127)).top).find(u"Conectores do catálogo:"), std::u16string::npos)
      << g.utf8();
  std::u16string buttons = g.line(CellsIn(dlg, GetDlgItem(page, 50125)).top);
  EXPECT_NE(buttons.find(u"] [  Cancel"), std::u16string::npos) << g.utf8();
}

}  // namespace
}  // namespace zrui::test
