// Creating objects: initialisation, the class registry and its files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "test_server.h"
#include "zrcom/object.h"

namespace {

std::u16string DescriptionOfLastError() {
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK) return u"<no error information>";
  BSTR text = nullptr;
  info->GetDescription(&text);
  std::u16string out(ZrBstrView(text));
  SysFreeString(text);
  info->Release();
  return out;
}

bool Contains(const std::u16string& text, std::string_view part) {
  return ZrUtf16ToUtf8(text).find(part) != std::string::npos;
}

class Registry : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override {
    ZrRegisterInprocServer(CLSID_TestCounter, nullptr, nullptr);
    unsetenv("ZR_COM_REGISTRY");
    ZrReloadComRegistry();
    CoUninitialize();
  }
};

TEST(Initialisation, CreationNeedsCoInitialize) {
  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject");
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // nested on the same thread
  CoUninitialize();
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
  CoUninitialize();
  ZrRegisterInprocServer(CLSID_TestCounter, nullptr, nullptr);
}

TEST_F(Registry, UnregisteredClassIsReportedByItsId) {
  IUnknown* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(),
                             reinterpret_cast<void**>(&object)),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  EXPECT_TRUE(Contains(DescriptionOfLastError(), "{9A1B7C3D-2E4F-4A60-8B71-C2D3E4F50617} is not registered"));
}

TEST_F(Registry, ServerRegisteredFromCodeIsLoadedAndCreatesObjects) {
  ASSERT_EQ(ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject"), S_OK);
  // The sequence of the settings component: IUnknown, OleRun, then the interface.
  IUnknownPtr unknown;
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, 0x17, ZrUuidOf<IUnknown>(),
                             reinterpret_cast<void**>(&unknown)),
            S_OK);
  EXPECT_EQ(OleRun(unknown), S_OK);
  ICounterPtr counter(unknown);
  ASSERT_TRUE(counter);
  LONG value = 0;
  counter->Next(&value);
  counter->Next(&value);
  EXPECT_EQ(value, 2);

  ICounterPtr second;
  ASSERT_EQ(second.CreateInstance(CLSID_TestCounter), S_OK);
  second->Next(&value);
  EXPECT_EQ(value, 1);  // a separate object
}

TEST_F(Registry, ServerErrorsReachTheCallerAsComErrors) {
  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject");
  ICounterPtr counter(CLSID_TestCounter);
  HRESULT hr = counter->Fail();
  try {
    ZrCheck(hr, counter, ZrUuidOf<ICounter>());
    ADD_FAILURE() << "no exception";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_FAIL);
    EXPECT_EQ(e.Description().view(), u"the counter refused");
    EXPECT_EQ(e.Source().view(), u"Test.Counter");
  }
}

TEST_F(Registry, RefusesAggregationAndOutOfProcessContexts) {
  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject");
  ICounterPtr outer(CLSID_TestCounter);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, outer, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_LOCAL_SERVER, ZrUuidOf<IUnknown>(), &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IErrorInfo>(), &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
}

TEST_F(Registry, MissingLibraryOrFunctionIsDescribed) {
  ZrRegisterInprocServer(CLSID_TestCounter, "/nonexistent/libprmset.so", nullptr);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object),
            CO_E_DLLNOTFOUND);
  EXPECT_TRUE(Contains(DescriptionOfLastError(), "cannot load /nonexistent/libprmset.so"));

  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "NoSuchFunction");
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object),
            CO_E_ERRORINDLL);
  EXPECT_TRUE(Contains(DescriptionOfLastError(), "has no function NoSuchFunction"));

  // Once the cause is fixed, creation succeeds.
  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject");
  EXPECT_NO_THROW({ ICounterPtr created(CLSID_TestCounter); });
}

// A server library cut short (an interrupted install) would fault inside the
// dynamic loader; a folder in its place is no library either. Both are
// refused with a reason, and the real library still loads afterwards.
TEST_F(Registry, DamagedLibraryIsRefusedBeforeTheLoaderTouchesIt) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("zrcom-damaged-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "folder.so");
  std::ifstream in(ZR_TEST_SERVER, std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(whole.size(), 4096u);
  for (std::size_t cut : {std::size_t{100}, whole.size() / 2, whole.size() - 1}) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    // A new name each time: a library the loader has mapped stays mapped.
    const std::string cutPath = (folder / ("cut" + std::to_string(cut) + ".so")).string();
    std::ofstream(cutPath, std::ios::binary) << whole.substr(0, cut);
    ZrRegisterInprocServer(CLSID_TestCounter, cutPath.c_str(), "TestGetClassObject");
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object),
              CO_E_DLLNOTFOUND);
    EXPECT_EQ(object, nullptr);
    EXPECT_TRUE(Contains(DescriptionOfLastError(), "cannot load " + cutPath + ": it is truncated or damaged: it holds " +
                                                       std::to_string(cut) + " bytes"));
  }
  const std::string folderPath = (folder / "folder.so").string();
  ZrRegisterInprocServer(CLSID_TestCounter, folderPath.c_str(), "TestGetClassObject");
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object),
            CO_E_DLLNOTFOUND);
  EXPECT_TRUE(Contains(DescriptionOfLastError(), "it is a folder, not a library"));

  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject");
  EXPECT_NO_THROW({ ICounterPtr created(CLSID_TestCounter); });
  std::filesystem::remove_all(folder);
}

TEST_F(Registry, ClassObjectsRegisteredByTheProcessComeFirst) {
  struct Factory final : ZrComObject<IClassFactory> {
    int created = 0;
    HRESULT CreateInstance(IUnknown*, REFIID, void** object) override {
      ++created;
      *object = nullptr;
      return E_OUTOFMEMORY;
    }
    HRESULT LockServer(int) override { return S_OK; }
  };
  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject");
  Factory* factory = ZrMakeObject<Factory>();
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_TestCounter, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object), E_OUTOFMEMORY);
  EXPECT_EQ(factory->created, 1);
  ASSERT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(CoRevokeClassObject(cookie), E_INVALIDARG);
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
  factory->Release();
}

class RegistryFiles : public Registry {
 protected:
  void SetUp() override {
    Registry::SetUp();
    char pattern[] = "/tmp/zrcom-registry-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    Registry::TearDown();
  }
  void Write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name) << text; }

  std::filesystem::path dir_;
};

TEST_F(RegistryFiles, FindsClassesInFilesOfTheNamedFolders) {
  // A relative library path is taken from the file's folder; bad lines are skipped.
  std::filesystem::copy_file(ZR_TEST_SERVER, dir_ / "server.so");
  Write("a.comreg",
        "# test classes\n"
        "not-a-guid server.so\n"
        "\n"
        "{9A1B7C3D-2E4F-4A60-8B71-C2D3E4F50617}  server.so  TestGetClassObject  # counter\n");
  Write("ignored.txt", "{9A1B7C3D-2E4F-4A60-8B71-C2D3E4F50617} /nonexistent.so\n");
  setenv("ZR_COM_REGISTRY", ("/nonexistent-folder:" + dir_.string()).c_str(), 1);
  ZrReloadComRegistry();
  ICounterPtr counter;
  ASSERT_EQ(counter.CreateInstance(CLSID_TestCounter), S_OK) << ZrUtf16ToUtf8(DescriptionOfLastError());
  LONG value = 0;
  counter->Next(&value);
  EXPECT_EQ(value, 1);
}

TEST_F(RegistryFiles, CodeRegistrationsOverrideFiles) {
  Write("a.comreg", "{9A1B7C3D-2E4F-4A60-8B71-C2D3E4F50617} /nonexistent/server.so TestGetClassObject\n");
  setenv("ZR_COM_REGISTRY", dir_.c_str(), 1);
  ZrReloadComRegistry();
  ICounterPtr counter;
  EXPECT_EQ(counter.CreateInstance(CLSID_TestCounter), CO_E_DLLNOTFOUND);
  ZrRegisterInprocServer(CLSID_TestCounter, ZR_TEST_SERVER, "TestGetClassObject");
  EXPECT_EQ(counter.CreateInstance(CLSID_TestCounter), S_OK);
}

}  // namespace
