// CINovoConector: the modal dialog in which NovoConector asks for the name of
// a connector instance about to be created. It proposes the suite's name,
// refuses a name the drawing already uses, and tells whether the name chosen
// is the proposed one (the automatic-name flag).
//
// Template IDD_NOVO_CONECTOR (dialogs/NovoConectorResources.h) must be
// registered before DoModal; the module registers it when it loads.
#pragma once

#include <memory>

#include "controls/CAutoCombo.h"
#include "zrui/afx.h"
#include "zrui/afx/coll.h"
#include "zrui/tooltip.h"

class CINovoConector : public CDialog {
 public:
  // proposta: the name the suite proposes, possibly empty; it starts in the
  // combo and is marked in its list. parent: owner window, or none.
  explicit CINovoConector(const CString& proposta, CWnd* parent = nullptr);
  // Deletes the names in use.
  ~CINovoConector() override;

  // Takes over the names already used in the drawing (exact comparison);
  // the dialog deletes the list. Call before DoModal. Without a list, a
  // non-empty name leaves OK as it is (disabled when the dialog opens).
  void SetNomesEmUso(CStringList* nomes);

  // DoModal ends with IDOK (1) or IDCANCEL (2). After IDOK: the name typed or
  // chosen, and whether it equals the non-empty proposal exactly (case
  // included). The flag starts set.
  const CString& GetNome() const { return m_nome; }
  bool IsNomeAutomatico() const { return m_automatico; }

 protected:
  // Texts are read here (texts service, module key "ZRCONECTOR"); a missing
  // texts component throws out of DoModal to the caller.
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnEditChangeNome();
  afx_msg void OnSelChangeNome();
  // A tip shown moves clear of the dropped list as it opens and closes.
  afx_msg void OnDropDownNome();
  afx_msg void OnCloseUpNome();
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  // Enables OK and shows or hides the tooltip for `nome`.
  void AvaliarNome(const CString& nome);
  // The whole check: the combo's text evaluated, then the list rebuilt.
  void VerificarNome();
  // Item 0 holds what the user typed, item 1 the proposal (second text 44).
  void ReconstruirLista(const CString& texto);
  void SubstituirItem(int index, const CString& texto, const CString& segundo);

  CString m_textoEmUso;  // text 30, the tooltip for a name in use
  CString m_nome;
  CHtmlToolTip m_tooltip;
  CString m_proposta;
  bool m_automatico = true;
  CStatic m_rotulo;
  CButton m_ok;
  CButton m_cancelar;
  CAutoCombo m_combo;
  std::unique_ptr<CStringList> m_nomesEmUso;
  CString m_textoSugerido;  // text 44, read with the others at opening
};
