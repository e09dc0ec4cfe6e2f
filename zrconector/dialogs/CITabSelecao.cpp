#include "dialogs/CITabSelecao.h"

#include <string>
#include <unordered_map>

#include "dialogs/Resource.h"
#include "dialogs/SelectionOwner.h"

BEGIN_MESSAGE_MAP(CITabSelecao, CDialog)
  ON_NOTIFY(TVN_SELCHANGED, IDC_SEL_ARVORE, &CITabSelecao::OnSelChanged)
  ON_BN_CLICKED(IDC_SEL_OK, &CITabSelecao::OnOK)
  ON_BN_CLICKED(IDC_SEL_CANCELAR, &CITabSelecao::OnCancel)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CITabSelecao::CITabSelecao(SelectionOwner* owner) : m_owner(owner) {}

CITabSelecao::~CITabSelecao() = default;

BOOL CITabSelecao::CreatePage() { return Create(IDD_TAB_SELECAO, m_owner->Window()); }

BOOL CITabSelecao::OnInitDialog() {
  CDialog::OnInitDialog();
  m_tree.SubclassDlgItem(IDC_SEL_ARVORE, this);
  m_ok.SubclassDlgItem(IDC_SEL_OK, this);
  m_cancel.SubclassDlgItem(IDC_SEL_CANCELAR, this);
  zr::SelectionCatalogue& fontes = m_owner->Sources();
  m_ok.SetWindowText(fontes.Texto(16));
  m_cancel.SetWindowText(fontes.Texto(17));
  m_images.Create(IDB_ARVORE_SELECAO, 16, 0, RGB(255, 0, 255));
  m_tree.SetImageList(&m_images, TVSIL_NORMAL);
  m_tree.SetImageList(&m_images, TVSIL_STATE);
  CRect rc;
  GetClientRect(&rc);
  m_size = rc.Size();
  EnableWindow(FALSE);
  Preencher();
  EnableWindow(TRUE);
  return TRUE;
}

void CITabSelecao::Preencher() {
  zr::SelectionCatalogue& fontes = m_owner->Sources();
  const CStringList& aceitos = m_owner->AcceptedPins();
  const CStringList* contraPecas = m_owner->MatingCodes();
  // Records of one name share their root item: the first root of that text.
  // The roots by text, kept beside the tree, so that each record costs one
  // look-up, not a walk of every root (a drawing has thousands).
  std::unordered_map<std::u16string, HTREEITEM> raizes;
  for (HTREEITEM it = m_tree.GetRootItem(); it; it = m_tree.GetNextSiblingItem(it))
    raizes.emplace(m_tree.GetItemText(it).str(), it);
  for (const auto& record : m_owner->Connectors()) {
    const CString nome(record->GetNome().c_str());
    const CString codigo(record->GetCodigo().c_str());
    auto achada = raizes.find(nome.str());
    HTREEITEM raiz = achada == raizes.end() ? nullptr : achada->second;
    if (contraPecas && !contraPecas->Find(codigo)) continue;
    std::unique_ptr<CStringList> chaves = fontes.PinosConector(codigo);
    for (POSITION pos = chaves ? chaves->GetHeadPosition() : nullptr; pos;) {
      const CString& chave = chaves->GetNext(pos);
      const CString id = fontes.IdPino(chave);
      zr::CEPino* pino = nullptr;
      if (!record->FindPino(OdString(static_cast<LPCTSTR>(id)), pino) || pino->status != zr::PINO_FALTANTE) continue;
      if (!aceitos.Find(fontes.NomePino(chave))) continue;
      if (!raiz) {
        raiz = m_tree.InsertItem(nome, 0, 0, TVI_ROOT, TVI_LAST);
        raizes.emplace(nome.str(), raiz);
        m_codigos.push_back(std::make_unique<CString>(codigo));
        m_tree.SetItemData(raiz, reinterpret_cast<DWORD_PTR>(m_codigos.back().get()));
      }
      m_tree.InsertItem(id, 1, 1, raiz, TVI_LAST);
    }
  }
  // The missing pins show at once: every connector opens.
  for (HTREEITEM it = m_tree.GetRootItem(); it; it = m_tree.GetNextSiblingItem(it)) m_tree.Expand(it, TVE_EXPAND);
}

void CITabSelecao::OnSelChanged(NMHDR* hdr, LRESULT* result) {
  *result = 0;
  HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(hdr)->itemNew.hItem;
  HTREEITEM pai = item ? m_tree.GetParentItem(item) : nullptr;
  m_ok.EnableWindow(pai != nullptr);
  m_nome = pai ? m_tree.GetItemText(pai) : CString();
  m_pino = item ? m_tree.GetItemText(item) : CString();
  if (pai) {
    auto* codigo = reinterpret_cast<CString*>(m_tree.GetItemData(pai));
    m_codigo = codigo ? *codigo : CString();
  }
}

void CITabSelecao::OnOK() { m_owner->End(IDOK); }

void CITabSelecao::OnCancel() { m_owner->End(IDCANCEL); }

void CITabSelecao::OnSize(UINT, int cx, int cy) {
  if (!m_tree.m_hWnd) return;
  const int dx = cx - m_size.cx, dy = cy - m_size.cy;
  m_size = CSize(cx, cy);
  GrowControl(this, m_tree, dx, dy);
  MoveControl(this, m_ok, dx, dy);
  MoveControl(this, m_cancel, dx, dy);
}
