// CIListViewPropriedadeItem: the property record of one cell of the grid
// (CIListViewEdit). Owned by its row (CELstPropriedadeSubItem).
#pragma once

#include <cstdint>

#include <zrui/afx.h>
#include <zrui/afx/coll.h>

namespace ListView {

// Kinds of cells: which editor a click opens.
enum TipoCelula : int32_t {
  kLista = 0,           // list of values, chosen from a drop-down list
  kTexto = 1,           // free text
  kSemEditor = 2,       // editable but without an editor
  kArquivo = 3,         // drawing file: text and a "..." button
  kListaEditavel = 4,   // list of values with descriptions, text may be typed
  kCor = 5,             // colour index: text and a "..." button
};

class CIListViewPropriedadeItem {
 public:
  CIListViewPropriedadeItem() = default;
  CIListViewPropriedadeItem(const CIListViewPropriedadeItem&) = delete;
  CIListViewPropriedadeItem& operator=(const CIListViewPropriedadeItem&) = delete;

  // Value n of the list; the empty text when n is negative or beyond it.
  CString Value(int n) const;
  // Replaces the values by a copy of `valores` (null: no values).
  void CopyValues(const CStringList* valores);
  void AppendValues(const CStringList* valores);
  void CopyDescriptions(const CStringList* descricoes);

  CString m_chave;             // name the owner gives the cell (column 0: the row's key)
  CStringList m_valores;       // the shown text is m_valores[m_indice]; a text cell has one
  CStringList m_descricoes;    // shown beside each value by the editable-list editor
  int32_t m_indice = 0;        // selected index
  int32_t m_tipo = kLista;     // TipoCelula
  bool m_editavel = false;
  int32_t m_filtro = 0;        // 0: text cells take only digits, ".", "-", "," and Enter
  int32_t m_tamanhoMax = 0;    // maximum length typed into text and file cells
};

}  // namespace ListView
