// The in-place editors, opened from the sample grid by clicks and driven by
// keys: character filters and lengths, the list and editable-list editors,
// the file and colour buttons, and an editor living outside a grid.
#include <zrui/textrender.h>

#include "controls/ListView/CIColorPropriedade.h"
#include "controls/ListView/CIEditComboPropriedade.h"
#include "controls/ListView/CIEditPropriedade.h"
#include "fake_host.h"
#include "grid_fixture.h"

using namespace ListView;
using namespace listview_test;

namespace {

// ---- text ----

TEST_F(GridTest, ATextCellFullAtItsMaximumLengthTakesOnlyBackspace) {
  ASSERT_TRUE(dlg->ClickCell(rNumero, 1));  // "12", filter 0, length 5
  zrui::PressKey(VK_END);
  zrui::Type(u"345");
  EXPECT_EQ(EditorText(), u"12345");
  zrui::Type(u"6");
  EXPECT_EQ(EditorText(), u"12345");
  zrui::Type(u"\b");
  EXPECT_EQ(EditorText(), u"1234");
  zrui::Type(u"9");
  EXPECT_EQ(EditorText(), u"12349");
  ClickElsewhere();
  EXPECT_EQ(dlg->Text(rNumero, 1), u"12349");
}

TEST_F(GridTest, APastedTextLongerThanTheMaximumIsCutWhenTheEditorCloses) {
  grid().SetCell(rNome, 1, u"nome", u"J1", 5, kTexto, 1, TRUE);
  SetClipboardText(u"ABCDEFGH");
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  zrui::Keys ctrl;
  ctrl.control = true;
  zrui::PressKey('V', ctrl);
  EXPECT_EQ(EditorText(), u"ABCDEFGH") << "pasting is not typing";
  ClickElsewhere();
  EXPECT_EQ(dlg->Text(rNome, 1), u"ABCDE");
}

TEST_F(GridTest, TheNumericFilterDropsLettersAndTakesMinusDigitsAndComma) {
  ASSERT_TRUE(dlg->ClickCell(rNumero, 1));
  zrui::Type(u"\b");  // the whole text was selected
  zrui::Type(u"a-1b,2");
  EXPECT_EQ(EditorText(), u"-1,2");
  zrui::Type(u".x");
  EXPECT_EQ(EditorText(), u"-1,2.");
  ClickElsewhere();
  EXPECT_EQ(dlg->Text(rNumero, 1), u"-1,2.");
}

TEST_F(GridTest, WithoutTheFilterAnyCharacterIsTaken) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  zrui::Type(u"Ab-?é");
  EXPECT_EQ(EditorText(), u"Ab-?é");
}

// ---- list ----

TEST_F(GridTest, TheListEditorOpensDroppedAndReportsEachChoice) {
  ASSERT_TRUE(dlg->ClickCell(rTipo, 1));
  HWND ed = dlg->Editor();
  ASSERT_NE(ed, nullptr);
  EXPECT_EQ(GetClassNameString(ed), WC_COMBOBOXW);
  EXPECT_EQ(::GetDlgCtrlID(ed), kIdLista);
  EXPECT_TRUE(::SendMessageW(ed, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(::SendMessageW(ed, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendMessageW(ed, CB_GETCURSEL, 0, 0), 1);

  ASSERT_TRUE(zrui::ChooseComboItem(ed, 2));
  EXPECT_EQ(dlg->selChanges, 1);
  EXPECT_EQ(dlg->Text(rTipo, 1), u"Hibrido");
  EXPECT_EQ(dlg->Editor(), ed) << "a choice keeps the editor open";
  EXPECT_TRUE(grid().IsEditing());
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->Editor(), ed) << "Enter moves nowhere";

  ClickElsewhere();
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(grid().GetCellIndex(rTipo, 1), 2);
  EXPECT_EQ(dlg->ends, 1);
  EXPECT_FALSE(grid().IsEditing());
}

// Escape closes the dropped list first, back on the entry before it
// dropped; with the list closed it ends the edit there.
TEST_F(GridTest, EscapeInTheListEditorGoesBackBeforeItEndsTheEdit) {
  ASSERT_TRUE(dlg->ClickCell(rTipo, 1));
  HWND ed = dlg->Editor();
  ASSERT_NE(ed, nullptr);
  const CString before = dlg->Text(rTipo, 1);
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(dlg->Text(rTipo, 1), u"Hibrido") << "each move is a choice";
  zrui::PressKey(VK_ESCAPE);
  EXPECT_FALSE(::SendMessageW(ed, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(dlg->Editor(), ed) << "Escape closed only the list";
  EXPECT_EQ(dlg->Text(rTipo, 1), before);
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(dlg->ends, 1);
  EXPECT_EQ(grid().GetCellIndex(rTipo, 1), 1);
  EXPECT_EQ(::GetFocus(), grid().m_hWnd);
}

TEST_F(GridTest, TabFromTheListEditorOpensTheNextRowsEditor) {
  ASSERT_TRUE(dlg->ClickCell(rTipo, 1));
  zrui::PressKey(VK_DOWN);
  zrui::PressKey(VK_TAB);
  EXPECT_EQ(grid().GetCellIndex(rTipo, 1), 2);
  ASSERT_NE(dlg->Editor(), nullptr);
  EXPECT_EQ(grid().GetEditRow(), rDesenho);
  EXPECT_NE(dlg->Button(), nullptr);
}

// ---- file ----

TEST_F(GridTest, TheFileButtonKeepsTheEditorOpenAndPutsTheDrawingsNameInIt) {
  std::vector<zrui::FileDialogRequest> pedidos;
  zrui::SetFileDialogResponder([&](const zrui::FileDialogRequest& r) {
    pedidos.push_back(r);
    return zrui::FileDialogAnswer{IDOK, u"/home/projeto/desenhos/relay.dwg"};
  });
  ASSERT_TRUE(dlg->ClickCell(rDesenho, 1));
  HWND ed = dlg->Editor(), bt = dlg->Button();
  ASSERT_NE(ed, nullptr);
  ASSERT_NE(bt, nullptr);
  CRect cell, campo, botao;
  grid().GetSubItemRect(rDesenho, 1, LVIR_LABEL, cell);
  ::GetWindowRect(ed, &campo);
  ::GetWindowRect(bt, &botao);
  grid().ScreenToClient(&campo);
  grid().ScreenToClient(&botao);
  EXPECT_EQ(campo, CRect(cell.left, cell.top, cell.right - 20, cell.bottom));
  EXPECT_EQ(botao, CRect(cell.right - 20, cell.top, cell.right, cell.bottom));
  CString legenda;
  CWnd::FromHandle(bt)->GetWindowText(legenda);
  EXPECT_EQ(legenda, u"...");

  ASSERT_TRUE(zrui::Click(bt));
  ASSERT_EQ(pedidos.size(), 1u);
  EXPECT_TRUE(pedidos[0].open);
  EXPECT_EQ(pedidos[0].filter, u"Drawings|*.dwg");
  EXPECT_EQ(pedidos[0].flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  EXPECT_EQ(pedidos[0].initialDirectory, u"C:\\projeto\\conectores\\");
  EXPECT_EQ(dlg->Editor(), ed) << "the editor stays open";
  EXPECT_EQ(GetFocus(), ed);
  EXPECT_EQ(EditorText(), u"relay");
  EXPECT_EQ(dlg->ends, 0);

  // A folder written the other way and a cancelled dialog.
  zrui::SetFileDialogResponder(
      [](const zrui::FileDialogRequest&) { return zrui::FileDialogAnswer{IDOK, u"D:\\x\\y\\relay.dwg"}; });
  zrui::Type(u"\b");
  ASSERT_TRUE(zrui::Click(bt));
  EXPECT_EQ(EditorText(), u"relay");
  zrui::SetFileDialogResponder(
      [](const zrui::FileDialogRequest&) { return zrui::FileDialogAnswer{IDCANCEL, u""}; });
  ASSERT_TRUE(zrui::Click(bt));
  EXPECT_EQ(EditorText(), u"relay");
  EXPECT_EQ(GetFocus(), ed);

  // Enter goes to the next row, Shift or not.
  zrui::Keys shift;
  shift.shift = true;
  zrui::PressKey(VK_RETURN, shift);
  EXPECT_EQ(dlg->Text(rDesenho, 1), u"relay");
  EXPECT_EQ(grid().GetEditRow(), rCor);
  zrui::SetFileDialogResponder(nullptr);
}

TEST_F(GridTest, TheFileEditorLimitsOnlyTheLength) {
  grid().SetCell(rDesenho, 1, u"desenho", u"", 4, kArquivo, 0, TRUE);
  ASSERT_TRUE(dlg->ClickCell(rDesenho, 1));
  zrui::Type(u"ab-cde");
  EXPECT_EQ(EditorText(), u"ab-c");
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(dlg->Text(rDesenho, 1), u"ab-c");
}

// ---- colour ----

class ColourGrid : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    host.open(OdDbDatabase::createNew());
  }
  testing_support::FakeHost host;
};

TEST_F(ColourGrid, AColourAbove256OpensThePickerAt256AndTheChoiceIsWrittenAsAnInteger) {
  grid().SetCellText(rCor, 1, u"300");
  host.script().setColourAnswer(30);
  ASSERT_TRUE(dlg->ClickCell(rCor, 1));
  HWND ed = dlg->Editor();
  ASSERT_NE(dlg->Button(), nullptr);
  ASSERT_TRUE(zrui::Click(dlg->Button()));
  EXPECT_EQ(host.script().lastColourInitial(), 256);
  EXPECT_EQ(dlg->Editor(), ed);
  EXPECT_EQ(GetFocus(), ed);
  EXPECT_EQ(EditorText(), u"30");
  ClickElsewhere();
  EXPECT_EQ(dlg->Text(rCor, 1), u"30");
  EXPECT_EQ(dlg->ends, 1);
}

TEST_F(ColourGrid, ACancelledPickerLeavesTheTextAndANegativeTextStartsAt0) {
  grid().SetCellText(rCor, 1, u"-4");
  host.script().setColourAnswer(-1);
  ASSERT_TRUE(dlg->ClickCell(rCor, 1));
  ASSERT_TRUE(zrui::Click(dlg->Button()));
  EXPECT_EQ(host.script().lastColourInitial(), 0);
  EXPECT_EQ(EditorText(), u"-4");
}

TEST_F(ColourGrid, TheColourEditorTakesThreeDigitsAndShowsItsColour) {
  ASSERT_TRUE(dlg->ClickCell(rCor, 1));
  zrui::Type(u"\b");
  EXPECT_EQ(EditorText(), u"5") << "backspace is not taken";
  zrui::PressKey(VK_DELETE);  // the whole text was selected
  EXPECT_EQ(EditorText(), u"");
  zrui::Type(u"1-a");
  EXPECT_EQ(EditorText(), u"1");
  zrui::TextGrid g = zrui::RenderWindow(dlg->m_hWnd);
  // Index 1 is red; the text is its complement.
  EXPECT_EQ(Rendered(g, rCor, 1).bg, RGB(255, 0, 0)) << g.utf8();
  zrui::Type(u"234");
  EXPECT_EQ(EditorText(), u"123");
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->Text(rCor, 1), u"123");
  EXPECT_EQ(grid().GetEditRow(), rCodigo) << "Enter goes to the next row";
}

TEST(ColourValue, IndexesBelow256ComeFromThePaletteOthersFromThePackedValue) {
  EXPECT_EQ(CIColorPropriedade::TextColour(u"1"), RGB(255, 0, 0));
  EXPECT_EQ(CIColorPropriedade::TextColour(u"5"), RGB(0, 0, 255));
  EXPECT_EQ(CIColorPropriedade::TextColour(u"8"), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(CIColorPropriedade::TextColour(u"0"), RGB(0, 0, 0)) << "by block";
  EXPECT_EQ(CIColorPropriedade::TextColour(u""), RGB(0, 0, 0));
  EXPECT_EQ(CIColorPropriedade::TextColour(u"300"), RGB(0x00, 0x01, 0x2C));
  EXPECT_EQ(CIColorPropriedade::Complement(RGB(255, 0, 0x2C)), RGB(0, 255, 0xD3));
  EXPECT_EQ(CIColorPropriedade::LeadingInteger(u"12,5"), 12);
}

// ---- editable list ----

class EditableList : public GridTest {
 protected:
  HWND Open() {
    EXPECT_TRUE(dlg->ClickCell(rCodigo, 1));
    return dlg->Editor();
  }
  CString Entry(HWND combo, int i) {
    CString t;
    static_cast<CComboBox*>(CWnd::FromHandle(combo))->GetLBText(i, t);
    return t;
  }
  std::vector<CString> Values() {
    std::vector<CString> v;
    CStringList* l = grid().GetCellValues(rCodigo, 1);
    for (POSITION p = l->GetHeadPosition(); p;) v.push_back(l->GetNext(p));
    return v;
  }
  // Replaces the whole text of the open editor, as a user typing over it.
  void TypeOver(const std::u16string& text) {
    zrui::Keys ctrl;
    ctrl.control = true;
    zrui::PressKey('A', ctrl);
    zrui::Type(text);
  }
};

TEST_F(EditableList, ValuesAreListedInReverseWithTheirDescriptions) {
  HWND ed = Open();
  ASSERT_NE(ed, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(ed), kIdLista);
  EXPECT_EQ(::GetWindowLongPtrW(ed, GWL_STYLE) & 3, static_cast<LONG_PTR>(CBS_DROPDOWN));
  auto* combo = dynamic_cast<CIEditComboPropriedade*>(CWnd::FromHandlePermanent(ed));
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->GetCount(), 3);
  EXPECT_EQ(Entry(ed, 0), u"C3");
  EXPECT_EQ(Entry(ed, 2), u"A1");
  EXPECT_EQ(combo->GetSecondText(0), u"terceiro");
  EXPECT_EQ(combo->GetSecondText(2), u"primeiro");
  EXPECT_EQ(combo->GetCurSel(), 2) << "value 0 is the last entry";
  CString t;
  combo->GetWindowText(t);
  EXPECT_EQ(t, u"A1");
}

TEST_F(EditableList, AChosenEntryIsSentBackAsItsIndexAmongTheValues) {
  HWND ed = Open();
  ASSERT_TRUE(zrui::ChooseComboItem(ed, 0));  // "C3", value 2
  ClickElsewhere();
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 2);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"C3");
  EXPECT_EQ(Values(), (std::vector<CString>{u"A1", u"B2", u"C3"}));
  EXPECT_EQ(dlg->ends, 1);
}

// The dropped list of a combo: the top-level window of its class.
HWND DroppedList() {
  for (HWND h : zrui::TopLevelWindows())
    if (GetClassNameString(h) == u"ComboLBox") return h;
  return nullptr;
}

// With the mouse alone: a click on an entry of the fixed list, dropped as
// the editor opens, chooses it.
TEST_F(GridTest, AClickOnAnEntryOfTheDroppedFixedListChoosesIt) {
  ASSERT_TRUE(dlg->ClickCell(rTipo, 1));
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  // As the terminal sends it: a press and a release at a point of the screen.
  POINT third{7, 2 * kCharHeight + 6};
  ::ClientToScreen(list, &third);
  zrui::InputMousePress(third, zrui::MouseButton::Left);
  zrui::InputMouseRelease(third, zrui::MouseButton::Left);
  zrui::Pump();
  EXPECT_EQ(dlg->Text(rTipo, 1), u"Hibrido");
  EXPECT_EQ(dlg->selChanges, 1);
}

// With the mouse alone: the drop button, then an entry of the list. The
// click chooses the entry and ends the edit at once (the owner hears of the
// value: the connectors screen enables its apply button then); the keys
// that close the list keep the editor open.
TEST_F(EditableList, AnEntryClickedInTheDroppedListEndsTheEditWithIt) {
  HWND ed = Open();
  ASSERT_NE(ed, nullptr);
  CRect field;
  ::GetClientRect(ed, &field);
  ASSERT_TRUE(zrui::ClickAt(ed, CPoint(field.right - 3, field.top + 6)));  // "v"
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr) << "the drop button drops the list";
  EXPECT_EQ(dlg->ends, 0);
  ASSERT_TRUE(zrui::ClickAt(list, CPoint(7, 6)));  // the first entry, "C3" (value 2)
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_EQ(dlg->Editor(), nullptr) << "the click ended the edit";
  EXPECT_EQ(dlg->ends, 1);
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 2);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"C3");
  EXPECT_EQ(::GetFocus(), grid().m_hWnd);

  // F4 drops the list, Down moves to "B2", F4 closes it: still editing.
  ed = Open();
  ASSERT_NE(ed, nullptr);
  zrui::PressKey(VK_F4);
  ASSERT_NE(DroppedList(), nullptr);
  zrui::PressKey(VK_DOWN);
  zrui::PressKey(VK_F4);
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_EQ(dlg->Editor(), ed) << "a key closing the list keeps the editor";
  EXPECT_EQ(dlg->ends, 1);
  ClickElsewhere();
  EXPECT_EQ(dlg->ends, 2);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"B2");
}

// The owner changes the rows while the editor is open (the connectors screen
// rebuilds its grid on apply): the typed text goes to the edited row where it
// now is, or nowhere when it was deleted; no other row's values change.
TEST_F(EditableList, ATypedTextFollowsItsRowWhenTheOwnerChangesTheRows) {
  Open();
  grid().DeleteItem(rNome);  // a row above: the edited row moves up
  TypeOver(u"D4");
  ClickElsewhere();
  const int agora = rCodigo - 1;
  CStringList* l = grid().GetCellValues(agora, 1);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->GetCount(), 4);
  EXPECT_EQ(l->GetTail(), u"D4");
  EXPECT_EQ(dlg->Text(agora, 1), u"D4");
  for (int r = 0; r < grid().GetItemCount(); ++r) {
    if (r == agora) continue;
    EXPECT_NE(dlg->Text(r, 1), u"D4") << "row " << r;
  }
  EXPECT_EQ(grid().GetCellValues(rCodigo, 1)->GetCount(), 1) << "the row now below keeps its one value";

  // The edited row itself goes: the text has nowhere to go.
  ASSERT_TRUE(dlg->ClickCell(agora, 1));
  ASSERT_NE(dlg->Editor(), nullptr);
  grid().DeleteItem(agora);
  TypeOver(u"E5");
  ClickElsewhere();
  for (int r = 0; r < grid().GetItemCount(); ++r) {
    EXPECT_NE(dlg->Text(r, 1), u"E5") << "row " << r;
    CStringList* v = grid().GetCellValues(r, 1);
    for (POSITION p = v ? v->GetHeadPosition() : nullptr; p;) EXPECT_NE(v->GetNext(p), u"E5") << "row " << r;
  }
}

TEST_F(EditableList, WithTheFlagClearATypedTextIsAppendedOrFoundAmongTheValues) {
  Open();
  TypeOver(u"D4");
  ClickElsewhere();
  EXPECT_EQ(Values(), (std::vector<CString>{u"A1", u"B2", u"C3", u"D4"}));
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 3);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"D4");

  Open();
  TypeOver(u"B2");
  ClickElsewhere();
  EXPECT_EQ(Values().size(), 4u);
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 1);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"B2");

  Open();
  TypeOver(u"b2");  // compared case-sensitively
  ClickElsewhere();
  EXPECT_EQ(Values().size(), 5u);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"b2");
}

TEST_F(EditableList, WithTheFlagSetTheValuesKeepTheFirstAndTheTypedText) {
  grid().m_bListaFixa = TRUE;
  Open();
  TypeOver(u"Z9");
  ClickElsewhere();
  EXPECT_EQ(Values(), (std::vector<CString>{u"A1", u"Z9"}));
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 1);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"Z9");

  // The first value changes nothing in the list.
  Open();
  TypeOver(u"A1");
  ClickElsewhere();
  EXPECT_EQ(Values(), (std::vector<CString>{u"A1", u"Z9"}));
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 0);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"A1");

  // An empty list takes the text; with one value the list is always shown.
  grid().ClearCellValues(rCodigo, 1);
  HWND ed = Open();
  EXPECT_EQ(::GetWindowLongPtrW(ed, GWL_STYLE) & 3, static_cast<LONG_PTR>(CBS_SIMPLE));
  TypeOver(u"Q1");
  ClickElsewhere();
  EXPECT_EQ(Values(), (std::vector<CString>{u"Q1"}));
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 0);
}

TEST_F(EditableList, EnterAndTabMoveToTheNextRowAndUpDownMoveInTheList) {
  HWND ed = Open();
  zrui::PressKey(VK_UP);
  auto* combo = static_cast<CComboBox*>(CWnd::FromHandle(ed));
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(dlg->Editor(), ed);
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->Editor(), nullptr) << "the next row is read-only";
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"B2");
  EXPECT_EQ(grid().GetNextItem(-1, LVNI_SELECTED), rFixo);
  Open();
  zrui::Keys shift;
  shift.shift = true;
  zrui::PressKey(VK_TAB, shift);
  EXPECT_EQ(grid().GetEditRow(), rCor);
}

// With the list dropped, Escape is the list's: it closes it and goes back
// to the entry before, and the editor stays open for the next key, which
// ends the edit. Enter takes the entry moved to and moves on, as without
// the list.
TEST_F(EditableList, EscapeClosesTheDroppedListBeforeItEndsTheEdit) {
  HWND ed = Open();
  ASSERT_NE(ed, nullptr);
  zrui::PressKey(VK_F4);
  ASSERT_NE(DroppedList(), nullptr);
  zrui::PressKey(VK_UP);  // from "A1" (the list's last entry) to "B2"
  EXPECT_EQ(EditorText(), u"B2");
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_EQ(dlg->Editor(), ed) << "Escape closed only the list";
  EXPECT_EQ(EditorText(), u"A1") << "the move in the list undone";
  EXPECT_EQ(dlg->ends, 0);
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(dlg->Editor(), nullptr) << "a second Escape ends the edit";
  EXPECT_EQ(dlg->ends, 1);
  EXPECT_EQ(grid().GetCellIndex(rCodigo, 1), 0);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"A1");
  EXPECT_EQ(::GetFocus(), grid().m_hWnd);

  Open();
  zrui::PressKey(VK_F4);
  zrui::PressKey(VK_UP);
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_EQ(dlg->Editor(), nullptr) << "the next row is read-only";
  EXPECT_EQ(dlg->ends, 2);
  EXPECT_EQ(dlg->Text(rCodigo, 1), u"B2");
  EXPECT_EQ(grid().GetNextItem(-1, LVNI_SELECTED), rFixo);
}

// ---- an editor outside a grid ----

class Holder : public CDialog {
 public:
  Holder() : CDialog(&Shared()) {}
  static const DialogTemplate& Shared() {
    static const DialogTemplate t = [] {
      DialogTemplate d;
      d.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
      d.cx = 120;
      d.cy = 40;
      d.items = {zrui::rc::PUSHBUTTON(u"Outro", IDC_OUTRO, 4, 24, 40, 12)};
      return d;
    }();
    return t;
  }
  LRESULT OnEnd(WPARAM, LPARAM l) {
    std::unique_ptr<TextResult> r(reinterpret_cast<TextResult*>(l));
    if (r) results.push_back(*r);
    return 0;
  }
  std::vector<TextResult> results;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Holder, CDialog)
  ON_REGISTERED_MESSAGE(WM_EDIT_ENDEDIT, &Holder::OnEnd)
END_MESSAGE_MAP()

TEST(EditorOutsideAGrid, IgnoresTabAndEnterButStillReportsItsEnd) {
  Holder holder;
  ASSERT_TRUE(holder.CreateIndirect(holder.m_lpDialogTemplate));
  auto* ed = new CIEditPropriedade(4, 2, 1, 10);
  ASSERT_TRUE(ed->Create(&holder, CRect(4, 4, 120, 17), u"abc"));
  HWND h = ed->m_hWnd;
  EXPECT_EQ(GetFocus(), h);
  zrui::PressKey(VK_TAB);
  zrui::PressKey(VK_RETURN);
  EXPECT_TRUE(::IsWindow(h));
  EXPECT_EQ(GetFocus(), h);
  EXPECT_TRUE(holder.results.empty());
  zrui::Type(u"xyz");
  zrui::Click(::GetDlgItem(holder.m_hWnd, IDC_OUTRO));
  EXPECT_FALSE(::IsWindow(h)) << "the editor closed and deleted itself";
  ASSERT_EQ(holder.results.size(), 1u);
  EXPECT_EQ(holder.results[0].row, 4);
  EXPECT_EQ(holder.results[0].column, 2);
  EXPECT_EQ(holder.results[0].text, u"xyz");
}

}  // namespace
