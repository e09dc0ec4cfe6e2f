// The sample grid dialog as a person sees it: run modally and edited cell by
// cell with every editor kind by clicks and keys, with text snapshots of the
// dialog before, during and after.
#include <gtest/gtest.h>

#include <zrui/picture.h>
#include <zrui/textrender.h>

#include "fake_host.h"
#include "grid_dialog.h"
#include "grid_fixture.h"

using namespace ListView;
using namespace listview_test;

namespace {

const char16_t* const kAntes =
    u"+- Propriedades ------------------------------------------[x]+\n"
    u"|+----------------------------------------------------------+|\n"
    u"||Propriedade   Valor             Nota                      ||\n"
    u"||Nome          J1                -                         ||\n"
    u"||Numero        12                -                         ||\n"
    u"||Tipo          Femea             -                         ||\n"
    u"||Desenho       conectores\\plug   -                         ||\n"
    u"||Cor           5                 -                         ||\n"
    u"||Codigo        A1                -                         ||\n"
    u"||Fixo          ZR-01             -                         ||\n"
    u"||Vazio                           -                         ||\n"
    u"||                                                          ||\n"
    u"|+----------------------------------------------------------+|\n"
    u"| [ Outro  ]                                      <   OK   > |\n"
    u"|                                                            |\n"
    u"+------------------------------------------------------------+";

TEST(GridSnapshot, ADialogHoldingTheGridIsEditedCellByCellWithEveryEditor) {
  testing_support::FakeHost host;
  host.open(OdDbDatabase::createNew());
  host.script().setColourAnswer(3);
  zrui::SetFileDialogResponder(
      [](const zrui::FileDialogRequest&) { return zrui::FileDialogAnswer{IDOK, u"/desenhos/relay.dwg"}; });
  GridDialog dlg;
  std::u16string durante, depois;
  zrui::OnNextModal([&](HWND h) {
    EXPECT_EQ(zrui::RenderWindow(h).text(), kAntes) << zrui::RenderWindow(h).utf8();

    // Text: replace the name, Enter to the number, append, Escape.
    dlg.ClickCell(rNome, 1);
    zrui::Type(u"J20");
    zrui::PressKey(VK_RETURN);
    zrui::PressKey(VK_END);
    zrui::Type(u"5");
    zrui::PressKey(VK_ESCAPE);

    // List: dropped below the cell, one entry per line.
    dlg.ClickCell(rTipo, 1);
    zrui::TextGrid g = zrui::RenderWindow(h);
    durante = g.text();
    zrui::ChooseComboItem(dlg.Editor(), 2);
    // Tab to the file cell: "..." picks the drawing.
    zrui::PressKey(VK_TAB);
    zrui::Click(dlg.Button());
    // Enter to the colour cell: "..." picks colour 3.
    zrui::PressKey(VK_RETURN);
    zrui::Click(dlg.Button());
    // Enter to the editable list: a new code.
    zrui::PressKey(VK_RETURN);
    zrui::Keys ctrl;
    ctrl.control = true;
    zrui::PressKey('A', ctrl);
    zrui::Type(u"D4");
    zrui::PressKey(VK_ESCAPE);
    depois = zrui::RenderWindow(h).text();
    // Enter in the grid would open the selected row's editor again: OK.
    zrui::Click(::GetDlgItem(h, IDOK));
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  zrui::SetFileDialogResponder(nullptr);

  EXPECT_NE(durante.find(u"|Tipo          Femea            v-"), std::u16string::npos) << CString(durante).ToUtf8();
  size_t macho = durante.find(u"Macho"), femea = durante.find(u"Femea", macho), hibrido = durante.find(u"Hibrido");
  EXPECT_TRUE(macho != std::u16string::npos && femea != std::u16string::npos && hibrido != std::u16string::npos &&
              macho < femea && femea < hibrido)
      << CString(durante).ToUtf8();

  const char16_t* const esperado =
      u"+- Propriedades ------------------------------------------[x]+\n"
      u"|+----------------------------------------------------------+|\n"
      u"||Propriedade   Valor             Nota                      ||\n"
      u"||Nome          J20               -                         ||\n"
      u"||Numero        125               -                         ||\n"
      u"||Tipo          Hibrido           -                         ||\n"
      u"||Desenho       relay             -                         ||\n"
      u"||Cor           3                 -                         ||\n"
      u"||Codigo        D4                -                         ||\n"
      u"||Fixo          ZR-01             -                         ||\n"
      u"||Vazio                           -                         ||\n"
      u"||                                                          ||\n"
      u"|+----------------------------------------------------------+|\n"
      u"| [ Outro  ]                                      <   OK   > |\n"
      u"|                                                            |\n"
      u"+------------------------------------------------------------+";
  EXPECT_EQ(depois, esperado) << CString(depois).ToUtf8();
}

TEST(GridSnapshot, ClosingTheDialogWithAnEditorOpenStillEndsTheEdit) {
  GridDialog dlg;
  zrui::OnNextModal([&](HWND h) {
    dlg.ClickCell(rNome, 1);
    zrui::Type(u"fim");
    zrui::CloseByTitleBar(h);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.begins, 1);
  EXPECT_EQ(dlg.ends, 1) << "the editor reported while the dialog went";
}

// The same dialog in a picture (the character-cell layout that zrhost and
// the terminal use): the colour cell is painted in its colour with the
// complementary text, the other cells on the list's own background.
TEST_F(GridTest, APictureOfTheGridPaintsTheColourCellInItsColour) {
  ASSERT_TRUE(KeepScreenPicture("property-grid.png"));
  zrui::Picture picture;
  ASSERT_TRUE(zrui::RenderWindowPicture(dlg->m_hWnd, &picture, zrui::PictureOptions{1}).ok);
  auto pixelAtRight = [&](int row, int col) {
    CRect r;
    grid().GetSubItemRect(row, col, LVIR_LABEL, r);
    CPoint p(r.right - 3, (r.top + r.bottom) / 2);
    grid().ClientToScreen(&p);
    CRect d;
    dlg->GetWindowRect(&d);
    return picture.At(p.x - d.left, p.y - d.top);
  };
  EXPECT_EQ(pixelAtRight(rCor, 1), RGB(0, 0, 255)) << "colour 5 of the palette";
  grid().SetCellText(rCor, 1, u"1");
  zrui::Pump();
  ASSERT_TRUE(zrui::RenderWindowPicture(dlg->m_hWnd, &picture, zrui::PictureOptions{1}).ok);
  EXPECT_EQ(pixelAtRight(rCor, 1), RGB(255, 0, 0)) << "colour 1 of the palette";
  EXPECT_EQ(pixelAtRight(rNome, 1), GetSysColor(COLOR_WINDOW));
}

}  // namespace
