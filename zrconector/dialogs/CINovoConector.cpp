#include "dialogs/CINovoConector.h"

#include "dialogs/Resource.h"
#include "settings/CITexto.h"

BEGIN_MESSAGE_MAP(CINovoConector, CDialog)
  ON_CBN_EDITCHANGE(IDC_NOVO_CONECTOR_NOME, &CINovoConector::OnEditChangeNome)
  ON_CBN_SELCHANGE(IDC_NOVO_CONECTOR_NOME, &CINovoConector::OnSelChangeNome)
  ON_CBN_DROPDOWN(IDC_NOVO_CONECTOR_NOME, &CINovoConector::OnDropDownNome)
  ON_CBN_CLOSEUP(IDC_NOVO_CONECTOR_NOME, &CINovoConector::OnCloseUpNome)
  ON_WM_ACTIVATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CINovoConector::CINovoConector(const CString& proposta, CWnd* parent)
    : CDialog(IDD_NOVO_CONECTOR, parent), m_proposta(proposta) {}

CINovoConector::~CINovoConector() = default;

void CINovoConector::SetNomesEmUso(CStringList* nomes) { m_nomesEmUso.reset(nomes); }

BOOL CINovoConector::OnInitDialog() {
  CDialog::OnInitDialog();
  std::unique_ptr<CITexto> textos(new CITexto());
  SetWindowText(textos->GetTexto(33));
  m_rotulo.SubclassDlgItem(IDC_NOVO_CONECTOR_ROTULO, this);
  m_rotulo.SetWindowText(textos->GetTexto(34));
  m_ok.SubclassDlgItem(IDOK, this);
  m_ok.SetWindowText(textos->GetTexto(16));
  m_cancelar.SubclassDlgItem(IDCANCEL, this);
  m_cancelar.SetWindowText(textos->GetTexto(17));
  m_textoEmUso = textos->GetTexto(30);
  m_textoSugerido = textos->GetTexto(44);
  m_tooltip.Create(this);
  m_combo.Attach(IDC_NOVO_CONECTOR_NOME, this, TRUE);
  // Setting the text from code is no edit: the first check runs when the
  // dialog is activated, as it is shown.
  m_combo.SetWindowText(m_proposta);
  return TRUE;
}

void CINovoConector::AvaliarNome(const CString& nome) {
  if (nome.IsEmpty()) {
    m_ok.EnableWindow(FALSE);
    m_tooltip.Hide();
    return;
  }
  if (!m_nomesEmUso) return;
  if (m_nomesEmUso->Find(nome)) {
    m_ok.EnableWindow(FALSE);
    CRect combo;
    m_combo.GetWindowRect(&combo);
    m_tooltip.Show(m_textoEmUso, CPoint(combo.left + 10, combo.top));
  } else {
    m_ok.EnableWindow(TRUE);
    m_tooltip.Hide();
  }
}

// The list drops after this notice: the tip moves below it then.
void CINovoConector::OnDropDownNome() { m_tooltip.ShowAgainSoon(); }

void CINovoConector::OnCloseUpNome() { m_tooltip.ShowAgain(); }

void CINovoConector::VerificarNome() {
  // Activation messages also reach a dialog whose controls are gone.
  if (!m_combo.m_hWnd || !m_ok.m_hWnd) return;
  m_combo.GetWindowText(m_nome);
  AvaliarNome(m_nome);
  ReconstruirLista(m_nome);
}

void CINovoConector::SubstituirItem(int index, const CString& texto, const CString& segundo) {
  // A missing item is simply added at that place.
  if (index < m_combo.GetCount()) m_combo.DeleteString(static_cast<UINT>(index));
  m_combo.InsertString(index, texto, segundo);
}

void CINovoConector::ReconstruirLista(const CString& texto) {
  if (m_combo.GetCount() > 0) {
    if (!texto.IsEmpty()) SubstituirItem(0, texto, CString());
    if (!m_proposta.IsEmpty()) SubstituirItem(1, m_proposta, m_textoSugerido);
  } else if (!m_proposta.IsEmpty()) {
    if (texto == m_proposta) {
      m_combo.InsertString(-1, m_proposta, m_textoSugerido);
    } else {
      m_combo.InsertString(-1, texto, CString());
      m_combo.InsertString(-1, m_proposta, m_textoSugerido);
    }
  }
}

void CINovoConector::OnEditChangeNome() { VerificarNome(); }

void CINovoConector::OnSelChangeNome() {
  // Choosing an entry changes the name as typing does, but the list already
  // holds the typed text and the proposal: it is evaluated, not rebuilt
  // (rebuilding from the proposal would list it twice).
  int index = m_combo.GetCurSel();
  if (index < 0) return;
  CString escolhido;
  m_combo.GetLBText(index, escolhido);
  m_nome = escolhido;
  AvaliarNome(escolhido);
}

void CINovoConector::OnActivate(UINT state, CWnd* other, BOOL minimized) {
  CDialog::OnActivate(state, other, minimized);
  VerificarNome();
}

void CINovoConector::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  m_tooltip.Hide();
}

void CINovoConector::OnOK() {
  m_combo.GetWindowText(m_nome);
  m_automatico = !m_proposta.IsEmpty() && m_proposta == m_nome;
  EndDialog(IDOK);
}
