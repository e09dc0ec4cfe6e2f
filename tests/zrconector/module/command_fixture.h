// The command functions as the host calls them: a fresh copy of the example
// file catalogue with settings of a program of the test's own, the module
// loaded and registered with the active document, message boxes captured.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalog/CIBancoDados.h"
#include "module/CommandFrame.h"
#include "module/ZRConector.h"
#include "drawing_builder.h"
#include "fake_host.h"
#include "program_environment.h"
#include "test_catalogue.h"
#include "zrui/msgbox.h"

extern "C" OdRxModule* odrxCreateModuleObject(void** loaderHandle);

namespace zrtest {

inline constexpr const char* kProgram = "zrcmd-test";

class CommandFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    CIBancoDados::ResetInstanceForTesting();
    zr::ResetConnectionOpenedForTesting();
    env = std::make_unique<zrtest::ProgramEnvironment>(kProgram);
    catalogue = std::make_unique<zrtest::TestCatalogue>(zrtest::Backend::kSqlite);
    env->WriteDatabaseSettings(kProgram, "MDB", catalogue->folder(), catalogue->file_name());
    void* handle = nullptr;
    module = odrxCreateModuleObject(&handle);
    module->initApp();
    doc = ACTIVE_DOCUMENT();
    db = doc->GetFxDatabase()->database();
  }
  void TearDown() override {
    module->uninitApp();
    module->deleteModule();
    CIBancoDados::ResetInstanceForTesting();
    zr::ResetConnectionOpenedForTesting();
    catalogue.reset();
    env.reset();
  }

  CFxFunctionInterface::CallResult call(const char* name, const std::vector<std::string>& args = {}) {
    resbuf* chain = args.empty() ? nullptr : testing_support::stringChain(args);
    auto result = doc->GetFunctionInterface()->CallFunction(OdString::fromUtf8(name), chain);
    fxReleaseChain(chain);
    return result;
  }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> out;
    for (const auto& b : boxes.shown()) out.push_back(OdString(b.text).toUtf8());
    return out;
  }
  void pin(const std::string& name, const std::string& code, const std::string& id, double x, double y,
           const std::string& flag = "S") {
    testing_support::addPin(*db, "PIN-A", name, code, id, 100 + x, 100 + y, flag);
  }

  std::unique_ptr<zrtest::ProgramEnvironment> env;
  std::unique_ptr<zrtest::TestCatalogue> catalogue;
  zrui::ScriptedMessageBoxes boxes;
  OdRxModule* module = nullptr;
  CFxDocument* doc = nullptr;
  OdDbDatabase* db = nullptr;
};

}  // namespace zrtest
