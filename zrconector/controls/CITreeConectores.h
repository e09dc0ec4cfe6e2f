#pragma once
// CITreeConectores: the catalogue tree of the selection dialog's creation
// tab. It shows the catalogue's menu hierarchy (BDMENUS) as folders and,
// inside them, the connector components (BDZR) that have a pin the dialog is
// looking for. A folder is loaded on its first expansion: until then it has
// one placeholder child. With exactly one candidate connector the tree opens
// the folders down to it and selects it.
//
// Image indexes refer to the owner's image list: 0 folder, 3 component
// (CITreeCtrl's leaf image), 4 placeholder.
//
// Threads: the owner may run Load on a worker thread while the tree's window
// belongs to the user-interface thread (every window operation is then a
// cross-thread send); expansions run on the user-interface thread. The
// re-entrancy flag is process-wide and admits one folder load at a time.

#include <memory>
#include <vector>

#include "catalog/MenuCatalogue.h"
#include "controls/CITreeCtrl.h"

class CITreeConectores : public CITreeCtrl {
 public:
  // catalogue must outlive the tree; placeholder is the text of the
  // placeholder child (text 13 of the module's texts, read by the owner).
  CITreeConectores(zr::MenuCatalogue& catalogue, const CString& placeholder);
  ~CITreeConectores() override;

  // Fills the tree from the top level of list (which the tree keeps as its
  // list of every record loaded) and applies the preselection. False, doing
  // nothing, when list is null.
  bool Load(std::unique_ptr<zr::CELstItens> list);
  // Inserts the records of list whose level is nivel below parent (at the
  // top when null): folders with their placeholder child, components only
  // when they pass the connector test and the pin filter. Returns nivel.
  CString BuildLevel(const zr::CELstItens& list, const CString& nivel, zr::CEPasta* parent);
  // Loads a folder's children on its first expansion; nothing for a folder
  // already loaded or while another load runs. A read that fails ends the
  // load with the folder empty (the database layer has shown its box).
  void OnItemExpanded(HTREEITEM item);

  // True when the drawing name, in upper case, starts with "CON-".
  static bool IsConector(const CString& dwg);
  // True when key is a candidate (or there is no candidate list) and one of
  // its pins has a code of filtro. Without a filter list every component
  // passes.
  bool PassaFiltroPinos(const CString& key, const CStringList* filtro);

  // Set by the owner; not owned. filtro: PINO_PINO codes of the pins looked
  // for; candidatos: connector keys, may be null.
  void SetFiltroPinos(const CStringList* filtro) { m_filtro = filtro; }
  void SetCandidatos(const CStringList* candidatos) { m_candidatos = candidatos; }

  const CString& GetTextoCarregando() const { return m_textoCarregando; }
  // The list of every record loaded so far (null before Load).
  const zr::CELstItens* GetItens() const { return m_itens.get(); }
  // True when item is a placeholder child.
  bool IsPlaceholder(HTREEITEM item) const;

  // The process-wide re-entrancy flag (1 when no folder load runs).
  static int ReentrancyFlag();

 private:
  // Item data of a folder's placeholder child.
  struct Placeholder {
    CString key;
    CString nivel;
    zr::CEPasta* pasta = nullptr;
    int carregado = 0;
  };

  void LoadFolder(HTREEITEM placeholderItem, Placeholder& placeholder);
  void Preselect();

  zr::MenuCatalogue& m_catalogue;
  CString m_textoCarregando;
  std::unique_ptr<zr::CELstItens> m_itens;
  const CStringList* m_filtro = nullptr;
  const CStringList* m_candidatos = nullptr;
  std::vector<std::unique_ptr<Placeholder>> m_placeholders;
};
