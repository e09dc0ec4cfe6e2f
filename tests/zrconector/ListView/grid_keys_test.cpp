// The property grid at the keyboard: the keys that open the selected row's
// editor as a click does, the keys that move between rows, and Enter and
// Escape inside and outside an editor, which never end the dialog while the
// grid can use them.
#include "grid_fixture.h"

using namespace ListView;
using namespace listview_test;

namespace {

zrui::Keys Alt() {
  zrui::Keys k;
  k.alt = true;
  return k;
}

constexpr UINT VK_F2 = VK_F1 + 1;

int SelectedRow(CIListViewEdit& grid) { return grid.GetNextItem(-1, LVNI_SELECTED); }

TEST_F(GridTest, KeysOpenTheSelectedRowsEditorAsAClickDoes) {
  struct Case {
    const char* what;
    int row;
    UINT vk;
    zrui::Keys keys;
    int editor;    // id of the editor that opens, 0 for none
    bool dropped;  // its list shows
  };
  const Case cases[] = {
      {"F2 on a text cell", rNome, VK_F2, {}, kIdTexto, false},
      {"Space on a text cell", rNumero, VK_SPACE, {}, kIdTexto, false},
      {"Enter on a text cell", rNome, VK_RETURN, {}, kIdTexto, false},
      {"F2 on a list cell", rTipo, VK_F2, {}, kIdLista, true},
      {"F2 on an editable list", rCodigo, VK_F2, {}, kIdLista, false},
      {"F4 on an editable list", rCodigo, VK_F4, {}, kIdLista, true},
      {"Alt+Down on an editable list", rCodigo, VK_DOWN, Alt(), kIdLista, true},
      {"F2 on a read-only cell", rFixo, VK_F2, {}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A click on the row's label selects it and opens nothing.
    ASSERT_TRUE(dlg->ClickCell(c.row, 0));
    ASSERT_EQ(dlg->Editor(), nullptr);
    ASSERT_EQ(::GetFocus(), grid().m_hWnd);
    const int begins = dlg->begins;
    zrui::PressKey(c.vk, c.keys);
    HWND editor = dlg->Editor();
    EXPECT_EQ(editor ? ::GetDlgCtrlID(editor) : 0, c.editor);
    EXPECT_EQ(dlg->begins, begins + (c.editor ? 1 : 0));
    EXPECT_EQ(SelectedRow(grid()), c.row);
    if (editor && c.editor == kIdLista) {
      EXPECT_EQ(::SendMessageW(editor, CB_GETDROPPEDSTATE, 0, 0) != 0, c.dropped);
    }
    if (editor) {
      // The editor has the focus, over the cell it edits.
      HWND focus = ::GetFocus();
      EXPECT_TRUE(focus == editor || ::IsChild(editor, focus));
    }
    // A click outside a dropped list only closes the list; a second one
    // leaves the editor.
    ClickElsewhere();
    if (c.dropped) ClickElsewhere();
    EXPECT_EQ(dlg->Editor(), nullptr);
  }
  EXPECT_EQ(dlg->oks, 0) << "Enter opened an editor; the dialog did not see it";
  EXPECT_EQ(dlg->cancels, 0);
}

TEST_F(GridTest, TabbedIntoWithNoRowSelectedF2OpensTheFirstRowsEditor) {
  ClickElsewhere();
  for (int i = 0; i < 5 && ::GetFocus() != grid().m_hWnd; ++i) zrui::PressKey(VK_TAB);
  ASSERT_EQ(::GetFocus(), grid().m_hWnd);
  ASSERT_EQ(SelectedRow(grid()), -1);
  zrui::PressKey(VK_F2);
  HWND editor = dlg->Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(editor), kIdTexto);
  EXPECT_EQ(SelectedRow(grid()), rNome);
  EXPECT_EQ(dlg->begins, 1);
}

TEST_F(GridTest, EnterOnARowWithNothingToEditIsTheDialogsDefaultButton) {
  ASSERT_TRUE(dlg->ClickCell(rFixo, 0));
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->oks, 1);
  EXPECT_EQ(dlg->begins, 0);
}

TEST_F(GridTest, ArrowsHomeEndAndPagesMoveBetweenRows) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 0));
  struct Step {
    UINT vk;
    int row;
  };
  const Step steps[] = {{VK_DOWN, rNumero}, {VK_DOWN, rTipo}, {VK_UP, rNumero}, {VK_END, kLinhas - 1},
                        {VK_HOME, rNome},   {VK_UP, rNome},   {VK_NEXT, -1},     {VK_PRIOR, rNome}};
  for (const Step& s : steps) {
    zrui::PressKey(s.vk);
    if (s.row >= 0) EXPECT_EQ(SelectedRow(grid()), s.row) << "key " << s.vk;
    else EXPECT_GT(SelectedRow(grid()), rNumero) << "a page down";
  }
  EXPECT_EQ(dlg->Editor(), nullptr) << "moving opens nothing";
  EXPECT_EQ(dlg->begins, 0);
}

TEST_F(GridTest, InAnEditorEnterCommitsAndMovesOnEscapeLeavesItAndNeitherEndsTheDialog) {
  ASSERT_TRUE(dlg->ClickCell(rNome, 0));
  zrui::PressKey(VK_F2);
  zrui::Type(u"X9");  // the cell's text was all selected
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->Text(rNome, 1), u"X9");
  EXPECT_EQ(dlg->ends, 1) << "the end of the edit was reported";
  // Enter moved on to the next row's editor.
  ASSERT_NE(dlg->Editor(), nullptr);
  EXPECT_EQ(EditorText(), u"12");
  EXPECT_EQ(SelectedRow(grid()), rNumero);

  // Escape gives the focus back to the grid; the editor ends as on any focus
  // loss, with what was typed.
  zrui::Type(u"7");
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(dlg->Editor(), nullptr);
  EXPECT_EQ(::GetFocus(), grid().m_hWnd);
  EXPECT_EQ(dlg->Text(rNumero, 1), u"7");
  EXPECT_EQ(dlg->ends, 2);
  EXPECT_EQ(dlg->oks + dlg->cancels, 0) << "the editor's keys never reach the dialog";

  // Tab commits and opens the next row's editor: the list, dropped.
  zrui::PressKey(VK_F2);
  zrui::Type(u"8");
  zrui::PressKey(VK_TAB);
  EXPECT_EQ(dlg->Text(rNumero, 1), u"8");
  ASSERT_NE(dlg->Editor(), nullptr);
  EXPECT_EQ(::GetDlgCtrlID(dlg->Editor()), kIdLista);
  EXPECT_EQ(dlg->oks + dlg->cancels, 0);

  // With no editor open, Escape is the dialog's again.
  zrui::PressKey(VK_ESCAPE);  // closes the list editor's dropped list
  ClickElsewhere();
  ASSERT_TRUE(dlg->ClickCell(rNome, 0));
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(dlg->cancels, 1);
}

}  // namespace
