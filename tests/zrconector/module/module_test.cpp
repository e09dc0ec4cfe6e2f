// The module object: creation through the exports, registration of the seven
// functions with documents, and the reactor.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "module/CommandFunctions.h"
#include "module/ZRConector.h"
#include "fake_host.h"

extern "C" OdRxModule* odrxCreateModuleObject(void** loaderHandle);
extern "C" void odrxGetAPIVersion(int32_t* major, int32_t* minor, int32_t* build, int32_t* patch);

using namespace testing_support;

namespace {

const std::vector<OdString> kSeven = {
    OdString(u"zrConectores"),           OdString(u"SelecaoConector"),  OdString(u"NovoConector"),
    OdString(u"PerguntaInserirPinoConectado"), OdString(u"AtualizarDicConectores"), OdString(u"GetEnameConector"),
    OdString(u"BuscaListaConectores")};

// Each test creates the module and deletes it again.
class Module : public ::testing::Test {
 protected:
  void SetUp() override {
    void* handle = reinterpret_cast<void*>(0x1234);
    module = odrxCreateModuleObject(&handle);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(handle, nullptr) << "the loader's variable is cleared";
  }
  void TearDown() override {
    if (CZRConector::Instance()) {
      module->uninitApp();
      module->deleteModule();
    }
  }
  std::vector<OdString> functionsOf(CFxDocument* doc) { return doc->GetFunctionInterface()->FunctionNames(); }

  FakeHost host;
  OdRxModule* module = nullptr;
};

TEST_F(Module, CreatedOnceKeepingTheLoadersHandle) {
  EXPECT_EQ(module->moduleHandle(), reinterpret_cast<void*>(0x1234));
  void* other = reinterpret_cast<void*>(0x5678);
  EXPECT_EQ(odrxCreateModuleObject(&other), module);
  EXPECT_EQ(other, reinterpret_cast<void*>(0x5678)) << "a second call leaves the variable alone";
  module->deleteModule();
  EXPECT_EQ(CZRConector::Instance(), nullptr);
  void* handle = nullptr;
  module = odrxCreateModuleObject(&handle);
  EXPECT_EQ(CZRConector::Instance(), module);
}

TEST_F(Module, DeclaresApiVersion3200) {
  int32_t v[4] = {-1, -1, -1, -1};
  odrxGetAPIVersion(&v[0], &v[1], &v[2], &v[3]);
  EXPECT_EQ(std::vector<int32_t>(v, v + 4), (std::vector<int32_t>{3, 2, 0, 0}));
}

TEST_F(Module, ReleaseNeverDestroys) {
  EXPECT_EQ(module->numRefs(), 0);
  module->release();
  EXPECT_EQ(module->numRefs(), -1);
  module->addRef();
  module->addRef();
  EXPECT_EQ(module->numRefs(), 1);
  EXPECT_EQ(CZRConector::Instance(), module);
}

TEST_F(Module, InitialisationRegistersTheSevenWithEveryOpenDocument) {
  CFxDocument* docs[3];
  for (auto& d : docs) d = host.open(OdDbDatabase::createNew());
  module->initApp();
  for (CFxDocument* d : docs) EXPECT_EQ(functionsOf(d), kSeven);
}

TEST_F(Module, DocumentsOpenedLaterGetTheFunctionsAndClosingOnesLoseThem) {
  module->initApp();  // no document yet: only the reactor
  CFxDocument* later = host.open(OdDbDatabase::createNew());
  EXPECT_EQ(functionsOf(later), kSeven);

  // A reactor added after the module's sees the document after the module did.
  struct Watcher : CFxDocumentManagerReactor {
    std::vector<OdString> atClosing;
    void DocumentClosing(CFxDocument* doc) override { atClosing = doc->GetFunctionInterface()->FunctionNames(); }
  } watcher;
  host.documents().AddReactor(&watcher);
  host.documents().CloseDocument(later);
  EXPECT_TRUE(watcher.atClosing.empty());
  host.documents().RemoveReactor(&watcher);
}

TEST_F(Module, UninitialisationKeepsRegistrationsButStopsNewOnes) {
  CFxDocument* before = host.open(OdDbDatabase::createNew());
  module->initApp();
  module->uninitApp();
  CFxDocument* after = host.open(OdDbDatabase::createNew());
  EXPECT_EQ(functionsOf(before), kSeven);
  EXPECT_TRUE(functionsOf(after).empty());
}

TEST_F(Module, WithoutSystemServicesNothingIsRegistered) {
  CFxDocument* doc = host.open(OdDbDatabase::createNew());
  CFxSystemServices* services = FxInstallSystemServices(nullptr);
  module->initApp();
  module->uninitApp();
  FxInstallSystemServices(services);
  EXPECT_TRUE(functionsOf(doc).empty());
  CFxDocument* later = host.open(OdDbDatabase::createNew());
  EXPECT_TRUE(functionsOf(later).empty()) << "no reactor was installed";
}

TEST(ModuleFile, NameIsThePathOfTheLoadedFile) {
  void* handle = dlopen(ZR_MODULE_FILE, RTLD_NOW);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto create = reinterpret_cast<OdRxCreateModuleFn>(dlsym(handle, "odrxCreateModuleObject"));
  ASSERT_NE(create, nullptr);
  void* loaderHandle = handle;
  OdRxModule* module = create(&loaderHandle);
  char resolved[PATH_MAX];
  ASSERT_NE(realpath(ZR_MODULE_FILE, resolved), nullptr);
  EXPECT_EQ(module->moduleName().toUtf8(), std::string(resolved));
  module->deleteModule();
  dlclose(handle);
}

}  // namespace
