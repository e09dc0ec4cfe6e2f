#include "CITexto.h"

#include <string>

#include "CICad.h"
#include "ComponentSupport.h"

CITexto::CITexto(const CString& moduleKey) : m_moduleKey(moduleKey) {
  CICad cad;
  m_program = CString(cad.GetPrograma().c_str());
  m_texts = CreateComponent<IZrTexts>(CLSID_ZrTexts);
  if (!m_texts) TakeErrorDescription();  // the cause is reported by GetTexto
}

CITexto::~CITexto() = default;

CString CITexto::GetTexto(int code) {
  if (!m_texts) RaiseComError(E_POINTER, u"The texts component (PRMSET) is not available.");
  const std::string decimal = std::to_string(code);
  _bstr_t text = m_texts->GetText(_bstr_t(m_program.GetString()), _bstr_t(m_moduleKey.GetString()),
                                  _bstr_t(decimal));
  return CString(text.str());
}
