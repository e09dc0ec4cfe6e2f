// The database object and its connection.

#include "catalog/CIBancoDados.h"

#include <dlfcn.h>

#include <new>

#include "settings/CIConfig.h"
#include "support/ComponentSupport.h"
#include "catalog/ConnectionString.h"
#include "zrfx/FxDocumentManager.h"
#include "zrui/afx/cmisc.h"

namespace {

// This module's instance handle: the address its library is loaded at, as a
// module's instance handle is on the original platform.
void* ModuleInstanceHandle() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&ModuleInstanceHandle), &info) && info.dli_fbase) return info.dli_fbase;
  return nullptr;
}

// Makes this module the document manager's resource module while it lives,
// restoring the previous one on every way out.
class ResourceModuleScope {
 public:
  ResourceModuleScope() {
    CFxSystemServices* services = GetFxSystemServices();
    m_documents = services ? services->GetDocumentManager() : nullptr;
    if (m_documents) m_documents->SetResourceModule(ModuleInstanceHandle());
  }
  ~ResourceModuleScope() {
    if (m_documents) m_documents->RestoreResourceModule();
  }
  ResourceModuleScope(const ResourceModuleScope&) = delete;
  ResourceModuleScope& operator=(const ResourceModuleScope&) = delete;

 private:
  CFxDocumentManager* m_documents;
};

}  // namespace

CIBancoDados* CIBancoDados::Instance() {
  // Never destroyed: the connection lives as long as the process.
  static CIBancoDados* const instance = new CIBancoDados;
  return instance;
}

void CIBancoDados::ResetInstanceForTesting() { Instance()->m_connection = nullptr; }

int CIBancoDados::Open() {
  ResourceModuleScope resources;
  try {
    Connect();
  } catch (CException* e) {
    e->Delete();
    m_connection = nullptr;
    return 2;
  } catch (const std::bad_alloc&) {
    m_connection = nullptr;
    return 2;
  } catch (...) {
    // Nothing stays half-open: the next Open starts from no connection.
    m_connection = nullptr;
    throw;
  }
  return 0;
}

void CIBancoDados::Connect() {
  CoInitialize(nullptr);

  CIConfig config;
  const CString user = config.GetUser();
  const CString password = config.GetPassword();
  // Without settings the connection string would name no catalogue; say why
  // instead of letting the driver guess a default server.
  if (!config.IsLoaded()) RaiseComError(E_FAIL, config.GetFailure());
  CString connectionString = MakeConnectionString(config.IsAccessDatabase(), config.GetDataFolder(),
                                                  config.GetDatabaseName(), user, config.GetServer());
  if (m_readOnly) connectionString += u";Mode=Read";

  m_connection = nullptr;
  _ConnectionPtr connection = CreateComponent<_Connection>(CLSID_Connection);
  if (!connection) {
    const CString cause = TakeErrorDescription();
    CString description = u"The catalogue connection object (ADODB.Connection) could not be created";
    if (!cause.IsEmpty()) description += u": " + cause;
    RaiseComError(E_POINTER, description);
  }
  connection->Open(_bstr_t(connectionString.GetString()), _bstr_t(user.GetString()),
                   _bstr_t(password.GetString()), adConnectUnspecified);
  m_connection = connection;
}
