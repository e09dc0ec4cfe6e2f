// CDialog (modal and modeless dialogs from templates) and dialog data
// exchange (DDX_Control, DDX_Text).
#pragma once

#include "zrui/afx/cwnd.h"
#include "zrui/dialog.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
  bool m_bFailed = false;
};

// Attaches `control` to the dialog's item (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

class CDialog : public CWnd {
 public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  // A dialog made from an in-memory template (kept by the caller).
  explicit CDialog(const DialogTemplate* dialogTemplate, CWnd* parent = nullptr);

  // Creates the dialog, runs it modally and destroys it. Returns the value
  // given to EndDialog, or -1 when the dialog cannot be created.
  virtual INT_PTR DoModal();
  // Creates a modeless dialog (or a child dialog, such as a tab page).
  BOOL Create(UINT templateId, CWnd* parent = nullptr);
  BOOL CreateIndirect(const DialogTemplate* dialogTemplate, CWnd* parent = nullptr);
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* ctl);
  void SetDefID(UINT id);
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT r) const;

  UINT m_nIDHelp = 0;
  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;
  const DialogTemplate* m_lpDialogTemplate = nullptr;

 protected:
  INT_PTR m_nModalResult = -1;
  afx_msg LRESULT HandleInitDialog(WPARAM w, LPARAM l);
  const DialogTemplate* Template() const;
  DECLARE_MESSAGE_MAP()
};
