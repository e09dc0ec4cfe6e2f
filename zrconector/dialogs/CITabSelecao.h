#pragma once
// CITabSelecao: tab 0 of the selection dialog. A tree of the drawing's
// connector instances that still miss a pin the dialog looks for, each with
// those pins below it; choosing a pin enables OK.

#include <memory>
#include <vector>

#include "catalog/SelectionCatalogue.h"
#include "zrui/afx.h"

class SelectionOwner;

class CITabSelecao : public CDialog {
 public:
  // owner: the dialog whose records and lists are shown (it outlives the page).
  explicit CITabSelecao(SelectionOwner* owner);
  ~CITabSelecao() override;

  // Creates the page as a child of the owner (template 50112) and fills it.
  BOOL CreatePage();

  const CString& GetNome() const { return m_nome; }
  const CString& GetCodigo() const { return m_codigo; }
  const CString& GetPino() const { return m_pino; }

  CTreeCtrl m_tree;

  BOOL OnInitDialog() override;

 protected:
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnSelChanged(NMHDR* hdr, LRESULT* result);
  afx_msg void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  void Preencher();

  SelectionOwner* m_owner;
  CString m_nome, m_codigo, m_pino;
  CImageList m_images;
  CButton m_ok, m_cancel;
  std::vector<std::unique_ptr<CString>> m_codigos;  // item data of the root items
  CSize m_size;  // client size at the last size change (none before the first)
};
