#include "controls/CITreeConectores.h"

#include <algorithm>
#include <deque>
#include <set>

namespace {

// 1 when no folder load runs; shared by every tree of the process.
int g_reentrancy = 1;

constexpr int kImagemPlaceholder = 4;

}  // namespace

CITreeConectores::CITreeConectores(zr::MenuCatalogue& catalogue, const CString& placeholder)
    : m_catalogue(catalogue), m_textoCarregando(placeholder) {}

CITreeConectores::~CITreeConectores() = default;

int CITreeConectores::ReentrancyFlag() { return g_reentrancy; }

bool CITreeConectores::IsConector(const CString& dwg) {
  CString upper = dwg;
  upper.MakeUpper();
  return upper.Left(4) == u"CON-";
}

bool CITreeConectores::PassaFiltroPinos(const CString& key, const CStringList* filtro) {
  if (m_candidatos && !m_candidatos->Find(key)) return false;
  if (!filtro) return true;
  std::unique_ptr<CStringList> pinos = m_catalogue.PinosConector(key);
  if (!pinos) return false;
  for (POSITION pos = pinos->GetHeadPosition(); pos;) {
    const CString& pino = pinos->GetNext(pos);
    if (filtro->Find(m_catalogue.NomePino(pino))) return true;
  }
  return false;
}

bool CITreeConectores::IsPlaceholder(HTREEITEM item) const {
  if (!item) return false;
  auto* data = reinterpret_cast<Placeholder*>(GetItemData(item));
  return std::any_of(m_placeholders.begin(), m_placeholders.end(),
                     [&](const std::unique_ptr<Placeholder>& p) { return p.get() == data; });
}

CString CITreeConectores::BuildLevel(const zr::CELstItens& list, const CString& nivel, zr::CEPasta* parent) {
  for (zr::CEPasta* record : list.DoNivel(nivel)) {
    if (record->m_folha == 1) {
      auto* simbolo = dynamic_cast<zr::CESimbolo*>(record);
      zr::CESimboloVisual* rep = simbolo ? simbolo->GetRep(zr::kNormaTodas) : nullptr;
      const CString dwg = rep ? rep->m_dwg : CString();
      if (!IsConector(dwg) || !PassaFiltroPinos(record->m_key, m_filtro)) continue;
    }
    InsertNode(parent, record);
    if (record->m_folha == 0) {
      auto placeholder = std::make_unique<Placeholder>();
      placeholder->key = record->m_key;
      placeholder->nivel = record->m_nivel;
      placeholder->pasta = record;
      HTREEITEM item = InsertItem(m_textoCarregando, kImagemPlaceholder, kImagemPlaceholder, record->m_item);
      SetItemData(item, reinterpret_cast<DWORD_PTR>(placeholder.get()));
      m_placeholders.push_back(std::move(placeholder));
    }
  }
  return nivel;
}

void CITreeConectores::OnItemExpanded(HTREEITEM item) {
  HTREEITEM first = item ? GetChildItem(item) : nullptr;
  if (!first || g_reentrancy == 0) return;
  g_reentrancy = 0;
  if (!IsPlaceholder(first)) {
    g_reentrancy = 1;
    return;
  }
  auto* placeholder = reinterpret_cast<Placeholder*>(GetItemData(first));
  if (placeholder->carregado) {
    g_reentrancy = 1;
    return;
  }
  CWnd* parent = GetParent();
  // Disabling the page moves the focus off it; the control that had it (the
  // tree, when a person opened the folder) has it back afterwards.
  const HWND focus = ::GetFocus();
  if (parent) parent->EnableWindow(FALSE);
  try {
    LoadFolder(first, *placeholder);
  } catch (...) {
    // The database layer has told the user; the folder stays as loaded so far.
  }
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  if (parent) parent->EnableWindow(TRUE);
  if (focus && ::IsWindow(focus) && ::IsWindowEnabled(focus) && ::GetFocus() != focus) ::SetFocus(focus);
  // Nothing keeps the mouse once the load has ended: a capture taken by the
  // press that opened the folder would hold every later click.
  const HWND capture = ::GetCapture();
  if (capture && (capture == m_hWnd || ::IsChild(m_hWnd, capture))) ::ReleaseCapture();
  g_reentrancy = 1;
}

void CITreeConectores::LoadFolder(HTREEITEM placeholderItem, Placeholder& placeholder) {
  placeholder.carregado = 1;
  zr::CEPasta* pasta = placeholder.pasta;
  const CString key = placeholder.key;
  // The placeholder's record stays in m_placeholders, so the reference above
  // outlives the item.
  DeleteItem(placeholderItem);
  zr::CESimbolo todos;
  todos.m_key = zr::kNormaTodas;
  todos.m_nome = u"Todos";
  std::unique_ptr<zr::CELstSimbolos> simbolos = m_catalogue.SimbolosNivel(todos, key);
  if (!simbolos) simbolos = std::make_unique<zr::CELstSimbolos>();
  std::unique_ptr<zr::CELstItens> nivel = m_catalogue.ItensNivel(*simbolos, todos, key);
  if (!m_itens) m_itens = std::make_unique<zr::CELstItens>();
  if (nivel)
    for (const auto& record : nivel->Itens()) m_itens->Add(record);
  BuildLevel(*m_itens, key, pasta);
}

bool CITreeConectores::Load(std::unique_ptr<zr::CELstItens> list) {
  if (!list) return false;
  DeleteAll();
  m_placeholders.clear();
  m_itens = std::move(list);
  BuildLevel(*m_itens, u"0", nullptr);
  if (m_candidatos && m_candidatos->GetCount() == 1) Preselect();
  return true;
}

void CITreeConectores::Preselect() {
  // The keys from the top down to the candidate: MENU_NIVEL read upwards
  // until "0" (or nothing) is read; a key met twice ends the walk as well.
  std::deque<CString> path{m_candidatos->GetHead()};
  std::set<CString> seen{path.front()};
  for (;;) {
    CString nivel = m_catalogue.NivelMenu(path.front());
    path.push_front(nivel);
    if (nivel.IsEmpty() || nivel == u"0" || !seen.insert(nivel).second) break;
  }
  HTREEITEM current = GetRootItem();
  for (size_t i = 1; i < path.size(); ++i) {
    HTREEITEM match = nullptr;
    for (HTREEITEM it = current; it; it = GetNextSiblingItem(it)) {
      if (IsPlaceholder(it)) continue;
      zr::CEPasta* record = GetNode(it);
      if (record && record->m_key == path[i]) {
        match = it;
        break;
      }
    }
    if (!match) {
      current = nullptr;
      continue;
    }
    if (i + 1 == path.size()) {
      SelectItem(match);
      return;
    }
    Expand(match, TVE_EXPAND);
    current = GetChildItem(match);
  }
}
