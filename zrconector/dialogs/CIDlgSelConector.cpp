#include "dialogs/CIDlgSelConector.h"

#include <chrono>

#include "dialogs/ModuleSelectionCatalogue.h"
#include "dialogs/Resource.h"
#include "zrui/testing.h"

namespace {

// The size of the dialog at the first sizing drag of the process: it never
// gets smaller than that.
std::optional<CSize> g_minimo;

}  // namespace

BEGIN_MESSAGE_MAP(CIDlgSelConector, CDialog)
  ON_NOTIFY(TCN_SELCHANGING, IDC_SEL_TAB, &CIDlgSelConector::OnTabChanging)
  ON_NOTIFY(TCN_SELCHANGE, IDC_SEL_TAB, &CIDlgSelConector::OnTabChanged)
  ON_WM_SIZING()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CIDlgSelConector::CIDlgSelConector(CWnd* owner, zr::SelectionCatalogue* fontes)
    : CDialog(IDD_SEL_CONECTOR, owner),
      m_fontesProprias(fontes ? nullptr : zr::NewModuleSelectionCatalogue()),
      m_fontes(fontes ? fontes : m_fontesProprias.get()),
      m_tabSelecao(this),
      m_tabCriar(this) {
  m_conectores = m_fontes->VerificarPinos();
}

CIDlgSelConector::CIDlgSelConector(LPCTSTR pino, CWnd* owner, zr::SelectionCatalogue* fontes)
    : CIDlgSelConector(owner, fontes) {
  m_pino = pino ? pino : u"";
  m_pinosAceitos = std::make_unique<CStringList>(10);
  m_pinosAceitos->AddTail(m_pino);
}

CIDlgSelConector::CIDlgSelConector(CStringList* pinos, CStringList* contraPecas, CWnd* owner,
                                   zr::SelectionCatalogue* fontes)
    : CIDlgSelConector(owner, fontes) {
  m_pinosAceitos.reset(pinos ? pinos : new CStringList(10));
  m_contraPecas.reset(contraPecas);
}

CIDlgSelConector::~CIDlgSelConector() = default;

void CIDlgSelConector::ResetMinimumForTesting() { g_minimo.reset(); }

BOOL CIDlgSelConector::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(m_fontes->Texto(10));
  m_tab.SubclassDlgItem(IDC_SEL_TAB, this);
  CRect pagina(1, 16, 1 + 216, 16 + 185);
  MapDialogRect(&pagina);
  m_tabSelecao.CreatePage();
  m_tabSelecao.MoveWindow(&pagina);
  m_tab.InsertItem(0, m_fontes->Texto(11));
  m_tabSelecao.ShowWindow(SW_SHOW);
  m_tabCriar.CreatePage();
  m_tabCriar.MoveWindow(&pagina);
  m_tab.InsertItem(1, m_fontes->Texto(12));
  m_tabCriar.ShowWindow(SW_HIDE);
  m_abaAtiva = 0;
  CRect rc;
  GetClientRect(&rc);
  m_size = rc.Size();
  return TRUE;
}

void CIDlgSelConector::OnTabChanging(NMHDR*, LRESULT* result) {
  *result = 0;
  m_tabSelecao.ShowWindow(SW_HIDE);
  m_tabCriar.ShowWindow(SW_HIDE);
  Invalidate();
}

void CIDlgSelConector::OnTabChanged(NMHDR*, LRESULT* result) {
  *result = 0;
  if (m_tab.GetCurSel() == 1) {
    m_tabCriar.ShowWindow(SW_SHOW);
    m_tabCriar.StartFill();
    m_abaAtiva = 1;
  } else {
    m_tabSelecao.ShowWindow(SW_SHOW);
    m_abaAtiva = 0;
  }
}

CString CIDlgSelConector::GetNome() const {
  if (m_abaAtiva == 0) return m_tabSelecao.GetNome();
  return m_abaAtiva == 1 ? m_tabCriar.GetNome() : CString();
}

CString CIDlgSelConector::GetCodigo() const {
  if (m_abaAtiva == 0) return m_tabSelecao.GetCodigo();
  return m_abaAtiva == 1 ? m_tabCriar.GetCodigo() : CString();
}

CString CIDlgSelConector::GetPino() const {
  if (m_abaAtiva == 0) return m_tabSelecao.GetPino();
  return m_abaAtiva == 1 ? m_tabCriar.GetPino() : CString();
}

CString CIDlgSelConector::GetResultado4a() const {
  if (m_abaAtiva == 0) return m_tabSelecao.GetCodigo();
  if (m_abaAtiva == 1) return m_tabCriar.GetAutomatico() ? u"S" : u"N";
  return CString();
}

CString CIDlgSelConector::GetResultado4b() {
  if (!m_pino.IsEmpty()) return m_pino;
  const CString pino = GetPino();
  std::unique_ptr<CStringList> chaves = m_fontes->PinosConector(GetCodigo());
  for (POSITION pos = chaves ? chaves->GetHeadPosition() : nullptr; pos;) {
    const CString& chave = chaves->GetNext(pos);
    if (m_fontes->IdPino(chave) == pino) return m_fontes->NomePino(chave);
  }
  return CString();
}

void CIDlgSelConector::End(int result) {
  if (m_tabCriar.FillRunning()) {
    m_tabCriar.CancelFill();
    m_resultadoPendente = result;
    return;
  }
  EndDialog(result);
}

void CIDlgSelConector::FillEnded() {
  if (m_resultadoPendente) EndDialog(*m_resultadoPendente);
}

// Enter with no push button of ours focused: the active page's OK, when it
// is enabled; never an OK of the dialog itself.
void CIDlgSelConector::OnOK() {
  CWnd& pagina = m_abaAtiva == 1 ? static_cast<CWnd&>(m_tabCriar) : static_cast<CWnd&>(m_tabSelecao);
  HWND ok = ::GetDlgItem(pagina.m_hWnd, IDC_SEL_OK);
  if (ok && ::IsWindowEnabled(ok)) pagina.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEL_OK, BN_CLICKED), 0);
}

void CIDlgSelConector::OnCancel() { End(IDCANCEL); }

void CIDlgSelConector::OnDestroy() {
  // Only reached with a fill running when the modal loop was ended from
  // outside: the worker is served until it has stopped.
  if (m_tabCriar.FillRunning()) {
    m_tabCriar.CancelFill();
    zrui::PumpUntil([&] { return !m_tabCriar.FillRunning(); }, std::chrono::minutes(5));
  }
  CDialog::OnDestroy();
}

void CIDlgSelConector::OnSizing(UINT edge, LPRECT rect) {
  if (!g_minimo) {
    CRect agora;
    GetWindowRect(&agora);
    g_minimo = agora.Size();
  }
  // The dragged edge is pushed back to the smallest size.
  if (rect->right - rect->left < g_minimo->cx) {
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
      rect->left = rect->right - g_minimo->cx;
    else
      rect->right = rect->left + g_minimo->cx;
  }
  if (rect->bottom - rect->top < g_minimo->cy) {
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
      rect->top = rect->bottom - g_minimo->cy;
    else
      rect->bottom = rect->top + g_minimo->cy;
  }
}

void CIDlgSelConector::OnSize(UINT, int cx, int cy) {
  if (!m_tab.m_hWnd) return;
  const int dx = cx - m_size.cx, dy = cy - m_size.cy;
  m_size = CSize(cx, cy);
  GrowControl(this, m_tab, dx, dy);
  GrowControl(this, m_tabSelecao, dx, dy);
  GrowControl(this, m_tabCriar, dx, dy);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
