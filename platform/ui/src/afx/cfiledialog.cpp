#include "zrui/afx/cfiledialog.h"

#include <algorithm>

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter, CWnd*)
    : m_open(openFileDialog), m_defExt(defExt), m_fileName(fileName), m_filter(filter) {
  m_ofn.Flags = flags;
  m_ofn.lpstrDefExt = defExt;
}

INT_PTR CFileDialog::DoModal() {
  zrui::FileDialogRequest req;
  req.open = m_open != 0;
  req.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : u"";
  req.defaultExtension = m_defExt.str();
  req.fileName = m_fileName.str();
  req.filter = m_filter.str();
  req.initialDirectory = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : u"";
  req.flags = m_ofn.Flags;
  zrui::FileDialogAnswer a = zrui::ShowFileDialog(req);
  if (a.result == IDOK) m_path = CString(a.path);
  m_readOnly = a.result == IDOK && a.readOnly;
  return a.result == IDOK ? IDOK : IDCANCEL;
}

namespace {
int LastSeparator(const CString& p) { return std::max(p.ReverseFind(u'/'), p.ReverseFind(u'\\')); }
}  // namespace

CString CFileDialog::GetFileName() const { return m_path.Mid(LastSeparator(m_path) + 1); }
CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(u'.');
  return dot > 0 ? name.Left(dot) : name;
}
CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(u'.');
  return dot >= 0 ? name.Mid(dot + 1) : CString();
}
CString CFileDialog::GetFolderPath() const {
  int sep = LastSeparator(m_path);
  return sep >= 0 ? m_path.Left(sep) : CString();
}
