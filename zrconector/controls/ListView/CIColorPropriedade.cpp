#include "controls/ListView/CIColorPropriedade.h"

#include "zrdwg/OdCmColor.h"
#include "controls/ListView/CIBtColor.h"
#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

namespace {
constexpr int kMaxDigits = 3;
}  // namespace

BEGIN_MESSAGE_MAP(CIColorPropriedade, CellEditor<CEdit>)
  ON_WM_CHAR()
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CIColorPropriedade::CIColorPropriedade(int linha, int coluna) : CellEditor(linha, coluna) {}

CIColorPropriedade::~CIColorPropriedade() = default;

int CIColorPropriedade::LeadingInteger(const CString& texto) {
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

COLORREF CIColorPropriedade::TextColour(const CString& texto) {
  int n = LeadingInteger(texto);
  OdCmColor cor;
  cor.setColorMethod(static_cast<OdCmEntityColor::ColorMethod>(0xC8));
  if (n < 256) cor.setColorIndex(n);
  else cor.setColor(static_cast<uint32_t>(n));
  return RGB(cor.red(), cor.green(), cor.blue());
}

COLORREF CIColorPropriedade::Complement(COLORREF cor) {
  return RGB(255 - GetRValue(cor), 255 - GetGValue(cor), 255 - GetBValue(cor));
}

BOOL CIColorPropriedade::Create(CWnd* pai, const CRect& rc, LPCTSTR texto) {
  return CreateFieldWithButton(this, m_botao, new CIBtColor(this), pai, rc, kButtonWidth, kEditorId, texto);
}

void CIColorPropriedade::OnChar(UINT ch, UINT repeat, UINT flags) {
  Invalidate();
  // Backspace is not among the characters taken: Delete (a key, not a
  // character) erases.
  bool aceito = (ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u',' || ch == VK_RETURN;
  if (GetWindowTextLength() >= kMaxDigits || !aceito) return;
  CEdit::OnChar(ch, repeat, flags);
  Invalidate();
}

void CIColorPropriedade::SendResult() {
  CString texto;
  GetWindowText(texto);
  SendText(this, WM_COLOR_ENDEDIT, m_linha, m_coluna, texto);
}

HBRUSH CIColorPropriedade::CtlColor(CDC* dc, UINT) {
  CString texto;
  GetWindowText(texto);
  m_cor = TextColour(texto);
  m_pincel.DeleteObject();
  m_pincel.CreateSolidBrush(m_cor);
  // The field looks like the cell under it: the colour, and its complement
  // for the text so that it stays readable on any colour.
  dc->SetTextColor(Complement(m_cor));
  dc->SetBkColor(m_cor);
  return m_pincel;
}

}  // namespace ListView
