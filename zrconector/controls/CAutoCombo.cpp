#include "controls/CAutoCombo.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CAutoCombo, CComboBox)
  ON_WM_CREATE()
END_MESSAGE_MAP()

CAutoCombo::CAutoCombo()
    : m_clrText(GetSysColor(COLOR_WINDOWTEXT)),
      m_clrSelText(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_clrSelSecond(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_clrGray(GetSysColor(COLOR_GRAYTEXT)),
      m_clrHighlight(GetSysColor(COLOR_HIGHLIGHT)) {}

CAutoCombo::~CAutoCombo() {
  FreeAllCopies();
  // Copies whose entries are already gone with the window.
  for (CString* s : m_copies) delete s;
  m_copies.clear();
}

BOOL CAutoCombo::Attach(UINT id, CWnd* parent, BOOL secondText) {
  m_secondText = secondText != FALSE;
  return SubclassDlgItem(id, parent);
}

int CAutoCombo::OnCreate(LPCREATESTRUCT cs) { return CComboBox::OnCreate(cs); }

int CAutoCombo::AddString(LPCTSTR text) {
  int index = CComboBox::AddString(text);
  if (m_secondText && index >= 0) {
    auto* copy = new CString(text);
    m_copies.insert(copy);
    SetItemDataPtr(index, copy);
  }
  return index;
}

int CAutoCombo::InsertString(int index, LPCTSTR text, LPCTSTR secondText) {
  int at = CComboBox::InsertString(index, text);
  if (m_secondText && secondText && at >= 0) {
    auto* copy = new CString(secondText);
    m_copies.insert(copy);
    SetItemDataPtr(at, copy);
  }
  return at;
}

void CAutoCombo::SelectAndNotify(int index) {
  m_lastSelection = static_cast<short>(index);
  SetCurSel(index);
  HWND parent = ::GetParent(m_hWnd);
  if (parent)
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

CString* CAutoCombo::CopyOf(int index) const {
  if (!m_hWnd || index < 0) return nullptr;
  auto* p = static_cast<CString*>(GetItemDataPtr(index));
  // Only the copies made here are second texts; other data is left alone.
  return m_copies.count(p) ? p : nullptr;
}

CString CAutoCombo::GetSecondText(int index) const {
  CString* s = CopyOf(index);
  return s ? *s : CString();
}

void CAutoCombo::FreeCopy(int index) {
  if (CString* s = CopyOf(index)) {
    // Forgotten and cleared before it is freed, so no later message (or
    // deletion notice) can reach the freed copy.
    m_copies.erase(s);
    SetItemDataPtr(index, nullptr);
    delete s;
  }
}

void CAutoCombo::FreeAllCopies() {
  if (!m_hWnd) return;
  for (int i = GetCount() - 1; i >= 0; --i) FreeCopy(i);
}

LRESULT CAutoCombo::WindowProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case CB_DELETESTRING: FreeCopy(static_cast<int>(w)); break;
    case CB_RESETCONTENT:
    case WM_DESTROY: FreeAllCopies(); break;
    case CB_SETITEMDATA:
      // Data given by the owner replaces a copy: the copy goes.
      if (CString* s = CopyOf(static_cast<int>(w)); s && reinterpret_cast<LPARAM>(s) != l) {
        m_copies.erase(s);
        delete s;
      }
      break;
  }
  return CComboBox::WindowProc(msg, w, l);
}

void CAutoCombo::DrawItem(LPDRAWITEMSTRUCT dis) {
  int item = static_cast<int>(dis->itemID);
  if (item < 0) return;
  CDC* dc = CDC::FromHandle(dis->hDC);
  CFont* oldFont = dc->SelectObject(&m_font);
  CRect rc(dis->rcItem);
  // A whole-item redraw (no selection change) draws the unselected look.
  bool selected = (dis->itemAction & ODA_SELECT) && (dis->itemState & ODS_SELECTED);
  if (selected) {
    dc->FillSolidRect(&rc, m_clrHighlight);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(m_clrSelText);
  } else {
    dc->SetTextColor(m_clrText);
    dc->FillSolidRect(&rc, GetSysColor(COLOR_WINDOW));
  }
  CString text;
  GetLBText(item, text);
  dc->TextOut(rc.left + 5, rc.top + 2, text);
  // The second text never starts before the first text's width plus 15.
  int firstEnd = dc->GetTextExtent(text).cx + 15;
  if (m_secondText) {
    if (CString* second = CopyOf(item)) {
      CSize size = dc->GetTextExtent(*second);
      int x = std::max(static_cast<int>(rc.right - size.cx - 15), firstEnd);
      if (!second->IsEmpty()) {
        dc->SetTextColor(selected ? m_clrSelSecond : m_clrGray);
        dc->TextOut(x, rc.top + 2, *second);
      }
    }
  }
  dc->SelectObject(oldFont);
}
