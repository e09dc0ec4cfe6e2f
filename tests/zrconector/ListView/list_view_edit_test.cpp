// CIListViewEdit: the cell records and their getters, clicks that open (or
// do not open) editors, multi-row editing, rows removed during an edit, the
// notifications to the parent, and how cells are drawn.
#include <zrui/textrender.h>

#include <set>

#include "grid_fixture.h"

using namespace ListView;
using namespace listview_test;

namespace {

std::unique_ptr<CStringList> Lista(std::initializer_list<const char16_t*> textos) {
  auto l = std::make_unique<CStringList>();
  for (const char16_t* t : textos) l->AddTail(CString(t));
  return l;
}

// The framework throws its exceptions as pointers, to be deleted by the catcher.
template <typename F>
bool ThrowsInvalidArgument(F f) {
  try {
    f();
  } catch (CInvalidArgException* e) {
    e->Delete();
    return true;
  }
  return false;
}

TEST(ListViewMessages, TheEightMessagesAreRegisteredUnderTheirNames) {
  const std::pair<UINT, const char16_t*> mensagens[] = {
      {WM_EDIT_ENDEDIT, u"WM_EDIT_ENDEDIT"},
      {WM_COMBO_ENDEDIT, u"WM_COMBO_ENDEDIT"},
      {WM_COMBO_SELCHANGE, u"WM_COMBO_SELCHANGE"},
      {WM_COLOR_ENDEDIT, u"WM_COLOR_ENDEDIT"},
      {WM_FINDFILE_ENDEDIT, u"WM_FINDFILE_ENDEDIT"},
      {WM_LIST_PROPRIEDADE_BEGINEDIT, u"WM_LIST_PROPRIEDADE_BEGINEDIT"},
      {WM_LIST_PROPRIEDADE_ENDEDIT, u"WM_LIST_PROPRIEDADE_ENDEDIT"},
      {WM_LIST_PROPRIEDADE_SELCHANGE, u"WM_LIST_PROPRIEDADE_SELCHANGE"},
  };
  std::set<UINT> distintos;
  for (const auto& [numero, nome] : mensagens) {
    EXPECT_GE(numero, 0xC000u) << CString(nome).ToUtf8();
    EXPECT_EQ(numero, RegisterWindowMessageW(nome)) << CString(nome).ToUtf8();
    distintos.insert(numero);
  }
  EXPECT_EQ(distintos.size(), 8u);
}

TEST_F(GridTest, RowsCarryOneRecordPerColumnWithWhatTheOwnerGave) {
  EXPECT_EQ(grid().GetItemCount(), kLinhas);
  EXPECT_EQ(grid().GetCellKey(rTipo, 0), u"tipo");
  EXPECT_EQ(grid().GetCellKind(rTipo, 1), kLista);
  EXPECT_TRUE(grid().IsCellEditable(rTipo, 1));
  EXPECT_FALSE(grid().IsCellEditable(rTipo, 0));
  EXPECT_EQ(grid().GetCellIndex(rTipo, 1), 1);
  EXPECT_EQ(dlg->Text(rTipo, 1), u"Femea") << "the shown text is the value at the selected index";
  EXPECT_EQ(grid().GetCellValues(rTipo, 1)->GetCount(), 3);
  EXPECT_EQ(grid().GetCellValue(rTipo, 1, 2), u"Hibrido");
  EXPECT_EQ(grid().GetCellValue(rTipo, 1, 3), u"") << "beyond the list";
  EXPECT_EQ(grid().GetCellValue(rTipo, 1, -1), u"") << "negative";
  EXPECT_EQ(grid().GetCellFilter(rNumero, 1), 0);
  EXPECT_EQ(grid().GetCellMaxLength(rNumero, 1), 5);

  // A row inserted by the owner has empty, read-only records.
  int nova = grid().InsertRow(grid().GetItemCount(), u"novo");
  EXPECT_EQ(grid().GetCellKind(nova, 2), kLista);
  EXPECT_FALSE(grid().IsCellEditable(nova, 1));
  EXPECT_TRUE(grid().GetCellValues(nova, 1)->IsEmpty());
  // A row without records (inserted with the list's own operation).
  int crua = grid().InsertItem(grid().GetItemCount(), u"crua");
  EXPECT_EQ(grid().GetCellKind(crua, 1), -1);
  EXPECT_FALSE(grid().IsCellEditable(crua, 1));
  EXPECT_EQ(grid().GetCellValues(crua, 1), nullptr);
  EXPECT_EQ(grid().GetCellIndex(crua, 1), -1);
  EXPECT_EQ(grid().GetCellFilter(crua, 1), -1);
  EXPECT_EQ(grid().GetCellMaxLength(crua, 1), -1);
  EXPECT_EQ(grid().GetCellKey(crua, 1), u"");
  // A column outside the row's records.
  EXPECT_TRUE(ThrowsInvalidArgument([&] { grid().GetCellKind(rNome, 3); }));
  EXPECT_TRUE(ThrowsInvalidArgument([&] { grid().SetCellText(rNome, 7, u"x"); }));
  EXPECT_FALSE(ThrowsInvalidArgument([&] { grid().GetCellKind(rNome, 2); }));
}

TEST_F(GridTest, SettersChangeValuesIndexAndShownText) {
  grid().SetCellText(rTipo, 1, u"Outro");
  EXPECT_EQ(grid().GetCellValues(rTipo, 1)->GetCount(), 1);
  EXPECT_EQ(grid().GetCellIndex(rTipo, 1), 0);
  EXPECT_EQ(dlg->Text(rTipo, 1), u"Outro");

  auto mais = Lista({u"B", u"C"});
  grid().AppendCellValues(rTipo, 1, mais.get());
  EXPECT_EQ(grid().SetCellIndex(rTipo, 1, 2), 2);
  EXPECT_EQ(dlg->Text(rTipo, 1), u"C");
  EXPECT_EQ(grid().GetCellIndex(rTipo, 1), 2);
  grid().ClearCellValues(rTipo, 1);
  EXPECT_TRUE(grid().GetCellValues(rTipo, 1)->IsEmpty());

  // A row beyond the list is ignored.
  grid().SetCell(grid().GetItemCount(), 1, u"k", u"v", 1, kTexto, 1, TRUE);
  EXPECT_EQ(grid().GetItemCount(), kLinhas);
}

TEST_F(GridTest, AFileCellSetsTheCurrentFolderFromTheBaseFolder) {
  // Set up with "conectores\plug" under the base folder "C:\projeto\".
  EXPECT_EQ(grid().GetCurrentFolder(), u"C:\\projeto\\conectores\\");
  grid().SetCell(rDesenho, 1, u"desenho", u"", 20, kArquivo, 1, TRUE);
  EXPECT_EQ(grid().GetCurrentFolder(), u"C:\\projeto\\");
  grid().SetCell(rDesenho, 1, u"desenho", u"a\\b\\relay", 20, kArquivo, 1, TRUE);
  EXPECT_EQ(grid().GetCurrentFolder(), u"C:\\projeto\\a\\b\\");
  grid().SetCell(rDesenho, 1, u"desenho", u"relay", 20, kArquivo, 1, TRUE);
  EXPECT_EQ(grid().GetCurrentFolder(), u"C:\\projeto\\");
}

TEST_F(GridTest, AClickOnAReadOnlyCellSelectsTheRowAndOpensNothing) {
  ASSERT_TRUE(dlg->ClickCell(rFixo, 1));
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(grid().GetItemState(rFixo, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(dlg->begins, 0);
  EXPECT_FALSE(grid().IsEditing());
  ASSERT_TRUE(dlg->ClickCell(rNome, 0)) << "column 0 holds the row's key, read-only";
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(grid().GetNextItem(-1, LVNI_SELECTED), rNome);
}

TEST_F(GridTest, AClickOnAnEditableCellOpensItsEditorOverTheCellAndTellsTheParent) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  HWND ed = dlg->Editor();
  ASSERT_NE(ed, nullptr);
  EXPECT_EQ(GetFocus(), ed);
  EXPECT_EQ(GetClassNameString(ed), WC_EDITW);
  CRect cell, at;
  grid().GetSubItemRect(rNome, 1, LVIR_LABEL, cell);
  ::GetWindowRect(ed, &at);
  grid().ScreenToClient(&at);
  EXPECT_EQ(at, cell);
  EXPECT_TRUE(grid().IsEditing());
  EXPECT_EQ(grid().GetEditRow(), rNome);
  EXPECT_EQ(grid().GetLastEditRow(), rNome);
  ASSERT_EQ(dlg->begins, 1);
  ASSERT_EQ(dlg->commandWParams.size(), 1u);
  EXPECT_EQ(dlg->commandWParams[0], MAKEWPARAM(IDC_GRADE, LOWORD(WM_LIST_PROPRIEDADE_BEGINEDIT)));
  EXPECT_EQ(dlg->commandLParams[0], reinterpret_cast<LPARAM>(grid().m_hWnd));
  EXPECT_EQ(::SendMessageW(ed, WM_GETFONT, 0, 0), grid().SendMessage(WM_GETFONT)) << "the grid's font";

  zrui::Type(u"J7");
  ClickElsewhere();
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(dlg->Text(rNome, 1), u"J7");
  EXPECT_FALSE(grid().IsEditing());
  EXPECT_EQ(dlg->ends, 1);
  EXPECT_EQ(dlg->commandWParams.back(), MAKEWPARAM(IDC_GRADE, LOWORD(WM_LIST_PROPRIEDADE_ENDEDIT)));
}

TEST_F(GridTest, AListCellWithoutValuesOpensNoEditorButEditsUntilTheNextEndMessage) {
  ASSERT_TRUE(dlg->ClickCell(rVazio, 1));
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_TRUE(grid().IsEditing());
  EXPECT_EQ(dlg->begins, 1);
  // Another editor's end clears the state.
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  ClickElsewhere();
  EXPECT_FALSE(grid().IsEditing());
  EXPECT_EQ(dlg->ends, 1);
}

TEST_F(GridTest, TabAndShiftTabMoveTheEditorToTheNextAndPreviousRow) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  zrui::Type(u"X");
  zrui::PressKey(VK_TAB);
  EXPECT_EQ(dlg->Text(rNome, 1), u"X");
  ASSERT_NE(dlg->Editor(), nullptr);
  EXPECT_EQ(grid().GetEditRow(), rNumero);
  EXPECT_EQ(EditorText(), u"12");
  EXPECT_EQ(grid().GetNextItem(-1, LVNI_SELECTED), rNumero);
  zrui::Keys shift;
  shift.shift = true;
  zrui::PressKey(VK_TAB, shift);
  EXPECT_EQ(grid().GetEditRow(), rNome);
  EXPECT_EQ(EditorText(), u"X");
  EXPECT_EQ(dlg->begins, 3);
  EXPECT_EQ(dlg->ends, 2);
}

TEST_F(GridTest, TabOrEnterOnTheLastRowClosesTheEditorWithoutOpeningAnother) {
  int ultima = grid().AddRow(u"ultima", u"Ultima", 0, kSemEditor, 1, FALSE);
  grid().SetCell(ultima, 1, u"ultima", u"u", 10, kTexto, 1, TRUE);
  ASSERT_TRUE(dlg->ClickCell(ultima, 1));
  zrui::Type(u"fim");
  zrui::PressKey(VK_TAB);
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(dlg->Text(ultima, 1), u"fim");
  EXPECT_FALSE(grid().IsEditing());
  EXPECT_EQ(grid().GetItemCount(), ultima + 1);

  ASSERT_TRUE(dlg->ClickCell(ultima, 1));
  zrui::Type(u"enter");
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(dlg->Text(ultima, 1), u"enter");
  EXPECT_EQ(dlg->begins, 2);
  EXPECT_EQ(dlg->ends, 2);
}

TEST_F(GridTest, EscapeClosesTheEditorKeepingWhatWasTyped) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  zrui::Type(u"K9");
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(GetFocus(), grid().m_hWnd);
  EXPECT_EQ(dlg->Text(rNome, 1), u"K9");
  EXPECT_TRUE(::IsWindow(dlg->m_hWnd)) << "Escape does not cancel the dialog";
}

TEST_F(GridTest, ScrollingTakesTheFocusSoTheOpenEditorReportsFirst) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  zrui::Type(u"S1");
  // What the grid's scroll bar sends when the user clicks its arrow.
  grid().SendMessage(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(dlg->Text(rNome, 1), u"S1");
  EXPECT_EQ(GetFocus(), grid().m_hWnd);
}

TEST_F(GridTest, TheWheelScrollsTheGridAndTheOpenEditorReportsFirst) {
  // Rows enough that the grid has something to scroll.
  for (int i = 0; i < 30; ++i) grid().AddRow(u"more", u"More", 0, kSemEditor, 1, FALSE);
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  ASSERT_NE(dlg->Editor(), nullptr);
  zrui::Type(u"W1");
  // Turned over the editor itself: the editor passes the turn to the grid.
  CRect r;
  CWnd::FromHandle(dlg->Editor())->GetWindowRect(&r);
  zrui::InputMouseWheel(r.CenterPoint(), -WHEEL_DELTA);
  zrui::Pump();
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(dlg->Text(rNome, 1), u"W1");
  EXPECT_EQ(grid().GetTopIndex(), 3);
  grid().GetWindowRect(&r);
  zrui::InputMouseWheel(r.CenterPoint(), WHEEL_DELTA);
  zrui::Pump();
  EXPECT_EQ(grid().GetTopIndex(), 0);
}

class MultiRowGrid : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    grid().ModifyStyle(LVS_SINGLESEL, 0);
    extra = grid().AddRow(u"extra", u"Extra", 0, kSemEditor, 1, FALSE);
    grid().SetCell(extra, 1, u"extra", u"e", 10, kTexto, 1, TRUE);
    // The user selects two rows by their read-only keys.
    ASSERT_TRUE(dlg->ClickCell(rNome, 0));
    ASSERT_TRUE(dlg->ClickCell(rNumero, 0, true));
    ASSERT_EQ(grid().GetSelectedCount(), 2);
  }
  int extra = -1;
};

TEST_F(MultiRowGrid, AValueTypedIntoACapturedRowGoesToEveryCapturedRow) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  EXPECT_TRUE(grid().IsMultiRowEditing());
  EXPECT_EQ(grid().GetMultiRows(), (std::list<int>{rNome, rNumero}));
  zrui::Type(u"7");
  ClickElsewhere();
  EXPECT_EQ(dlg->Text(rNome, 1), u"7");
  EXPECT_EQ(dlg->Text(rNumero, 1), u"7");
  EXPECT_EQ(dlg->Text(rTipo, 1), u"Femea");
}

TEST_F(MultiRowGrid, AValueTypedIntoARowOutsideTheSetChangesOnlyThatRow) {
  ASSERT_TRUE(dlg->ClickCell(extra, 1));
  EXPECT_EQ(grid().GetMultiRows(), (std::list<int>{rNome, rNumero})) << "the click kept the selection";
  zrui::Type(u"9");
  ClickElsewhere();
  EXPECT_EQ(dlg->Text(extra, 1), u"9");
  EXPECT_EQ(dlg->Text(rNome, 1), u"J1");
  EXPECT_EQ(dlg->Text(rNumero, 1), u"12");
}

TEST_F(MultiRowGrid, EnterCopiesToTheSetAndReopensTheSameCellWithTheTypedText) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 1));
  zrui::Type(u"55");
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->Text(rNumero, 1), u"55");
  ASSERT_NE(dlg->Editor(), nullptr);
  EXPECT_EQ(grid().GetEditRow(), rNome);
  EXPECT_EQ(EditorText(), u"55");
  EXPECT_EQ(dlg->ends, 1);
  EXPECT_EQ(dlg->begins, 2);
}

TEST_F(MultiRowGrid, AListChoiceGoesToEveryCapturedRow) {
  grid().SetCell(rNome, 1, u"tipo", grid().GetCellValues(rTipo, 1), 0, kLista, 1, TRUE, 0);
  grid().SetCell(rNumero, 1, u"tipo", grid().GetCellValues(rTipo, 1), 0, kLista, 1, TRUE, 0);
  ASSERT_TRUE(dlg->ClickCell(rTipo, 0, true));  // a third row
  ASSERT_TRUE(dlg->ClickCell(rTipo, 1));
  ASSERT_NE(dlg->Editor(), nullptr);
  ASSERT_TRUE(zrui::ChooseComboItem(dlg->Editor(), 2));
  EXPECT_EQ(dlg->selChanges, 1);
  EXPECT_EQ(dlg->Text(rTipo, 1), u"Hibrido");
  EXPECT_EQ(dlg->Text(rNome, 1), u"Hibrido");
  EXPECT_EQ(dlg->Text(rNumero, 1), u"Hibrido");
  EXPECT_EQ(grid().GetCellIndex(rNumero, 1), 2);
  EXPECT_EQ(dlg->Text(rDesenho, 1), u"conectores\\plug") << "outside the set";
}

TEST_F(MultiRowGrid, RowsDeletedDuringAnEditAreSkippedAndTheRestFollowTheirRows) {
  ASSERT_TRUE(dlg->ClickCell(rNumero, 1));
  // The owner removes rows while the editor is open: one of the set, and
  // one above the edited row.
  grid().DeleteItem(rNome);
  EXPECT_EQ(grid().GetMultiRows(), (std::list<int>{0}));
  zrui::Type(u"3");
  ClickElsewhere();
  EXPECT_EQ(grid().GetItemCount(), kLinhas);  // kLinhas + extra - 1
  EXPECT_EQ(dlg->Text(0, 0), u"Numero");
  EXPECT_EQ(dlg->Text(0, 1), u"3");
  EXPECT_EQ(dlg->Text(1, 1), u"Femea");

  // The edited row itself goes: the value has nowhere to go.
  ASSERT_TRUE(dlg->ClickCell(0, 1));
  grid().DeleteItem(0);
  zrui::Type(u"4");
  ClickElsewhere();
  EXPECT_FALSE(grid().IsEditing());
  EXPECT_EQ(dlg->Text(0, 1), u"Femea");
  for (int r = 0; r < grid().GetItemCount(); ++r) EXPECT_NE(dlg->Text(r, 1), u"4");

  // Every row goes while an editor is open; the records go with them.
  ASSERT_TRUE(dlg->ClickCell(grid().GetItemCount() - 1, 1));  // "Extra", a text cell
  ASSERT_NE(dlg->Editor(), nullptr);
  grid().DeleteAllItems();
  ClickElsewhere();
  EXPECT_EQ(grid().GetItemCount(), 0);
  EXPECT_FALSE(grid().IsEditing());
}

TEST_F(GridTest, ANullResultRecordIsIgnored) {
  // What an editor sends when it cannot allocate its record.
  grid().SendMessage(WM_EDIT_ENDEDIT, 0, 0);
  grid().SendMessage(WM_COMBO_ENDEDIT, 0, 0);
  EXPECT_EQ(dlg->ends, 0);
  EXPECT_EQ(dlg->Text(rNome, 1), u"J1");
}

TEST_F(GridTest, CellsAreDrawnAsLinksColoursOrDimmedText) {
  ASSERT_TRUE(zrui::MouseMove(grid().m_hWnd, dlg->CellPoint(rFixo, 0)));
  zrui::TextGrid g = zrui::RenderWindow(dlg->m_hWnd);
  // Palette index 5 is blue; its text is the complement, yellow.
  EXPECT_EQ(Rendered(g, rCor, 1).bg, RGB(0, 0, 255)) << g.utf8();
  EXPECT_EQ(Rendered(g, rCor, 1).fg, RGB(255, 255, 0));
  EXPECT_EQ(Rendered(g, rNome, 1).fg, GetSysColor(COLOR_HOTLIGHT));
  EXPECT_FALSE(Rendered(g, rNome, 1).underline) << "the mouse is elsewhere";
  EXPECT_EQ(Rendered(g, rFixo, 1).fg, GetSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(Rendered(g, rFixo, 2).fg, GetSysColor(COLOR_BTNTEXT)) << "a plain-text column";
  EXPECT_EQ(Rendered(g, rFixo, 0).fg, GetSysColor(COLOR_WINDOWTEXT)) << "the key column is never dimmed";

  grid().m_bSemEsmaecer = TRUE;
  g = zrui::RenderWindow(dlg->m_hWnd);
  EXPECT_EQ(Rendered(g, rFixo, 1).fg, GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(GridTest, TheEditableCellUnderTheMouseIsUnderlinedWithTheHandCursor) {
  ASSERT_TRUE(zrui::MouseMove(grid().m_hWnd, dlg->CellPoint(rNome, 1)));
  EXPECT_EQ(CursorId(GetCursor()), 32649);
  zrui::TextGrid g = zrui::RenderWindow(dlg->m_hWnd);
  EXPECT_TRUE(Rendered(g, rNome, 1).underline) << g.utf8();
  EXPECT_FALSE(Rendered(g, rNumero, 1).underline);
  EXPECT_FALSE(Rendered(g, rNome, 0).underline);

  ASSERT_TRUE(zrui::MouseMove(grid().m_hWnd, dlg->CellPoint(rFixo, 1)));
  EXPECT_EQ(CursorId(GetCursor()), 32512) << "the arrow over a read-only cell";
  g = zrui::RenderWindow(dlg->m_hWnd);
  EXPECT_FALSE(Rendered(g, rNome, 1).underline);
  EXPECT_FALSE(Rendered(g, rFixo, 1).underline);
}

TEST_F(GridTest, OpeningAnEditorBringsItsColumnIntoView) {
  CRect client;
  grid().GetClientRect(&client);
  grid().SetCell(rNome, 2, u"nota", u"longa", 10, kTexto, 1, TRUE);
  // Column 2 reaches past the right edge: it is scrolled in until its right
  // edge meets the client's. The edge, 98 + 126 + 300 = 524 pixels, lies on
  // the cell boundary nearest to it (75 cells).
  grid().SetColumnWidth(2, 300);
  const int total = 75 * 7;
  ASSERT_GT(total, client.Width());
  ASSERT_TRUE(grid().BeginEdit(rNome, 2));
  EXPECT_EQ(::GetScrollPos(grid().m_hWnd, SB_HORZ), total - client.Width());
  CRect ed;
  ::GetWindowRect(dlg->Editor(), &ed);
  grid().ScreenToClient(&ed);
  EXPECT_EQ(ed.right, client.right);
  ClickElsewhere();

  // A column wider than the client starts at the client's left edge.
  grid().SetColumnWidth(2, client.Width() + 100);
  ASSERT_TRUE(grid().BeginEdit(rNome, 2));
  EXPECT_EQ(::GetScrollPos(grid().m_hWnd, SB_HORZ), 98 + 126);
  ::GetWindowRect(dlg->Editor(), &ed);
  grid().ScreenToClient(&ed);
  EXPECT_EQ(ed.left, 0);
  ClickElsewhere();
}

TEST_F(GridTest, BeginEditRefusesRowsOutsideTheListAndReadOnlyCells) {
  EXPECT_FALSE(grid().BeginEdit(-1, 1));
  EXPECT_FALSE(grid().BeginEdit(kLinhas, 1));
  EXPECT_FALSE(grid().BeginEdit(rFixo, 1));
  EXPECT_EQ(dlg->begins, 0);
  EXPECT_TRUE(grid().BeginEdit(rNome, 1, u"outro"));
  EXPECT_EQ(EditorText(), u"outro");
  ClickElsewhere();
  EXPECT_EQ(dlg->Text(rNome, 1), u"outro");
  // The text form opens no colour editor.
  EXPECT_TRUE(grid().BeginEdit(rCor, 1, u"7"));
  EXPECT_EQ(dlg->Editor(), nullptr);
}

}  // namespace
