// CAutoCombo: second texts attached to entries, selection from code, the
// owner drawing of an entry, and the lifetime of the attached copies.
#include <gtest/gtest.h>

#include <zrui/drawrecord.h>
#include <zrui/testing.h>
#include <zrui/textrender.h>

#include "controls/CAutoCombo.h"

using namespace zrui::rc;

namespace {

constexpr int IDC_NAME = 126;

DialogTemplate HostTemplate() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  t.cx = 182;
  t.cy = 78;
  t.items = {COMBOBOX(IDC_NAME, 30, 24, 121, 30, CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL)};
  return t;
}

class ComboHost : public CDialog {
 public:
  explicit ComboHost(bool secondText) : CDialog(&Shared()), secondText_(secondText) {}
  static const DialogTemplate& Shared() {
    static const DialogTemplate t = HostTemplate();
    return t;
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    attached_ = combo.Attach(IDC_NAME, this, secondText_);
    return TRUE;
  }
  void OnNameChanged() {
    ++selChanges;
    selAtNotice = combo.GetCurSel();
  }
  CAutoCombo combo;
  int selChanges = 0;
  int selAtNotice = -2;
  BOOL attached_ = FALSE;

 private:
  bool secondText_;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ComboHost, CDialog)
  ON_CBN_SELCHANGE(IDC_NAME, &ComboHost::OnNameChanged)
END_MESSAGE_MAP()

class AutoCombo : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<ComboHost>(true);
    ASSERT_TRUE(host->CreateIndirect(host->m_lpDialogTemplate));
    ASSERT_TRUE(host->attached_);
  }
  void TearDown() override {
    if (host && host->m_hWnd) host->DestroyWindow();
  }
  // Draws entry `item` through the owner's WM_DRAWITEM, as the control does.
  void Draw(int item, UINT action, UINT state, RECT rc = RECT{0, 0, 200, 16}) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = IDC_NAME;
    dis.itemID = static_cast<UINT>(item);
    dis.itemAction = action;
    dis.itemState = state;
    dis.hwndItem = host->combo.m_hWnd;
    dis.hDC = rec.dc();
    dis.rcItem = rc;
    dis.itemData = item >= 0 ? host->combo.GetItemData(item) : 0;
    host->SendMessage(WM_DRAWITEM, IDC_NAME, reinterpret_cast<LPARAM>(&dis));
  }
  std::unique_ptr<ComboHost> host;
  zrui::DrawRecorder rec;
};

TEST_F(AutoCombo, AddGivesEachEntryACopyOfItsTextAsSecondText) {
  EXPECT_EQ(host->combo.AddString(u"J1"), 0);
  EXPECT_EQ(host->combo.AddString(u"J2"), 1);
  EXPECT_EQ(host->combo.GetSecondText(0), u"J1");
  EXPECT_EQ(host->combo.GetSecondText(1), u"J2");
  EXPECT_NE(host->combo.GetItemData(0), host->combo.GetItemData(1)) << "each entry owns its copy";
}

TEST_F(AutoCombo, InsertAttachesTheGivenSecondTextOnly) {
  EXPECT_EQ(host->combo.InsertString(0, u"X10", u""), 0);
  EXPECT_EQ(host->combo.InsertString(1, u"X11", u"proposto"), 1);
  EXPECT_EQ(host->combo.InsertString(0, u"plain"), 0);
  EXPECT_EQ(host->combo.GetItemData(0), 0u) << "no second text given, no copy";
  EXPECT_EQ(host->combo.GetSecondText(1), u"");
  EXPECT_NE(host->combo.GetItemData(1), 0u) << "an empty second text is still a copy";
  EXPECT_EQ(host->combo.GetSecondText(2), u"proposto");
  CString t;
  host->combo.GetLBText(2, t);
  EXPECT_EQ(t, u"X11");
}

TEST_F(AutoCombo, DeletingEntriesKeepsTheOtherCopiesWithTheirEntries) {
  host->combo.InsertString(0, u"a", u"first");
  host->combo.InsertString(1, u"b", u"second");
  host->combo.InsertString(2, u"c", u"third");
  host->combo.DeleteString(1);
  host->combo.DeleteString(0);
  ASSERT_EQ(host->combo.GetCount(), 1);
  EXPECT_EQ(host->combo.GetSecondText(0), u"third");
  host->combo.ResetContent();
  EXPECT_EQ(host->combo.GetCount(), 0);
  host->combo.AddString(u"again");
  // Owner data replacing a copy releases the copy; the owner's value is kept.
  host->combo.SetItemData(0, 77);
  EXPECT_EQ(host->combo.GetItemData(0), 77u);
  EXPECT_EQ(host->combo.GetSecondText(0), u"") << "foreign data is not taken for a second text";
  // The leak checker of the sanitizer build verifies that nothing stays.
}

TEST_F(AutoCombo, SelectingFromCodeNotifiesTheParentOnce) {
  host->combo.AddString(u"J1");
  host->combo.AddString(u"J2");
  host->combo.SelectAndNotify(1);
  EXPECT_EQ(host->combo.GetCurSel(), 1);
  EXPECT_EQ(host->selChanges, 1);
  EXPECT_EQ(host->selAtNotice, 1) << "the selection is made before the notice";
  EXPECT_EQ(host->combo.GetLastSelection(), 1);
  CString text;
  host->combo.GetWindowText(text);
  EXPECT_EQ(text, u"J2");
}

TEST(AutoComboWithoutParent, SelectingFromCodeOnlyChangesTheSelection) {
  CAutoCombo combo;
  ASSERT_TRUE(combo.CreateEx(0, WC_COMBOBOXW, u"", WS_POPUP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             CRect(0, 0, 100, 80), nullptr, 0));
  EXPECT_EQ(combo.GetParent(), nullptr);
  combo.AddString(u"A");
  combo.AddString(u"B");
  combo.SelectAndNotify(1);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(combo.GetLastSelection(), 1);
}

TEST_F(AutoCombo, AnEntryIsDrawnAtItsPlaceWithTheSecondTextRightAligned) {
  host->combo.InsertString(0, u"J1", u"proposto");
  Draw(0, ODA_DRAWENTIRE, 0, RECT{10, 26, 210, 42});
  auto texts = rec.texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, u"J1");
  EXPECT_EQ(texts[0].rect.left, 15);
  EXPECT_EQ(texts[0].rect.top, 28);
  EXPECT_EQ(texts[1].text, u"proposto");
  EXPECT_EQ(texts[1].rect.left, 210 - 8 * kCharWidth - 15);
  EXPECT_EQ(texts[1].rect.top, 28);
}

TEST_F(AutoCombo, AnEmptySecondTextIsNotDrawn) {
  host->combo.InsertString(0, u"J1", u"");
  Draw(0, ODA_DRAWENTIRE, 0);
  auto texts = rec.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, u"J1");
}

TEST_F(AutoCombo, ALongFirstTextPushesTheSecondTextRight) {
  std::u16string longText(26, u'W');
  host->combo.InsertString(0, longText.c_str(), u"desc");
  Draw(0, ODA_DRAWENTIRE, 0, RECT{0, 0, 200, 16});
  auto texts = rec.texts();
  ASSERT_EQ(texts.size(), 2u);
  // 26 characters are 182 pixels: the second text starts at 182 + 15, not at
  // the right-aligned 200 - 28 - 15.
  EXPECT_EQ(texts[1].rect.left, 26 * kCharWidth + 15);
}

TEST_F(AutoCombo, ASelectionChangeDrawsTheSelectedColours) {
  host->combo.InsertString(0, u"J1", u"proposto");
  Draw(0, ODA_SELECT, ODS_SELECTED);
  auto fills = rec.fills();
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.front().color, GetSysColor(COLOR_HIGHLIGHT));
  auto texts = rec.texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].color, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_FALSE(texts[0].opaque) << "selected entries are drawn with a transparent background";
  EXPECT_EQ(texts[1].color, GetSysColor(COLOR_HIGHLIGHTTEXT));
}

TEST_F(AutoCombo, AWholeItemRedrawOfASelectedEntryUsesTheUnselectedColours) {
  host->combo.InsertString(0, u"J1", u"proposto");
  Draw(0, ODA_DRAWENTIRE, ODS_SELECTED);
  auto fills = rec.fills();
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.front().color, GetSysColor(COLOR_WINDOW));
  auto texts = rec.texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].color, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(texts[1].color, GetSysColor(COLOR_GRAYTEXT));
}

TEST_F(AutoCombo, NegativeItemsDrawNothing) {
  host->combo.AddString(u"J1");
  Draw(-1, ODA_DRAWENTIRE, ODS_SELECTED);
  EXPECT_TRUE(rec.ops().empty());
}

TEST_F(AutoCombo, TheFontMemberIsSelectedForDrawingAndThePreviousOneRestored) {
  host->combo.AddString(u"J1");
  HGDIOBJ before = GetCurrentObject(rec.dc(), OBJ_FONT);
  Draw(0, ODA_DRAWENTIRE, 0);
  ASSERT_FALSE(rec.texts().empty());
  EXPECT_EQ(rec.texts()[0].font, before) << "an empty font member leaves the DC's font";
  rec.clear();
  ASSERT_TRUE(host->combo.m_font.CreateFont(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Mono"));
  Draw(0, ODA_DRAWENTIRE, 0);
  ASSERT_FALSE(rec.texts().empty());
  EXPECT_EQ(rec.texts()[0].font, static_cast<HFONT>(host->combo.m_font));
  EXPECT_TRUE(rec.texts()[0].bold);
  EXPECT_EQ(GetCurrentObject(rec.dc(), OBJ_FONT), before);
}

TEST_F(AutoCombo, WithoutSecondTextModeEntriesCarnyNoCopiesAndDrawOneText) {
  host->DestroyWindow();
  host = std::make_unique<ComboHost>(false);
  ASSERT_TRUE(host->CreateIndirect(host->m_lpDialogTemplate));
  host->combo.AddString(u"J1");
  host->combo.InsertString(1, u"J2", u"ignored");
  EXPECT_EQ(host->combo.GetItemData(0), 0u);
  EXPECT_EQ(host->combo.GetItemData(1), 0u);
  host->combo.SetItemData(0, 12345);  // owner data is never read as a text
  Draw(0, ODA_DRAWENTIRE, 0);
  ASSERT_EQ(rec.texts().size(), 1u);
}

TEST_F(AutoCombo, CopiesAreFreedWithTheWindowAndWithTheObject) {
  host->combo.AddString(u"J1");
  host->combo.InsertString(1, u"J2", u"x");
  host->DestroyWindow();  // window first, object later
  EXPECT_EQ(host->combo.m_hWnd, nullptr);
  host.reset();

  auto other = std::make_unique<ComboHost>(true);
  ASSERT_TRUE(other->CreateIndirect(other->m_lpDialogTemplate));
  other->combo.AddString(u"J3");
  HWND dlg = other->m_hWnd;
  other.reset();  // object first: the window goes with it
  EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(AutoCombo, TheUserChoosingAnEntryDrawsItThroughTheControl) {
  host->combo.InsertString(0, u"J1", u"");
  host->combo.InsertString(1, u"J2", u"proposto");
  EXPECT_TRUE(zrui::ChooseComboItem(host->combo.m_hWnd, 1));
  EXPECT_EQ(host->selChanges, 1);
  CString text;
  host->combo.GetWindowText(text);
  EXPECT_EQ(text, u"J2");
}

TEST_F(AutoCombo, TheDroppedListShowsSecondTextsRightAlignedInTheSnapshot) {
  host->combo.InsertString(0, u"J1", u"");
  host->combo.InsertString(1, u"J2", u"proposto");
  host->combo.ShowDropDown(TRUE);
  zrui::TextGrid grid = zrui::RenderWindow(host->m_hWnd);
  // The list hangs below the field (row 4): one entry per row, the second
  // text ending 15 pixels (two cells) before the right edge of the list.
  std::u16string first = grid.line(6), second = grid.line(7);
  EXPECT_NE(first.find(u"J1"), std::u16string::npos) << grid.utf8();
  EXPECT_EQ(first.find(u"proposto"), std::u16string::npos) << grid.utf8();
  size_t at = second.find(u"proposto");
  ASSERT_NE(at, std::u16string::npos) << grid.utf8();
  CRect list;
  host->combo.GetDroppedControlRect(&list);
  CRect dlg;
  host->GetWindowRect(&dlg);
  int right = (list.right - dlg.left) / kCharWidth;
  EXPECT_NEAR(static_cast<int>(at + 8), right - 2, 1) << grid.utf8();
  EXPECT_EQ(grid.at(static_cast<int>(at), 7).fg, GetSysColor(COLOR_GRAYTEXT));
}

}  // namespace
