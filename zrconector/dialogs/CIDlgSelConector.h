#pragma once
// CIDlgSelConector: the modal, resizable, two-tab connector selection dialog.
// Tab 0 (CITabSelecao) offers the missing pins of connector instances already
// in the drawing; tab 1 (CITabCriar) a new instance from the catalogue tree.
// After OK the caller reads the results of the active tab.
//
// The dialog never ends, and is never destroyed, while its creation tab's
// worker runs: closing it then cancels the fill and ends the dialog when the
// worker is done, the modal loop serving the worker meanwhile.

#include <memory>
#include <optional>

#include "catalog/SelectionCatalogue.h"
#include "dialogs/CITabCriar.h"
#include "dialogs/CITabSelecao.h"
#include "dialogs/SelectionOwner.h"
#include "zrui/afx.h"

class CIDlgSelConector : public CDialog, private SelectionOwner {
 public:
  // One pin code: the accepted codes are [pino], no mating restriction.
  // fontes: where the dialog reads (the module's sources when null; a given
  // one must outlive the dialog). Runs the pin check of the drawing.
  CIDlgSelConector(LPCTSTR pino, CWnd* owner, zr::SelectionCatalogue* fontes = nullptr);
  // Two lists, both taken over (deleted with the dialog): the accepted pin
  // codes and the connector codes that may receive the pin (null: any).
  CIDlgSelConector(CStringList* pinos, CStringList* contraPecas, CWnd* owner, zr::SelectionCatalogue* fontes = nullptr);
  ~CIDlgSelConector() override;

  // Results of the active tab (empty when it is neither 0 nor 1).
  CString GetNome() const;
  CString GetCodigo() const;
  CString GetPino() const;
  // SelecaoConector's fourth value: tab 0 the code, tab 1 "S"/"N" (automatic name).
  CString GetResultado4a() const;
  // PerguntaInserirPinoConectado's fourth value: the pin code (PINO_PINO) of the chosen pin.
  CString GetResultado4b();
  int GetAbaAtiva() const { return m_abaAtiva; }

  CITabSelecao& TabSelecao() { return m_tabSelecao; }
  CITabCriar& TabCriar() { return m_tabCriar; }
  CTabCtrl m_tab;

  // The smallest size of the process (taken at the first sizing drag), for tests.
  static void ResetMinimumForTesting();

  BOOL OnInitDialog() override;

 protected:
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnTabChanging(NMHDR* hdr, LRESULT* result);
  afx_msg void OnTabChanged(NMHDR* hdr, LRESULT* result);
  afx_msg void OnSizing(UINT edge, LPRECT rect);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  CIDlgSelConector(CWnd* owner, zr::SelectionCatalogue* fontes);

  // What the pages use (SelectionOwner).
  CWnd* Window() override { return this; }
  zr::SelectionCatalogue& Sources() override { return *m_fontes; }
  const CStringList& AcceptedPins() const override { return *m_pinosAceitos; }
  const CStringList* MatingCodes() const override { return m_contraPecas.get(); }
  const zr::ConectoresPinos& Connectors() const override { return m_conectores; }
  void End(int result) override;
  void FillEnded() override;

  std::unique_ptr<zr::SelectionCatalogue> m_fontesProprias;
  zr::SelectionCatalogue* m_fontes;
  CITabSelecao m_tabSelecao;
  CITabCriar m_tabCriar;
  CString m_pino;
  std::unique_ptr<CStringList> m_pinosAceitos;
  std::unique_ptr<CStringList> m_contraPecas;
  int m_abaAtiva = 0;
  zr::ConectoresPinos m_conectores;
  std::optional<int> m_resultadoPendente;
  CSize m_size;  // client size at the last size change
};
