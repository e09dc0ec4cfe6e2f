// CITelaConectores: the connectors screen. Shows every connector instance of
// the current drawing with its pins and state lights and a summary of counts,
// and edits, in a property grid, a connector's name and a placed pin's
// attributes and identifier. Edits reach the drawing on apply; closing
// through the window close command hands the changed pin symbols to the
// suite's script function "atualizarMacros". Cancel and Escape end without it.
//
// REQUIRES: the template and bitmap are registered
// (RegisterTelaConectoresResources) and so are the grid's messages; a current
// document. Run modally by its creator, who deletes it afterwards.
#pragma once

#include <memory>
#include <vector>

#include <zrui/afx.h>

#include "zrdwg/OdDbObjectId.h"
#include "catalog/ScreenCatalogue.h"
#include "controls/ListView/CIListViewEdit.h"
#include "drawing/CEPino.h"

class CITelaConectores : public CDialog {
 public:
  // catalogue: texts and catalogue reads (the process's database and texts
  // component when null); not owned, must outlive the dialog.
  explicit CITelaConectores(CWnd* owner = nullptr, zr::ScreenCatalogue* catalogue = nullptr);
  ~CITelaConectores() override;

  BOOL OnInitDialog() override;

  // What the screen holds, for its owner and tests.
  const zr::ConectoresPinos& GetConectores() const { return m_conectores; }
  const std::vector<OdDbObjectId>& GetPinosAlterados() const { return m_pinosAlterados; }
  const CString& GetNomeProposto() const { return m_nomeProposto; }

 protected:
  afx_msg void OnConectorChanged(NMHDR* hdr, LRESULT* result);
  afx_msg void OnPinoChanged(NMHDR* hdr, LRESULT* result);
  afx_msg void OnResumoChanging(NMHDR* hdr, LRESULT* result);
  afx_msg void OnConectorFocus(NMHDR* hdr, LRESULT* result);
  afx_msg void OnPinoFocus(NMHDR* hdr, LRESULT* result);
  afx_msg void OnAplicar();
  afx_msg void OnFimEdicao();
  afx_msg void OnInicioEdicao();
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

 private:
  // What an item of the pin list stands for: the pin's symbol by its handle,
  // or, for a pin without a symbol, its connector (name and code) and its
  // identifier. It is looked up in the records each time it is used, so an
  // item never reaches a record that an apply has discarded.
  struct ChavePino {
    OdString handle, dono, codigo, identificador;
  };

  // Builds the records anew and, in the same step, everything that reaches
  // into them: the shown connector or pin is forgotten, the connector list
  // (whose items hold record positions) and the summary are refilled.
  void RefazRegistros();
  void PreencheConectores();
  void PreenchePinos(zr::CEConectorPinos* conector);
  void PreencheResumo();
  // The record of a connector list item; null when there is none.
  zr::CEConectorPinos* ConectorDoItem(int item) const;
  // The pin a pin list item stands for, as the records hold it now; null
  // when it no longer exists.
  zr::CEPino* PinoDoItem(int item) const;
  void MostraConector(zr::CEConectorPinos* conector);
  void MostraPino(zr::CEPino* pino);
  // The grid empty, no light or state text, apply disabled.
  void MostraNada();
  void MostraConectorDoItem(int item);
  void MostraPinoDoItem(int item);
  void LinhasCatalogo(const OdString& codigo, const CString& norma);
  void Luz(int indice, int texto);
  CString Texto(int code) { return m_catalogo->Texto(code); }
  OdDbObjectId IdDoHandle(const OdString& handle) const;
  void GravaNomeNosSimbolos(zr::CEConectorPinos* conector);

  // Members in the order the screen's state lists them.
  CString m_tituloPropriedades;  // text 4
  zr::ConectoresPinos m_conectores;
  CImageList m_luzes;
  CString m_nomeProposto;
  // Both point into m_conectores and are cleared whenever it is rebuilt.
  zr::CEPino* m_pino = nullptr;
  zr::CEConectorPinos* m_conector = nullptr;
  std::vector<OdDbObjectId> m_pinosAlterados;
  CString m_textoNomeUsado;  // text 30
  CListCtrl m_lstConectores;
  CListCtrl m_lstPinos;
  CListCtrl m_lstResumo;
  ListView::CIListViewEdit m_grade;
  CImageList m_alturaLinha;  // 1 x 16: sets the grid's row height
  CStatic m_imgEstado;
  CBitmap m_bmpEstado;
  CButton m_btAplicar;
  CHtmlToolTip m_tooltip;
  // The pin list's items, by item data (an index here); refilled with them.
  std::vector<ChavePino> m_chavesPinos;

  std::unique_ptr<zr::ScreenCatalogue> m_catalogoProprio;
  zr::ScreenCatalogue* m_catalogo;
};
