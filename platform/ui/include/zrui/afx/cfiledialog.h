// CFileDialog: the common file dialog.
#pragma once

#include "zrui/afx/cwnd.h"

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct OPENFILENAMEW {
  DWORD Flags = 0;
  LPCWSTR lpstrInitialDir = nullptr;
  LPCWSTR lpstrTitle = nullptr;
  LPCWSTR lpstrDefExt = nullptr;
};

// The common file dialog; answered by the file dialog responder (zrui/msgbox.h).
class CFileDialog {
 public:
  explicit CFileDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                       CWnd* parent = nullptr);
  virtual ~CFileDialog() = default;
  virtual INT_PTR DoModal();
  CString GetPathName() const { return m_path; }
  CString GetFileName() const;   // with extension, without folder
  CString GetFileTitle() const;  // without folder and extension
  CString GetFileExt() const;
  CString GetFolderPath() const;
  // Whether "Open as read-only" was checked (only offered without
  // OFN_HIDEREADONLY).
  BOOL GetReadOnlyPref() const { return m_readOnly; }
  OPENFILENAMEW m_ofn;

 private:
  BOOL m_open;
  BOOL m_readOnly = FALSE;
  CString m_defExt, m_fileName, m_filter, m_path;
};
