#include "settings/CITexto.h"

#include <string>

#include "support/ComponentSupport.h"
#include "support/HostProgram.h"

CITexto::CITexto(const CString& moduleKey) : m_moduleKey(moduleKey) {
  m_program = CString(HostProgram().c_str());
  m_texts = CreateComponent<IZrTexts>(CLSID_ZrTexts);
  if (!m_texts) {
    // Kept for GetTexto, which reports the missing component.
    const CString cause = TakeErrorDescription();
    m_failure = u"The texts component (PRMSET) is not available";
    m_failure += cause.IsEmpty() ? CString(u".") : u": " + cause;
  }
}

CITexto::~CITexto() = default;

CString CITexto::GetTexto(int code) {
  if (!m_texts) RaiseComError(E_POINTER, m_failure);
  const std::string decimal = std::to_string(code);
  _bstr_t text = m_texts->GetText(_bstr_t(m_program.GetString()), _bstr_t(m_moduleKey.GetString()),
                                  _bstr_t(decimal));
  return CString(text.str());
}
