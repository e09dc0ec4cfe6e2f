#include "grid_dialog.h"

#include <zrui/picture.h>

#include <cstdlib>
#include <string>

using namespace zrui::rc;
using namespace ListView;

namespace listview_test {

namespace {

DialogTemplate Template() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  t.caption = u"Propriedades";
  t.cx = 240;
  t.cy = 112;
  t.items = {
      CONTROL(u"", IDC_GRADE, WC_LISTVIEWW, LVS_REPORT | WS_BORDER | WS_TABSTOP, 0, 0, 240, 96),
      PUSHBUTTON(u"Outro", IDC_OUTRO, 4, 98, 40, 12),
      DEFPUSHBUTTON(u"OK", IDOK, 196, 98, 40, 12),
  };
  return t;
}

const DialogTemplate& Shared() {
  static const DialogTemplate t = Template();
  return t;
}

CStringList* Lista(std::initializer_list<const char16_t*> textos) {
  auto* l = new CStringList;
  for (const char16_t* t : textos) l->AddTail(CString(t));
  return l;
}

}  // namespace

BEGIN_MESSAGE_MAP(GridDialog, CDialog)
  ON_REGISTERED_CONTROL(WM_LIST_PROPRIEDADE_BEGINEDIT, IDC_GRADE, &GridDialog::OnBegin)
  ON_REGISTERED_CONTROL(WM_LIST_PROPRIEDADE_ENDEDIT, IDC_GRADE, &GridDialog::OnEnd)
  ON_REGISTERED_CONTROL(WM_LIST_PROPRIEDADE_SELCHANGE, IDC_GRADE, &GridDialog::OnSelChange)
END_MESSAGE_MAP()

bool KeepScreenPicture(const char* name) {
  if (!std::getenv("ZR_UPDATE_SNAPSHOTS")) return true;
  return zrui::SaveScreenPng(std::string(ZR_SOURCE_DIR) + "/docs/pictures/" + name).ok;
}

GridDialog::GridDialog() : CDialog(&Shared()) {}

GridDialog::~GridDialog() {
  if (m_hWnd) DestroyWindow();
}

BOOL GridDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  grid.SubclassDlgItem(IDC_GRADE, this);
  grid.m_pastaBase = u"C:\\projeto\\";
  grid.AddColumn(u"Propriedade", 98);
  grid.AddColumn(u"Valor", 126);
  grid.AddColumn(u"Nota", 140, TRUE);

  grid.AddRow(u"nome", u"Nome", 0, kSemEditor, 1, FALSE);
  grid.SetCell(rNome, 1, u"nome", u"J1", 10, kTexto, 1, TRUE);
  grid.AddRow(u"numero", u"Numero", 0, kSemEditor, 1, FALSE);
  grid.SetCell(rNumero, 1, u"numero", u"12", 5, kTexto, 0, TRUE);
  grid.AddRow(u"tipo", u"Tipo", 0, kSemEditor, 1, FALSE);
  std::unique_ptr<CStringList> tipos(Lista({u"Macho", u"Femea", u"Hibrido"}));
  grid.SetCell(rTipo, 1, u"tipo", tipos.get(), 0, kLista, 1, TRUE, 1);
  grid.AddRow(u"desenho", u"Desenho", 0, kSemEditor, 1, FALSE);
  grid.SetCell(rDesenho, 1, u"desenho", u"conectores\\plug", 20, kArquivo, 1, TRUE);
  grid.AddRow(u"cor", u"Cor", 0, kSemEditor, 1, FALSE);
  grid.SetCell(rCor, 1, u"cor", u"5", 3, kCor, 0, TRUE);
  grid.AddRow(u"codigo", u"Codigo", 0, kSemEditor, 1, FALSE);
  std::unique_ptr<CStringList> codigos(Lista({u"A1", u"B2", u"C3"}));
  std::unique_ptr<CStringList> descricoes(Lista({u"primeiro", u"segundo", u"terceiro"}));
  grid.SetCell(rCodigo, 1, u"codigo", codigos.get(), 10, kListaEditavel, 1, TRUE, 0);
  grid.SetCellDescriptions(rCodigo, 1, descricoes.get());
  grid.AddRow(u"fixo", u"Fixo", 0, kSemEditor, 1, FALSE);
  grid.SetCell(rFixo, 1, u"fixo", u"ZR-01", 0, kTexto, 1, FALSE);
  grid.AddRow(u"vazio", u"Vazio", 0, kSemEditor, 1, FALSE);
  std::unique_ptr<CStringList> nada(Lista({}));
  grid.SetCell(rVazio, 1, u"vazio", nada.get(), 0, kLista, 1, TRUE, 0);
  for (int r = 0; r < kLinhas; ++r) grid.SetCell(r, 2, u"nota", u"-", 0, kTexto, 1, FALSE);
  return TRUE;
}

CPoint GridDialog::CellPoint(int row, int col) {
  CRect r;
  grid.GetSubItemRect(row, col, LVIR_LABEL, r);
  return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool GridDialog::ClickCell(int row, int col, bool control) {
  zrui::Keys keys;
  keys.control = control;
  return zrui::ClickAt(grid.m_hWnd, CellPoint(row, col), keys);
}

HWND GridDialog::Editor() const {
  if (HWND e = ::GetDlgItem(grid.m_hWnd, kIdTexto)) return e;
  return ::GetDlgItem(grid.m_hWnd, kIdLista);
}

HWND GridDialog::Button() const { return ::GetDlgItem(grid.m_hWnd, kIdBotao); }

void GridDialog::OnBegin() { ++begins; }

BOOL GridDialog::OnCommand(WPARAM w, LPARAM l) {
  if (LOWORD(w) == IDC_GRADE) {
    commandWParams.push_back(w);
    commandLParams.push_back(l);
  }
  return CDialog::OnCommand(w, l);
}

void GridDialog::OnEnd() { ++ends; }
void GridDialog::OnOK() {
  ++oks;
  CDialog::OnOK();
}
void GridDialog::OnCancel() {
  ++cancels;
  CDialog::OnCancel();
}
void GridDialog::OnSelChange() { ++selChanges; }

}  // namespace listview_test
