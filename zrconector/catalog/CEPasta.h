#pragma once
// The records of the catalogue tree (CITreeConectores): one CEPasta per
// BDMENUS row, a folder or (as CESimbolo) a component, and CELstItens, the
// ordered list that holds the records of a load.
//
// Ownership: a CELstItens shares ownership of its records, so that the
// records of one level can be handed from the catalogue's menu loader to the
// tree's list of everything loaded, and the components of a level can sit
// both in the loader's component map and in the tree. Children and parent
// links are plain pointers: the tree's list keeps every record alive for the
// life of the tree.

#include <memory>
#include <vector>

#include "zrui/afx/cstring.h"
#include "zrui/commctrl.h"

namespace zr {

class CEPasta {
 public:
  virtual ~CEPasta() = default;

  CString m_nome;               // MENU_DESCR: the text shown in the tree
  CString m_key;                // MENU_KEY (for a component: ZR_KEY)
  CString m_nivel;              // MENU_NIVEL: key of the parent menu row, "0" at the top
  CEPasta* m_pai = nullptr;     // the record this one was inserted below; none at the top
  int m_folha = 0;              // 1 for a component, 0 for a folder
  std::vector<CEPasta*> m_filhos;  // the records inserted below this one, in order
  HTREEITEM m_item = nullptr;   // the tree item that shows the record
};

class CELstItens {
 public:
  void Add(std::shared_ptr<CEPasta> record) { m_items.push_back(std::move(record)); }
  // The records whose level equals key (exact comparison), in list order.
  std::vector<CEPasta*> DoNivel(const CString& key) const {
    std::vector<CEPasta*> out;
    for (const auto& record : m_items)
      if (record->m_nivel == key) out.push_back(record.get());
    return out;
  }

  bool IsEmpty() const { return m_items.empty(); }
  int GetCount() const { return static_cast<int>(m_items.size()); }
  const std::vector<std::shared_ptr<CEPasta>>& Itens() const { return m_items; }

 private:
  std::vector<std::shared_ptr<CEPasta>> m_items;
};

}  // namespace zr
