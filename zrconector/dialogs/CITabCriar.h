#pragma once
// CITabCriar: tab 1 of the selection dialog. The user picks a component from
// the catalogue tree, names the new instance (the suite proposes the next
// automatic name) and chooses one of its pins.
//
// The tree is filled at most once per page, on a worker thread started at
// each switch to the tab (StartFill); one fill runs at a time in the process.
// The page is disabled while it is filled. The owner never destroys the page
// while its worker runs: it asks CancelFill and waits for the fill's end.

#include <atomic>
#include <memory>
#include <vector>

#include "catalog/SelectionCatalogue.h"
#include "controls/CAutoCombo.h"
#include "controls/CITreeConectores.h"
#include "zrui/afx.h"
#include "zrui/tooltip.h"

class SelectionOwner;

class CITabCriar : public CDialog {
 public:
  // Posted to the page when its worker has ended (wParam: 1 when it filled).
  static constexpr UINT WM_FILL_DONE = WM_APP + 0x51;

  explicit CITabCriar(SelectionOwner* owner);
  // Waits for a worker still running (the owner has made sure none is).
  ~CITabCriar() override;

  // Creates the page as a hidden child of the owner (template 50109).
  BOOL CreatePage();

  // Starts the worker that fills the tree (or fills at once when no thread
  // can be started). Nothing while this page's previous worker runs.
  void StartFill();
  // True while this page's worker runs.
  bool FillRunning() const { return m_thread != nullptr; }
  // Asks a running worker to stop at its next step.
  void CancelFill() { m_cancel = true; }
  bool IsLoaded() const { return m_loaded; }

  // Whether a fill runs anywhere in the process.
  static bool AnyFillRunning();

  const CString& GetNome() const { return m_nome; }
  const CString& GetCodigo() const { return m_codigo; }
  const CString& GetPino() const { return m_pino; }
  bool GetAutomatico() const { return m_automatico; }
  const CString& GetProposta() const { return m_proposta; }
  bool TooltipShown() const { return m_tooltip.m_hWnd && m_tooltip.IsShown(); }
  CString TooltipText() const { return m_tooltip.m_hWnd ? m_tooltip.GetPlainText() : CString(); }

  CITreeConectores m_tree;
  CAutoCombo m_combo;
  CComboBox m_pinos;

  BOOL OnInitDialog() override;

 protected:
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnTreeSelChanged(NMHDR* hdr, LRESULT* result);
  afx_msg void OnTreeExpanded(NMHDR* hdr, LRESULT* result);
  afx_msg void OnNomeEditado();
  afx_msg void OnNomeEscolhido();
  // A tip shown moves clear of the name's dropped list as it opens and
  // closes.
  afx_msg void OnNomeAberto();
  afx_msg void OnNomeFechado();
  afx_msg void OnPinoEscolhido();
  afx_msg LRESULT OnFillDone(WPARAM w, LPARAM l);
  afx_msg void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  static UINT FillProc(LPVOID page);
  // The fill itself: true when the tree was loaded.
  bool Fill();
  void Validar();
  void RefazerLista(const CString& texto);
  void PreencherPinos();
  // The record of the selected tree item (null for none or a placeholder).
  zr::CEPasta* Selecionado() const;

  SelectionOwner* m_owner;
  CString m_textoTooltip;   // text 30
  CString m_textoProposta;  // text 44
  CString m_nome, m_codigo, m_pino;
  CString m_proposta;
  bool m_automatico = true;
  std::atomic<bool> m_loaded{false};
  std::atomic<bool> m_cancel{false};
  CWinThread* m_thread = nullptr;
  CImageList m_images;
  CHtmlToolTip m_tooltip;
  CButton m_ok, m_cancelar;
  std::vector<CString> m_ids;  // identifiers of the pin list, by item data
  CSize m_size;
};
