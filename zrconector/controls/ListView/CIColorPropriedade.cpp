#include "controls/ListView/CIColorPropriedade.h"

#include "zrdwg/OdCmColor.h"
#include "controls/ListView/CIBtColor.h"
#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

namespace {
constexpr UINT kIdEditor = 1021;
constexpr int kLarguraBotao = 20;
constexpr int kDigitosMax = 3;
}  // namespace

BEGIN_MESSAGE_MAP(CIColorPropriedade, CEdit)
  ON_WM_CREATE()
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_KILLFOCUS()
  ON_WM_NCDESTROY()
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CIColorPropriedade::CIColorPropriedade(int linha, int coluna) : m_linha(linha), m_coluna(coluna) {}

CIColorPropriedade::~CIColorPropriedade() = default;

int CIColorPropriedade::Inteiro(const CString& texto) {
  const std::u16string& s = texto.str();
  size_t i = 0;
  while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
  bool negativo = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negativo = s[i++] == u'-';
  long long n = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
    n = n * 10 + (s[i] - u'0');
    if (n > 0x7FFFFFFF) n = 0x7FFFFFFF;
  }
  return static_cast<int>(negativo ? -n : n);
}

COLORREF CIColorPropriedade::CorDoTexto(const CString& texto) {
  int n = Inteiro(texto);
  OdCmColor cor;
  cor.setColorMethod(static_cast<OdCmEntityColor::ColorMethod>(0xC8));
  if (n < 256) cor.setColorIndex(n);
  else cor.setColor(static_cast<uint32_t>(n));
  return RGB(cor.red(), cor.green(), cor.blue());
}

COLORREF CIColorPropriedade::Complementar(COLORREF cor) {
  return RGB(255 - GetRValue(cor), 255 - GetGValue(cor), 255 - GetBValue(cor));
}

BOOL CIColorPropriedade::Create(CWnd* pai, const CRect& rc, LPCTSTR texto) {
  return CriaCampoComBotao<CIBtColor>(this, m_botao, new CIBtColor(this), pai, rc, kLarguraBotao, kIdEditor, texto);
}

int CIColorPropriedade::OnCreate(LPCREATESTRUCT cs) {
  if (CEdit::OnCreate(cs) == -1) return -1;
  TomaFonteDoPai(this);
  SetFocus();
  SetSel(0, -1);
  return 0;
}

BOOL CIColorPropriedade::PreTranslateMessage(MSG* msg) {
  // The field's colour follows its text: it repaints after every key.
  return EncaminhaTecla(this, msg, true) || CEdit::PreTranslateMessage(msg);
}

void CIColorPropriedade::OnChar(UINT ch, UINT repeat, UINT flags) {
  Invalidate();
  // Backspace is not among the characters taken: Delete (a key, not a
  // character) erases.
  bool aceito = (ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u',' || ch == VK_RETURN;
  if (GetWindowTextLength() >= kDigitosMax || !aceito) return;
  CEdit::OnChar(ch, repeat, flags);
  Invalidate();
}

void CIColorPropriedade::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  CIListViewEdit* grid = GridOf(GetParent());
  int linha = m_linha, coluna = m_coluna;
  switch (vk) {
    case VK_TAB:
      if (grid) EditaLinha(grid, GetKeyState(VK_SHIFT) < 0 ? linha - 1 : linha + 1, coluna);
      return;
    case VK_RETURN:
      if (grid) EditaLinha(grid, linha + 1, coluna);
      return;
    case VK_ESCAPE:
      if (CWnd* pai = GetParent()) pai->SetFocus();
      return;
  }
  CEdit::OnKeyDown(vk, repeat, flags);
}

void CIColorPropriedade::OnKillFocus(CWnd* novo) {
  CEdit::OnKillFocus(novo);
  if (novo && m_botao && novo->m_hWnd == m_botao->m_hWnd) return;
  CString texto;
  GetWindowText(texto);
  EnviaTexto(this, WM_COLOR_ENDEDIT, m_linha, m_coluna, texto);
  DestroyWindow();
}

HBRUSH CIColorPropriedade::CtlColor(CDC* dc, UINT) {
  CString texto;
  GetWindowText(texto);
  m_cor = CorDoTexto(texto);
  m_pincel.DeleteObject();
  m_pincel.CreateSolidBrush(m_cor);
  // The field looks like the cell under it: the colour, and its complement
  // for the text so that it stays readable on any colour.
  dc->SetTextColor(Complementar(m_cor));
  dc->SetBkColor(m_cor);
  return m_pincel;
}

void CIColorPropriedade::OnNcDestroy() {
  delete m_botao;
  m_botao = nullptr;
  CEdit::OnNcDestroy();
}

void CIColorPropriedade::PostNcDestroy() { delete this; }

}  // namespace ListView
