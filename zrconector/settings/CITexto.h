#pragma once
// CITexto: interface texts by numeric code, from the suite's texts component
// (PRMSET). Each dialog or command that shows texts creates one with new and
// deletes it when done.

#include "prmset/prmset.h"
#include "zrui/afx/cstring.h"

class CITexto {
 public:
  // The module key of this module's texts.
  static constexpr const char16_t* kModuleKey = u"ZRCONECTOR";

  // Creates the texts component and notes the program name (the host system
  // variable "PROGRAM"). A component that cannot be created shows nothing
  // here: GetTexto reports it.
  explicit CITexto(const CString& moduleKey = CString(kModuleKey));
  ~CITexto();
  CITexto(const CITexto&) = delete;
  CITexto& operator=(const CITexto&) = delete;

  // The text of a code (sent as its decimal text) for this program and
  // module key, unchanged. Throws _com_error E_POINTER when the texts
  // component is missing, and the component's own errors.
  CString GetTexto(int code);

  const CString& GetModuleKey() const { return m_moduleKey; }
  const CString& GetPrograma() const { return m_program; }

 private:
  CString m_moduleKey;
  CString m_program;
  IZrTextsPtr m_texts;
  CString m_failure;  // why m_texts is null
};
