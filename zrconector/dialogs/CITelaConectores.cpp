#include "dialogs/CITelaConectores.h"

#include "zrfx/FxDocumentManager.h"
#include "zrdwg/OdDbBlockReference.h"
#include "dialogs/Resource.h"
#include "drawing/CICad.h"
#include "drawing/CIPinos.h"

using namespace ListView;

namespace {

// Lights of the image list.
enum { kVerde = 0, kAmarelo = 1, kVermelho = 2, kCinza = 3 };

CString Cs(const OdString& s) { return CString(s.c_str()); }
OdString Od(const CString& s) { return OdString(s.GetString()); }

CString Aparado(CString s) {
  s.Trim();
  return s;
}

std::unique_ptr<CStringList> Lista(std::initializer_list<CString> textos) {
  auto l = std::make_unique<CStringList>(10);
  for (const CString& t : textos) l->AddTail(t);
  return l;
}

}  // namespace

BEGIN_MESSAGE_MAP(CITelaConectores, CDialog)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_LST_CONECTORES, &CITelaConectores::OnConectorChanged)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_LST_PINOS, &CITelaConectores::OnPinoChanged)
  ON_NOTIFY(LVN_ITEMCHANGING, IDC_LST_RESUMO, &CITelaConectores::OnResumoChanging)
  ON_NOTIFY(NM_SETFOCUS, IDC_LST_CONECTORES, &CITelaConectores::OnConectorFocus)
  ON_NOTIFY(NM_SETFOCUS, IDC_LST_PINOS, &CITelaConectores::OnPinoFocus)
  ON_BN_CLICKED(IDC_BT_APLICAR, &CITelaConectores::OnAplicar)
  // The grid's codes exist once its messages are registered: read at dispatch.
  ON_REGISTERED_CONTROL(WM_LIST_PROPRIEDADE_ENDEDIT, IDC_LST_PROPRIEDADES, &CITelaConectores::OnFimEdicao)
  ON_REGISTERED_CONTROL(WM_LIST_PROPRIEDADE_BEGINEDIT, IDC_LST_PROPRIEDADES, &CITelaConectores::OnInicioEdicao)
  ON_WM_CLOSE()
END_MESSAGE_MAP()

CITelaConectores::CITelaConectores(CWnd* owner, zr::ScreenCatalogue* catalogue)
    : CDialog(IDD_TELA_CONECTORES, owner) {
  if (!catalogue) {
    m_catalogoProprio = zr::NewDatabaseScreenCatalogue();
    catalogue = m_catalogoProprio.get();
  }
  m_catalogo = catalogue;
}

CITelaConectores::~CITelaConectores() {
  // The window goes while the controls and records it shows are still here.
  if (m_hWnd) DestroyWindow();
}

BOOL CITelaConectores::OnInitDialog() {
  CDialog::OnInitDialog();
  m_lstConectores.SubclassDlgItem(IDC_LST_CONECTORES, this);
  m_lstPinos.SubclassDlgItem(IDC_LST_PINOS, this);
  m_lstResumo.SubclassDlgItem(IDC_LST_RESUMO, this);
  m_grade.SubclassDlgItem(IDC_LST_PROPRIEDADES, this);
  m_imgEstado.SubclassDlgItem(IDC_IMG_ESTADO, this);
  m_btAplicar.SubclassDlgItem(IDC_BT_APLICAR, this);

  // 1. Captions.
  SetWindowText(Texto(1));
  SetDlgItemText(IDC_LBL_CONECTORES, Texto(2));
  SetDlgItemText(IDC_LBL_PINOS, Texto(3));
  m_tituloPropriedades = Texto(4);
  SetDlgItemText(IDC_GRP_PROPRIEDADES, m_tituloPropriedades);
  SetDlgItemText(IDC_GRP_RESUMO, Texto(6));
  SetDlgItemText(IDC_LBL_ESTADO, u"");
  SetDlgItemText(IDCANCEL, Texto(7));
  SetDlgItemText(IDC_BT_SEM_ACAO, Texto(8));
  SetDlgItemText(IDC_BT_APLICAR, Texto(9));
  m_textoNomeUsado = Texto(30);
  m_tooltip.Create(this);

  // 2. Lights.
  m_luzes.Create(IDB_LUZES_ESTADO, 16, 0, RGB(255, 0, 255));
  m_lstConectores.SetImageList(&m_luzes, LVSIL_SMALL);
  m_lstPinos.SetImageList(&m_luzes, LVSIL_SMALL);

  // 3. Columns.
  m_lstResumo.InsertColumn(0, u"", LVCFMT_LEFT, 200);
  m_lstResumo.InsertColumn(1, u"", LVCFMT_LEFT, 100);
  m_lstConectores.InsertColumn(0, u"", LVCFMT_LEFT, 85);
  m_lstPinos.InsertColumn(0, u"", LVCFMT_LEFT, 85);
  m_grade.AddColumn(u"", 150);
  m_grade.AddColumn(u"", 150);
  m_alturaLinha.Create(1, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
  m_grade.SetImageList(&m_alturaLinha, LVSIL_SMALL);
  for (CListCtrl* l : {static_cast<CListCtrl*>(&m_grade), &m_lstResumo, &m_lstConectores, &m_lstPinos})
    l->SetExtendedStyle(l->GetExtendedStyle() | LVS_EX_FULLROWSELECT);

  // 4. Records.
  RefazRegistros();
  m_pinosAlterados.clear();
  return TRUE;
}

void CITelaConectores::RefazRegistros() {
  m_pino = nullptr;
  m_conector = nullptr;
  m_conectores.clear();
  CIPinos(&m_catalogo->Pinos()).VerificarPinos(m_conectores);
  PreencheConectores();
  PreencheResumo();
}

void CITelaConectores::PreencheConectores() {
  m_lstConectores.DeleteAllItems();
  int i = 0;
  for (const auto& c : m_conectores) {
    int at = m_lstConectores.InsertItem(i, Cs(c->GetNome()), c->GetEstado() == zr::CONECTOR_OK ? kVerde : kVermelho);
    // The record's position: the list is refilled whenever the records are.
    m_lstConectores.SetItemData(at, static_cast<DWORD_PTR>(i));
    ++i;
  }
}

void CITelaConectores::PreenchePinos(zr::CEConectorPinos* conector) {
  m_lstPinos.DeleteAllItems();
  m_chavesPinos.clear();
  int i = 0;
  for (const auto& p : conector->GetPinos()) {
    int luz = p->status == zr::PINO_OK ? kVerde : p->status == zr::PINO_FALTANTE ? kCinza : kVermelho;
    int at = m_lstPinos.InsertItem(i++, Cs(p->identifier), luz);
    m_chavesPinos.push_back({p->handle, conector->GetNome(), conector->GetCodigo(), p->identifier});
    m_lstPinos.SetItemData(at, static_cast<DWORD_PTR>(m_chavesPinos.size() - 1));
  }
}

zr::CEConectorPinos* CITelaConectores::ConectorDoItem(int item) const {
  if (item < 0) return nullptr;
  const DWORD_PTR i = m_lstConectores.GetItemData(item);
  return i < m_conectores.size() ? m_conectores[i].get() : nullptr;
}

zr::CEPino* CITelaConectores::PinoDoItem(int item) const {
  if (item < 0) return nullptr;
  const DWORD_PTR i = m_lstPinos.GetItemData(item);
  if (i >= m_chavesPinos.size()) return nullptr;
  const ChavePino& chave = m_chavesPinos[i];
  for (const auto& c : m_conectores) {
    const bool mesmoConector = c->GetNome() == chave.dono && c->GetCodigo() == chave.codigo;
    for (const auto& p : c->GetPinos()) {
      // A symbol is found by its handle wherever it now belongs; a pin
      // without one only in its connector.
      if (!chave.handle.isEmpty() ? p->handle == chave.handle
                                  : mesmoConector && p->handle.isEmpty() && p->identifier == chave.identificador)
        return p.get();
    }
  }
  return nullptr;
}

void CITelaConectores::PreencheResumo() {
  m_lstResumo.DeleteAllItems();
  int pinos = 0, problemas = 0, faltantes = 0;
  for (const auto& c : m_conectores) {
    if (c->GetEstado() == zr::CONECTOR_PINO_DESCONHECIDO || c->GetEstado() == zr::CONECTOR_LIGACAO_INVALIDA)
      ++problemas;
    for (const auto& p : c->GetPinos()) {
      ++pinos;
      if (p->status == zr::PINO_DESCONHECIDO || p->status == zr::PINO_LIGACAO_INVALIDA) ++problemas;
      if (p->status == zr::PINO_FALTANTE) ++faltantes;
    }
  }
  const int contagens[4] = {static_cast<int>(m_conectores.size()), pinos, problemas, faltantes};
  for (int r = 0; r < 4; ++r) {
    m_lstResumo.InsertItem(r, Texto(18 + r));
    CString n;
    n.Format(u"%d", contagens[r]);
    m_lstResumo.SetItemText(r, 1, n);
  }
}

void CITelaConectores::Luz(int indice, int texto) {
  // The light is drawn onto a bitmap in the dialog's face colour.
  CClientDC tela(this);
  CDC dc;
  dc.CreateCompatibleDC(&tela);
  m_bmpEstado.DeleteObject();
  m_bmpEstado.CreateCompatibleBitmap(&tela, 16, 16);
  CBitmap* antes = dc.SelectObject(&m_bmpEstado);
  dc.FillSolidRect(0, 0, 16, 16, GetSysColor(COLOR_BTNFACE));
  m_luzes.Draw(&dc, indice, CPoint(0, 0), ILD_TRANSPARENT);
  dc.SelectObject(antes);
  m_imgEstado.SetBitmap(m_bmpEstado);
  SetDlgItemText(IDC_LBL_ESTADO, Texto(texto));
}

void CITelaConectores::LinhasCatalogo(const OdString& codigo, const CString& norma) {
  CString dwg = Aparado(m_catalogo->DwgComponente(Cs(codigo), norma));
  CString descricao = Aparado(m_catalogo->DescricaoMenu(Cs(codigo)));
  if (!dwg.IsEmpty()) {
    int r = m_grade.AddRow(u"ID_INT_BLOCO", Texto(42), 0, kTexto, 1, FALSE);
    m_grade.SetCell(r, 1, u"ID_INT_BLOCO", dwg, 0, kTexto, 1, FALSE);
  }
  if (!descricao.IsEmpty()) {
    int r = m_grade.AddRow(u"ID_INT_DESCR", Texto(43), 0, kTexto, 1, FALSE);
    m_grade.SetCell(r, 1, u"ID_INT_DESCR", descricao, 0, kTexto, 1, FALSE);
  }
}

void CITelaConectores::MostraConector(zr::CEConectorPinos* c) {
  PreenchePinos(c);
  SetDlgItemText(IDC_GRP_PROPRIEDADES, m_tituloPropriedades);
  m_grade.DeleteAllItems();
  m_nomeProposto.Empty();
  m_pino = nullptr;
  m_conector = c;
  CString norma = Cs(CICad().GetVariavel(OdString(u"*NORMA_UTILIZADA*"), OdString()));
  CString codigo = Cs(c->GetCodigo()), nome = Cs(c->GetNome());

  // The name row: its value offers the proposal beside the current name.
  int r = m_grade.AddRow(codigo, Texto(22), 100, kListaEditavel, 1, FALSE);
  if (c->GetFlag()) {
    m_grade.SetCell(r, 1, codigo, Lista({nome}).get(), 100, kListaEditavel, 1, TRUE, 0);
    m_grade.SetCellDescriptions(r, 1, Lista({Texto(44)}).get());
  } else {
    CString proposta = Cs(CICad().ProximaReferencia(Od(m_catalogo->KeyTag(codigo, norma))));
    if (!proposta.IsEmpty()) {
      m_nomeProposto = proposta;
      m_grade.SetCell(r, 1, codigo, Lista({proposta, nome}).get(), 100, kListaEditavel, 1, TRUE, 1);
      m_grade.SetCellDescriptions(r, 1, Lista({Texto(44), CString()}).get());
    } else {
      m_grade.SetCell(r, 1, codigo, Lista({nome}).get(), 100, kTexto, 1, TRUE, 0);
    }
  }
  LinhasCatalogo(c->GetCodigo(), norma);

  // The connectors its pins touch, each once.
  CString ligados;
  for (const auto& p : c->GetPinos()) {
    if (!p->mate || !p->mate->owner) continue;
    CString outro = Cs(p->mate->owner->GetNome());
    if (ligados.IsEmpty()) ligados = outro;
    else if (ligados.Find(outro) < 0) ligados += u", " + outro;
  }
  CString conexao;
  if (ligados.IsEmpty()) conexao = Texto(41);
  else conexao.Format(Texto(40), ligados);
  r = m_grade.AddRow(u"CONEXAO", Texto(39), 0, kTexto, 1, FALSE);
  m_grade.SetCell(r, 1, u"CONEXAO", conexao, 0, kTexto, 1, FALSE);

  switch (c->GetEstado()) {
    case zr::CONECTOR_OK: Luz(kVerde, 24); break;
    case zr::CONECTOR_PINO_DESCONHECIDO: Luz(kVermelho, 25); break;
    default: Luz(kVermelho, 32); break;
  }
  m_btAplicar.EnableWindow(FALSE);
}

void CITelaConectores::MostraPino(zr::CEPino* p) {
  SetDlgItemText(IDC_GRP_PROPRIEDADES, m_tituloPropriedades);
  m_grade.DeleteAllItems();
  CICad cad;
  OdString tagPino = cad.GetVariavel(OdString(u"*ZRATTPINO*"), OdString(u"ID_PINO"));
  m_nomeProposto.Empty();
  m_pino = p;
  m_conector = nullptr;
  CString id = Cs(p->identifier);

  if (p->status == zr::PINO_FALTANTE) {
    int r = m_grade.AddRow(id, Texto(23), 0, kTexto, 1, FALSE);
    m_grade.SetCell(r, 1, id, id, 0, kTexto, 1, FALSE);
    Luz(kCinza, 27);
    m_btAplicar.EnableWindow(TRUE);
    return;
  }
  OdDbObjectId simbolo = IdDoHandle(p->handle);
  CString norma = Cs(cad.GetVariavel(OdString(u"*NORMA_UTILIZADA*"), OdString()));
  LinhasCatalogo(p->pin, norma);

  zr::CEListaAtributos* atributos = nullptr;
  if (cad.GetAtributos(simbolo, atributos, true) == CICad::ATRIBUTOS_OK && atributos) {
    for (int i = 0; i < atributos->GetSize(); ++i) {
      zr::CEAtributo* a = atributos->GetAt(i);
      CString tag = Cs(a->GetTag());
      int r = m_grade.AddRow(tag, Cs(a->GetPrompt()), 0, kTexto, 1, FALSE);
      if (a->GetTag() == tagPino) {
        // The identifiers this pin may take: the unplaced ones and its own.
        auto ids = std::make_unique<CStringList>(10);
        int proprio = 0;
        for (const auto& outro : p->owner->GetPinos()) {
          if (outro->status != zr::PINO_FALTANTE && outro->identifier != p->identifier) continue;
          if (outro.get() == p) proprio = ids->GetCount();
          ids->AddTail(Cs(outro->identifier));
        }
        m_grade.SetCell(r, 1, tag, ids.get(), 100, kLista, 1, TRUE, proprio);
      } else {
        m_grade.SetCell(r, 1, tag, Cs(a->GetValor()), 100, kTexto, 1, TRUE);
      }
    }
    atributos->FreeRecords();
    delete atributos;
  }

  CString conexao;
  if (!p->mate) {
    conexao = Texto(41);
  } else {
    CString outro = (p->mate->owner ? Cs(p->mate->owner->GetNome()) : CString()) + u":" + Cs(p->mate->identifier);
    conexao.Format(Texto(40), outro);
  }
  int r = m_grade.AddRow(u"ID_INT_CONEXAO", Texto(39), 0, kTexto, 1, FALSE);
  m_grade.SetCell(r, 1, u"ID_INT_CONEXAO", conexao, 0, kTexto, 1, FALSE);

  int texto = p->status == zr::PINO_OK ? 26 : p->status == zr::PINO_DESCONHECIDO ? 28 : 31;
  Luz(p->status == zr::PINO_OK ? kVerde : kVermelho, texto);
  m_btAplicar.EnableWindow(TRUE);
}

void CITelaConectores::MostraNada() {
  SetDlgItemText(IDC_GRP_PROPRIEDADES, m_tituloPropriedades);
  m_grade.DeleteAllItems();
  m_nomeProposto.Empty();
  m_pino = nullptr;
  m_conector = nullptr;
  m_imgEstado.SetBitmap(nullptr);
  SetDlgItemText(IDC_LBL_ESTADO, u"");
  m_btAplicar.EnableWindow(FALSE);
}

OdDbObjectId CITelaConectores::IdDoHandle(const OdString& handle) const {
  OdDbDatabasePtr db = CICad::GetDatabase();
  if (db.isNull() || handle.isEmpty()) return OdDbObjectId();
  return db->getOdDbObjectId(OdDbHandle(handle));
}

// ---- selection ----

void CITelaConectores::MostraConectorDoItem(int item) {
  if (zr::CEConectorPinos* c = ConectorDoItem(item)) MostraConector(c);
  else MostraNada();
}

void CITelaConectores::MostraPinoDoItem(int item) {
  // A pin that the last apply removed shows nothing.
  if (zr::CEPino* p = PinoDoItem(item)) MostraPino(p);
  else MostraNada();
}

void CITelaConectores::OnConectorChanged(NMHDR* hdr, LRESULT*) {
  auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
  if (nm->iItem >= 0 && (nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED))
    MostraConectorDoItem(nm->iItem);
}

void CITelaConectores::OnPinoChanged(NMHDR* hdr, LRESULT*) {
  auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
  if (nm->iItem >= 0 && (nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED))
    MostraPinoDoItem(nm->iItem);
}

void CITelaConectores::OnResumoChanging(NMHDR*, LRESULT* result) { *result = TRUE; }

void CITelaConectores::OnConectorFocus(NMHDR*, LRESULT*) {
  int i = m_lstConectores.GetNextItem(-1, LVNI_SELECTED);
  if (i >= 0) MostraConectorDoItem(i);
}

void CITelaConectores::OnPinoFocus(NMHDR*, LRESULT*) {
  int i = m_lstPinos.GetNextItem(-1, LVNI_SELECTED);
  if (i >= 0) MostraPinoDoItem(i);
}

// ---- the name check ----

void CITelaConectores::OnInicioEdicao() { m_tooltip.Hide(); }

void CITelaConectores::OnFimEdicao() {
  if (!m_conector || m_grade.GetItemCount() == 0) return;
  // The name the user left in the cell: a text cell keeps it as its one
  // value, an editable list at its selected index.
  CString nome = m_grade.GetCellValue(0, 1, m_grade.GetCellIndex(0, 1));
  if (nome == Cs(m_conector->GetNome())) return;
  bool usado = false;
  for (const auto& c : m_conectores)
    if (c.get() != m_conector && Cs(c->GetNome()) == nome) usado = true;
  if (!usado) {
    m_btAplicar.EnableWindow(TRUE);
    return;
  }
  m_btAplicar.EnableWindow(FALSE);
  CRect g;
  m_grade.GetWindowRect(&g);
  m_tooltip.Show(m_textoNomeUsado, CPoint(g.left + m_grade.GetColumnWidth(0) + 25, g.top));
}

// ---- apply ----

void CITelaConectores::GravaNomeNosSimbolos(zr::CEConectorPinos* c) {
  for (const auto& p : c->GetPinos()) {
    OdDbObjectId id = IdDoHandle(p->handle);
    if (id.isNull()) continue;
    m_pinosAlterados.push_back(id);
    OdDbObjectPtr simbolo = id.openObject(OdDb::kForWrite);
    if (simbolo.isNull()) continue;  // erased meanwhile
    OdResBufPtr xd = simbolo->xData(OdString(u"ZR_PINO"));
    if (xd.isNull()) continue;
    int n = 0;
    for (OdResBuf* rb = xd.get(); rb; rb = rb->next().get(), ++n) {
      if (n == 1) rb->setString(c->GetNome());
      if (n == 3) rb->setString(c->GetFlagTexto());
    }
    simbolo->setXData(xd.get());
  }
}

void CITelaConectores::OnAplicar() {
  CICad cad;
  OdString tagPino = cad.GetVariavel(OdString(u"*ZRATTPINO*"), OdString(u"ID_PINO"));
  enum { kNada, kPino, kConector } mostrar = kNada;
  OdString dono, identificador, nome;

  auto textoDaCelula = [&](int r) { return m_grade.GetCellValue(r, 1, m_grade.GetCellIndex(r, 1)); };
  if (m_pino && m_pino->status != zr::PINO_FALTANTE) {
    OdDbObjectId simbolo = IdDoHandle(m_pino->handle);
    m_pinosAlterados.push_back(simbolo);
    identificador = m_pino->identifier;
    zr::CEListaAtributos* atributos = nullptr;
    if (cad.GetAtributos(simbolo, atributos, true) == CICad::ATRIBUTOS_OK && atributos) {
      for (int r = 0; r < m_grade.GetItemCount(); ++r) {
        OdString chave = Od(m_grade.GetCellKey(r, 1));
        zr::CEAtributo* a = atributos->Find(chave);
        if (!a) continue;
        OdString texto = Od(textoDaCelula(r));
        if (texto == a->GetValor()) continue;
        a->SetValor(texto);
        cad.SetAtributo(simbolo, a->GetTag(), texto);
        if (chave == tagPino) identificador = texto;
      }
      atributos->FreeRecords();
      delete atributos;
    }
    dono = m_pino->owner->GetNome();
    mostrar = kPino;
  } else if (m_conector) {
    nome = m_conector->GetNome();
    for (int r = 0; r < m_grade.GetItemCount(); ++r) {
      if (m_grade.GetCellKey(r, 1) != Cs(m_conector->GetCodigo())) continue;
      OdString texto = Od(textoDaCelula(r));
      if (texto == m_conector->GetNome()) continue;
      m_conector->SetNome(texto);
      m_conector->SetFlag(!m_nomeProposto.IsEmpty() && Cs(texto) == m_nomeProposto);
      GravaNomeNosSimbolos(m_conector);
      nome = texto;
    }
    mostrar = kConector;
  }

  // The pin list keeps its items: each looks its pin up in the new records.
  RefazRegistros();
  m_grade.DeleteAllItems();

  for (const auto& c : m_conectores) {
    if (mostrar == kPino && c->GetNome() == dono) {
      PreenchePinos(c.get());
      zr::CEPino* p = nullptr;
      if (c->FindPino(identificador, p)) MostraPino(p);
      break;
    }
    if (mostrar == kConector && c->GetNome() == nome) {
      MostraConector(c.get());
      break;
    }
  }
}

// ---- closing ----

void CITelaConectores::OnClose() {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  if (!m_pinosAlterados.empty() && doc) {
    CFxFunctionInterface* fx = doc->GetFunctionInterface();
    resbuf* chamada = fxNewNode(RTSTR);
    chamada->resval.rstring = fxNewString(OdString(u"atualizarMacros"));
    resbuf* fim = chamada;
    for (const OdDbObjectId& id : m_pinosAlterados) {
      fim->rbnext = fxNewNode(RTENAME);
      fim = fim->rbnext;
      CFxAPI::GetADSName(id, fim->resval.rlname);
    }
    resbuf* resposta = nullptr;
    fx->InvokeFunction(chamada, &resposta);
    fx->ReleaseChain(chamada);
    fx->ReleaseChain(resposta);
  }
  CDialog::OnClose();
}
