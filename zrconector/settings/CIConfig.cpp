#include "settings/CIConfig.h"

#include "support/ComponentSupport.h"
#include "support/HostProgram.h"
#include "zrui/msgbox.h"

CIConfig::CIConfig() {
  m_program = CString(HostProgram().c_str());

  m_settings = CreateComponent<IZrSettings>(CLSID_ZrSettings);
  if (!m_settings) {
    CString cause = TakeErrorDescription();
    m_failure = u"The settings component (PRMSET) could not be created";
    if (!cause.IsEmpty()) m_failure += u": " + cause;
    MessageBoxW(nullptr, u"Unable to find file PRMSET.dll", u"#CC002", MB_ICONEXCLAMATION);
    return;
  }

  VARIANT_BOOL loaded = VARIANT_FALSE;
  CString why;
  try {
    loaded = m_settings->Load(_bstr_t(m_program.GetString()));
    if (loaded != VARIANT_TRUE) why = CString(m_settings->GetLoadError().str());
  } catch (const _com_error& e) {
    loaded = VARIANT_FALSE;
    why = CString(e.Description().str());
    if (why.IsEmpty()) why = e.ErrorMessage();
  }
  m_loaded = loaded == VARIANT_TRUE;
  if (!m_loaded) {
    m_failure = u"The settings of program \"" + m_program + u"\" could not be loaded";
    if (!why.IsEmpty()) m_failure += u": " + why;
    MessageBoxW(nullptr, u"Unable to load the settings file.", u"#CC001", MB_ICONEXCLAMATION);
  }
}

CIConfig::~CIConfig() = default;

CString CIConfig::ValueOf(IZrSettingsItemPtr (IZrSettings::*getter)()) {
  if (!m_settings) return CString();
  IZrSettingsItemPtr item = (m_settings.GetInterfacePtr()->*getter)();
  return CString(item->GetValue().str());
}

CString CIConfig::GetDataFolder() { return ValueOf(&IZrSettings::GetDataFolder); }
CString CIConfig::GetDatabaseType() { return ValueOf(&IZrSettings::GetDatabaseType); }
CString CIConfig::GetDatabaseName() { return ValueOf(&IZrSettings::GetDatabaseName); }
CString CIConfig::GetServer() { return ValueOf(&IZrSettings::GetServer); }
CString CIConfig::GetUser() { return ValueOf(&IZrSettings::GetUser); }
CString CIConfig::GetPassword() { return ValueOf(&IZrSettings::GetPassword); }

bool CIConfig::IsAccessDatabase() { return GetDatabaseType() == u"MDB"; }
