#include "module/ZRConector.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <new>
#include <string>

#include "dialogs/NovoConectorResources.h"
#include "controls/ListView/EditMessages.h"
#include "dialogs/TelaConectoresResources.h"
#include "dialogs/SelConectorResources.h"
#include "module/CommandFunctions.h"

namespace {
CZRConector* g_module = nullptr;
constexpr std::size_t kMaxPath = 260;
}  // namespace

const OdRxClass* CZRConector::desc() {
  static const OdRxClass cls("CZRConector", OdRxModule::desc());
  return &cls;
}

OdRxObject* CZRConector::queryX(const OdRxClass* cls) const {
  auto* self = const_cast<CZRConector*>(this);
  if (cls == CFxDocumentManagerReactor::desc()) return static_cast<CFxDocumentManagerReactor*>(self);
  if (desc()->isDerivedFrom(cls)) return static_cast<OdRxModule*>(self);
  return nullptr;
}

CZRConector* CZRConector::Instance() { return g_module; }

OdRxModule* createModuleObject(void** loaderHandle) {
  if (g_module) return g_module;
  CZRConector* module = new (std::nothrow) CZRConector;
  if (module) module->m_moduleHandle = loaderHandle ? *loaderHandle : nullptr;
  if (loaderHandle) *loaderHandle = nullptr;
  g_module = module;
  return module;
}

void CZRConector::deleteModule() {
  g_module = nullptr;
  delete this;
}

void CZRConector::initApp() {
  zr::RegisterNovoConectorResources();
  ListView::RegisterMessages();
  zr::RegisterTelaConectoresResources();
  RegisterSelConectorResources();
  CFxSystemServices* services = GetFxSystemServices();
  if (!services) return;
  CFxDocumentManager* documents = services->GetDocumentManager();
  if (!documents) return;
  documents->AddReactor(this);
  // The count is read again before each step.
  for (int i = 0; i < static_cast<int>(documents->DocumentCount()); ++i) RegisterFunctions(documents->GetDocument(i));
}

void CZRConector::uninitApp() {
  CFxSystemServices* services = GetFxSystemServices();
  if (!services) return;
  CFxDocumentManager* documents = services->GetDocumentManager();
  if (!documents) return;
  documents->RemoveReactor(this);
}

void CZRConector::DocumentReady(CFxDocument* doc) { RegisterFunctions(doc); }

void CZRConector::DocumentClosing(CFxDocument* doc) { UnregisterFunctions(doc); }

OdString CZRConector::moduleName() const {
  std::string path;
  link_map* map = nullptr;
  if (m_moduleHandle && dlinfo(m_moduleHandle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name) {
    path = map->l_name;
  } else {
    // Without the loader's handle, the file that holds this code.
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&createModuleObject), &info) && info.dli_fname) path = info.dli_fname;
  }
  char resolved[PATH_MAX];
  if (!path.empty() && realpath(path.c_str(), resolved)) path = resolved;
  OdString name = OdString::fromUtf8(path);
  // The name is read into a buffer of 260 characters, terminator included.
  if (name.getLength() >= static_cast<int>(kMaxPath)) name = name.left(static_cast<int>(kMaxPath) - 1);
  return name;
}

extern "C" {

__attribute__((visibility("default"))) OdRxModule* odrxCreateModuleObject(void** loaderHandle) {
  return createModuleObject(loaderHandle);
}

__attribute__((visibility("default"))) void odrxGetAPIVersion(int32_t* major, int32_t* minor, int32_t* build,
                                                              int32_t* patch) {
  if (major) *major = 3;
  if (minor) *minor = 2;
  if (build) *build = 0;
  if (patch) *patch = 0;
}

}  // extern "C"
