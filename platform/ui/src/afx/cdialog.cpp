// CDialog and dialog data exchange.
#include "zrui/afx/cdialog.h"

#include "core/hooks.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
CDialog::CDialog(const DialogTemplate* dialogTemplate, CWnd* parent)
    : m_pParentWnd(parent), m_lpDialogTemplate(dialogTemplate) {}

const DialogTemplate* CDialog::Template() const {
  return m_lpDialogTemplate ? m_lpDialogTemplate : FindDialogResource(m_nIDTemplate);
}

INT_PTR CDialog::DoModal() {
  const DialogTemplate* t = Template();
  if (!t || m_hWnd) return -1;
  DialogTemplate hidden = *t;
  hidden.style &= ~WS_VISIBLE;
  HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : ::GetActiveWindow();
  m_nModalResult = -1;
  AfxHookWindowCreate(this);
  HWND h = ::CreateDialogIndirectParamW(nullptr, &hidden, owner, nullptr, 0);
  zrui::detail::SetCreationHook(nullptr, nullptr);
  if (!h) return -1;
  INT_PTR r = zrui::RunModalLoop(h);
  m_nModalResult = r;
  if (m_hWnd) DestroyWindow();
  return m_nModalResult;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDTemplate = templateId;
  m_lpDialogTemplate = nullptr;
  return CreateIndirect(FindDialogResource(templateId), parent);
}

BOOL CDialog::CreateIndirect(const DialogTemplate* dialogTemplate, CWnd* parent) {
  if (!dialogTemplate || m_hWnd) return FALSE;
  m_pParentWnd = parent;
  AfxHookWindowCreate(this);
  HWND h = ::CreateDialogIndirectParamW(nullptr, dialogTemplate, parent ? parent->m_hWnd : nullptr, nullptr, 0);
  zrui::detail::SetCreationHook(nullptr, nullptr);
  return h != nullptr;
}

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  if (m_hWnd) ::EndDialog(m_hWnd, result);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  Default();
  return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* ctl) {
  if (ctl) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl->m_hWnd), TRUE);
}
void CDialog::SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
void CDialog::MapDialogRect(LPRECT r) const { ::MapDialogRect(m_hWnd, r); }

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  if (!control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd)) dx->m_bFailed = true;
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  if (dx->m_bSaveAndValidate) dx->m_pDlgWnd->GetDlgItemText(id, value);
  else dx->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  if (dx->m_bSaveAndValidate) {
    BOOL ok = FALSE;
    int v = static_cast<int>(dx->m_pDlgWnd->GetDlgItemInt(id, &ok, TRUE));
    if (ok) value = v;
    else dx->m_bFailed = true;
  } else {
    dx->m_pDlgWnd->SetDlgItemInt(id, static_cast<UINT>(value), TRUE);
  }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  if (dx->m_bSaveAndValidate) value = static_cast<int>(dx->m_pDlgWnd->IsDlgButtonChecked(id));
  else dx->m_pDlgWnd->CheckDlgButton(id, static_cast<UINT>(value));
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
  if (dx->m_bSaveAndValidate && value.GetLength() > maxChars) dx->m_bFailed = true;
}
