#include "dialogs/CITabCriar.h"

#include "dialogs/Resource.h"
#include "dialogs/SelectionOwner.h"

namespace {

// One fill at a time in the process.
std::atomic<bool> g_fillRunning{false};

}  // namespace

BEGIN_MESSAGE_MAP(CITabCriar, CDialog)
  ON_NOTIFY(TVN_SELCHANGED, IDC_SEL_ARVORE, &CITabCriar::OnTreeSelChanged)
  ON_NOTIFY(TVN_ITEMEXPANDED, IDC_SEL_ARVORE, &CITabCriar::OnTreeExpanded)
  ON_CBN_EDITCHANGE(IDC_SEL_NOME, &CITabCriar::OnNomeEditado)
  ON_CBN_SELCHANGE(IDC_SEL_NOME, &CITabCriar::OnNomeEscolhido)
  ON_CBN_DROPDOWN(IDC_SEL_NOME, &CITabCriar::OnNomeAberto)
  ON_CBN_CLOSEUP(IDC_SEL_NOME, &CITabCriar::OnNomeFechado)
  ON_CBN_SELCHANGE(IDC_SEL_PINO, &CITabCriar::OnPinoEscolhido)
  ON_BN_CLICKED(IDC_SEL_OK, &CITabCriar::OnOK)
  ON_BN_CLICKED(IDC_SEL_CANCELAR, &CITabCriar::OnCancel)
  ON_MESSAGE(CITabCriar::WM_FILL_DONE, &CITabCriar::OnFillDone)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CITabCriar::CITabCriar(SelectionOwner* owner)
    : m_tree(owner->Sources(), owner->Sources().Texto(13)), m_owner(owner) {}

CITabCriar::~CITabCriar() {
  if (m_thread) {
    m_cancel = true;
    m_thread->Join();
    delete m_thread;
  }
}

bool CITabCriar::AnyFillRunning() { return g_fillRunning; }

BOOL CITabCriar::CreatePage() { return Create(IDD_TAB_CRIAR, m_owner->Window()); }

BOOL CITabCriar::OnInitDialog() {
  CDialog::OnInitDialog();
  zr::SelectionCatalogue& fontes = m_owner->Sources();
  m_combo.Attach(IDC_SEL_NOME, this, TRUE);
  m_pinos.SubclassDlgItem(IDC_SEL_PINO, this);
  m_tree.SubclassDlgItem(IDC_SEL_ARVORE, this);
  m_ok.SubclassDlgItem(IDC_SEL_OK, this);
  m_cancelar.SubclassDlgItem(IDC_SEL_CANCELAR, this);
  SetDlgItemText(IDC_SEL_LBL_NOME, fontes.Texto(14));
  SetDlgItemText(IDC_SEL_LBL_ARVORE, fontes.Texto(15));
  SetDlgItemText(IDC_SEL_LBL_PINO, fontes.Texto(29));
  m_ok.SetWindowText(fontes.Texto(16));
  m_cancelar.SetWindowText(fontes.Texto(17));
  m_textoTooltip = fontes.Texto(30);
  m_textoProposta = fontes.Texto(44);
  m_tree.SetFiltroPinos(&m_owner->AcceptedPins());
  // The mating codes are the candidates: with them only mating connectors
  // show, and a single one is opened and selected.
  m_tree.SetCandidatos(m_owner->MatingCodes());
  // The tooltip belongs to the dialog, so that it shows above the pages.
  m_tooltip.Create(m_owner->Window());
  CRect rc;
  GetClientRect(&rc);
  m_size = rc.Size();
  return TRUE;
}

void CITabCriar::StartFill() {
  if (m_thread || m_loaded) return;
  m_cancel = false;
  // Disabled here, on the thread that owns the focus, before the worker
  // starts: a focus inside the page leaves it at once, and no input handled
  // before the worker gets going reaches the page's controls.
  EnableWindow(FALSE);
  CWinThread* thread = AfxBeginThread(&CITabCriar::FillProc, this, 0, 0, CREATE_SUSPENDED);
  if (!thread) {
    Fill();
    return;
  }
  thread->m_bAutoDelete = FALSE;
  m_thread = thread;
  ResumeThread(thread);
}

UINT CITabCriar::FillProc(LPVOID param) {
  auto* page = static_cast<CITabCriar*>(param);
  const bool filled = page->Fill();
  // The page's window outlives the worker: the owner waits for this message.
  ::PostMessageW(page->m_hWnd, WM_FILL_DONE, filled ? 1 : 0, 0);
  return 0;
}

bool CITabCriar::Fill() {
  if (m_loaded) return false;
  bool idle = false;
  if (!g_fillRunning.compare_exchange_strong(idle, true)) {
    // Another page fills: this one stays as it was, empty and usable.
    EnableWindow(TRUE);
    return false;
  }
  bool filled = false;
  EnableWindow(FALSE);
  try {
    zr::SelectionCatalogue& fontes = m_owner->Sources();
    if (!m_images.GetSafeHandle()) m_images.Create(IDB_ARVORE_CATALOGO, 16, 0, RGB(255, 0, 255));
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    zr::CESimbolo todos;
    todos.m_key = zr::kNormaTodas;
    todos.m_nome = u"Todos";
    std::unique_ptr<zr::CELstSimbolos> simbolos = fontes.SimbolosNivel(todos, u"0");
    if (!simbolos) simbolos = std::make_unique<zr::CELstSimbolos>();
    if (!m_cancel) {
      std::unique_ptr<zr::CELstItens> itens = fontes.ItensNivel(*simbolos, todos, u"0");
      if (!m_cancel) {
        m_tree.Load(std::move(itens));
        filled = true;
      }
    }
  } catch (...) {
    // The database layer has shown what failed; the next switch to the tab
    // tries again.
  }
  if (filled) m_loaded = true;
  // Enabled also after a failure, so that the tab's buttons still answer.
  EnableWindow(TRUE);
  g_fillRunning = false;
  return filled;
}

LRESULT CITabCriar::OnFillDone(WPARAM, LPARAM) {
  if (m_thread) {
    m_thread->Join();
    delete m_thread;
    m_thread = nullptr;
  }
  m_owner->FillEnded();
  return 0;
}

zr::CEPasta* CITabCriar::Selecionado() const {
  HTREEITEM item = m_tree.GetSelectedItem();
  if (!item || m_tree.IsPlaceholder(item)) return nullptr;
  return m_tree.GetNode(item);
}

void CITabCriar::OnTreeExpanded(NMHDR* hdr, LRESULT* result) {
  *result = 0;
  m_tree.OnItemExpanded(reinterpret_cast<NMTREEVIEW*>(hdr)->itemNew.hItem);
}

void CITabCriar::OnTreeSelChanged(NMHDR*, LRESULT* result) {
  *result = 0;
  zr::SelectionCatalogue& fontes = m_owner->Sources();
  zr::CEPasta* record = Selecionado();
  m_codigo = record ? record->m_key : CString();
  const CString anterior = m_proposta;
  m_proposta.Empty();
  const CString tag = fontes.KeyTag(m_codigo, fontes.Norma());
  m_proposta = fontes.ProximoNome(tag);
  if (m_proposta != anterior) {
    CString texto;
    m_combo.GetWindowText(texto);
    m_combo.DeleteString(1);
    m_combo.DeleteString(0);
    m_combo.InsertString(0, texto, u"");
    m_combo.InsertString(1, m_proposta, m_textoProposta);
  }
  OnNomeEditado();
  PreencherPinos();
}

void CITabCriar::OnNomeEditado() {
  CString texto;
  m_combo.GetWindowText(texto);
  // The proposal counts as still chosen only while the field shows it: a
  // name typed over it is the user's own.
  bool propostaEscolhida = false;
  if (m_combo.GetCurSel() == 1) {
    CString item;
    m_combo.GetLBText(1, item);
    propostaEscolhida = item == texto;
  }
  m_nome = texto;
  Validar();
  RefazerLista(texto);
  if (propostaEscolhida && m_combo.GetCount() == 2 && !m_proposta.IsEmpty()) m_combo.SelectAndNotify(1);
}

void CITabCriar::RefazerLista(const CString& texto) {
  const CString& proposta = m_proposta;
  if (m_combo.GetCount() > 0) {
    if (texto.IsEmpty()) return;
    m_combo.DeleteString(1);
    m_combo.DeleteString(0);
    m_combo.InsertString(0, texto, u"");
    if (!proposta.IsEmpty()) m_combo.InsertString(1, proposta, m_textoProposta);
  } else if (!proposta.IsEmpty()) {
    if (!texto.IsEmpty() && texto != proposta) m_combo.InsertString(0, texto, u"");
    m_combo.InsertString(-1, proposta, m_textoProposta);
  }
  // Rebuilding the list leaves the typed text as it was.
  CString agora;
  m_combo.GetWindowText(agora);
  if (agora != texto) m_combo.SetWindowText(texto);
}

void CITabCriar::OnNomeEscolhido() {
  const int sel = m_combo.GetCurSel();
  if (sel >= 0) m_combo.GetLBText(sel, m_nome);
  Validar();
}

// The list drops after this notice: the tip moves below it then.
void CITabCriar::OnNomeAberto() { m_tooltip.ShowAgainSoon(); }

void CITabCriar::OnNomeFechado() { m_tooltip.ShowAgain(); }

void CITabCriar::Validar() {
  CString nome = m_nome;
  nome.Trim();
  bool emUso = false;
  for (const auto& record : m_owner->Connectors())
    if (!nome.IsEmpty() && nome.CompareNoCase(record->GetNome().c_str()) == 0) emUso = true;
  if (emUso) {
    CRect combo;
    m_combo.GetWindowRect(&combo);
    m_tooltip.Show(m_textoTooltip, POINT{combo.left, combo.top});
    m_ok.EnableWindow(FALSE);
    return;
  }
  m_tooltip.Hide();
  zr::CEPasta* record = Selecionado();
  m_ok.EnableWindow(!nome.IsEmpty() && record && record->m_folha == 1);
}

void CITabCriar::PreencherPinos() {
  zr::SelectionCatalogue& fontes = m_owner->Sources();
  zr::CEPasta* record = Selecionado();
  std::unique_ptr<CStringList> chaves;
  if (record && record->m_folha == 1) chaves = fontes.PinosConector(record->m_key);
  if (!chaves || chaves->IsEmpty()) {
    m_pinos.EnableWindow(FALSE);
    return;
  }
  m_pinos.ResetContent();
  m_ids.clear();
  const CStringList& aceitos = m_owner->AcceptedPins();
  for (POSITION pos = chaves->GetHeadPosition(); pos;) {
    const CString& chave = chaves->GetNext(pos);
    if (!aceitos.Find(fontes.NomePino(chave))) continue;
    m_ids.push_back(fontes.IdPino(chave));
    const int at = m_pinos.AddString(m_ids.back());
    m_pinos.SetItemData(at, m_ids.size() - 1);
  }
  m_pinos.SetCurSel(0);
  m_pino = m_pinos.GetCount() > 0 ? m_ids[m_pinos.GetItemData(0)] : CString();
  m_pinos.EnableWindow(TRUE);
}

void CITabCriar::OnPinoEscolhido() {
  const int sel = m_pinos.GetCurSel();
  if (sel >= 0) m_pino = m_ids[m_pinos.GetItemData(sel)];
}

void CITabCriar::OnOK() {
  m_automatico = !m_proposta.IsEmpty() && m_proposta == m_nome;
  m_owner->End(IDOK);
}

void CITabCriar::OnCancel() { m_owner->End(IDCANCEL); }

void CITabCriar::OnSize(UINT, int cx, int cy) {
  if (!m_tree.m_hWnd) return;
  const int dx = cx - m_size.cx, dy = cy - m_size.cy;
  m_size = CSize(cx, cy);
  GrowControl(this, m_combo, dx, 0);
  GrowControl(this, m_tree, dx, dy);
  MoveControl(this, m_ok, dx, dy);
  MoveControl(this, m_cancelar, dx, dy);
}
