// The host kernel: documents, reactors, the function interface and entity names.
#include <gtest/gtest.h>

#include "drawing_builder.h"
#include "fake_host.h"

using namespace testing_support;

namespace {

// Records the notifications it receives, by name.
class RecordingReactor : public CFxDocumentManagerReactor {
 public:
  std::vector<std::string> events;
  void DocumentCreated(CFxDocument*) override { events.push_back("created"); }
  void DocumentReady(CFxDocument*) override { events.push_back("ready"); }
  void DocumentActivated(CFxDocument*) override { events.push_back("activated"); }
  void DocumentClosing(CFxDocument*) override { events.push_back("closing"); }
  void DocumentToBeDestroyed(CFxDocument*) override { events.push_back("to be destroyed"); }
  void DocumentDestroyed(const OdString& name) override { events.push_back("destroyed " + name.toUtf8()); }
};

// Handlers of test functions read the running call through the active document.
CFxFunctionInterface* active() { return ACTIVE_DOCUMENT()->GetFunctionInterface(); }

int echoArguments() {
  resbuf* args = active()->GetArguments();
  active()->ReturnList(args);
  active()->ReleaseChain(args);
  return 1;
}

int returnsNil() {
  active()->ReturnNil();
  return 1;
}

int throwsError() { throw OdError(eInvalidInput); }

TEST(HostKernel, OpeningAndClosingNotifyReactorsInOrder) {
  FakeHost host;
  RecordingReactor reactor;
  host.documents().AddReactor(&reactor);
  CFxDocument* a = host.open(OdDbDatabase::createNew(), "a.dxf");
  EXPECT_EQ(reactor.events, (std::vector<std::string>{"created", "activated", "ready"}));
  EXPECT_EQ(ACTIVE_DOCUMENT(), a);
  CFxDocument* b = host.open(OdDbDatabase::createNew(), "b.dxf");
  EXPECT_EQ(ACTIVE_DOCUMENT(), b);
  EXPECT_EQ(host.documents().DocumentCount(), 2);
  EXPECT_EQ(host.documents().GetDocument(0), a);
  EXPECT_EQ(host.documents().GetDocument(2), nullptr);

  reactor.events.clear();
  host.documents().CloseDocument(b);
  EXPECT_EQ(reactor.events, (std::vector<std::string>{"closing", "to be destroyed", "activated", "destroyed b.dxf"}));
  EXPECT_EQ(ACTIVE_DOCUMENT(), a);
  host.documents().RemoveReactor(&reactor);
}

TEST(HostKernel, FunctionsAreCalledWithCopiesOfTheirArguments) {
  FakeHost host;
  CFxDocument* doc = host.open(OdDbDatabase::createNew());
  CFxFunctionInterface* f = doc->GetFunctionInterface();
  f->AddFunction(u"echo", &echoArguments);
  f->AddFunction(u"nada", &returnsNil);
  EXPECT_EQ(f->FunctionNames(), (std::vector<OdString>{OdString(u"echo"), OdString(u"nada")}));

  resbuf* args = stringChain({"um", "dois"});
  CFxFunctionInterface::CallResult r = f->CallFunction(OdString(u"echo"), args);
  fxReleaseChain(args);
  ASSERT_EQ(r.kind, CFxFunctionInterface::CallResult::kList);
  EXPECT_EQ(chainStrings(r.list), (std::vector<std::string>{"um", "dois"}));
  fxReleaseChain(r.list);

  EXPECT_EQ(f->CallFunction(OdString(u"nada"), nullptr).kind, CFxFunctionInterface::CallResult::kNil);
  f->RemoveFunction(u"nada");
  EXPECT_FALSE(f->HasFunction(OdString(u"nada")));
  EXPECT_THROW(f->CallFunction(OdString(u"nada"), nullptr), std::out_of_range);
}

TEST(HostKernel, AnExceptionFromAHandlerReachesTheHost) {
  FakeHost host;
  CFxFunctionInterface* f = host.open(OdDbDatabase::createNew())->GetFunctionInterface();
  f->AddFunction(u"boom", &throwsError);
  resbuf* args = stringChain({"x"});
  EXPECT_THROW(f->CallFunction(OdString(u"boom"), args), OdError);
  fxReleaseChain(args);
}

TEST(HostKernel, VariablesAndHostFunctionsComeFromTheScriptEnvironment) {
  FakeHost host;
  CFxFunctionInterface* f = host.open(OdDbDatabase::createNew())->GetFunctionInterface();
  host.script().setString("*ZRATTPINO*", "TAG");
  resbuf* value = nullptr;
  ASSERT_EQ(f->GetVariable(u"*ZRATTPINO*", &value), RTNORM);
  EXPECT_EQ(chainStrings(value), (std::vector<std::string>{"TAG"}));
  f->ReleaseChain(value);
  EXPECT_NE(f->GetVariable(u"*UNSET*", &value), RTNORM);
  EXPECT_EQ(value, nullptr);

  host.script().defineFunction("buscaProximaRelAuto", [](const resbuf* args) {
    std::string prefix = chainStrings(args).at(0);
    return stringChain({prefix + "3"});
  });
  resbuf* call = stringChain({"buscaProximaRelAuto", "X"});
  resbuf* result = nullptr;
  ASSERT_EQ(f->InvokeFunction(call, &result), RTNORM);
  EXPECT_EQ(chainStrings(result), (std::vector<std::string>{"X3"}));
  f->ReleaseChain(result);
  fxReleaseChain(call);
  call = stringChain({"naoExiste"});
  EXPECT_NE(f->InvokeFunction(call, &result), RTNORM);
  fxReleaseChain(call);

  int chosen = -1;
  host.script().setColourAnswer(5);
  EXPECT_EQ(f->ColorDialog(nullptr, 256, 0, &chosen), RTNORM);
  EXPECT_EQ(chosen, 5);
  EXPECT_EQ(host.script().lastColourInitial(), 256);
}

TEST(HostKernel, EntityNamesLeadBackToTheirObjectsWhileTheDocumentIsOpen) {
  FakeHost host;
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  CFxDocument* doc = host.open(db);
  ads_name name = {0, 0};
  ASSERT_EQ(CFxAPI::GetADSName(pin, name), RTNORM);
  ads_name again = {0, 0};
  CFxAPI::GetADSName(pin, again);
  EXPECT_EQ(name[0], again[0]);
  EXPECT_EQ(name[1], again[1]);
  EXPECT_EQ(CFxAPI::GetObjectId(name), pin);

  // An object of a drawing that no document holds has no entity name.
  OdDbDatabasePtr loose = OdDbDatabase::createNew();
  OdDbObjectId other = addPin(*loose, "PIN-A", "X1", "C", "1", 0, 0);
  EXPECT_EQ(CFxAPI::GetADSName(other, again), RTERROR);

  host.documents().CloseDocument(doc);
  EXPECT_TRUE(CFxAPI::GetObjectId(name).isNull());
}

TEST(HostKernel, SystemServicesCanBeAbsent) {
  CFxSystemServices* previous = FxInstallSystemServices(nullptr);
  EXPECT_EQ(GetFxSystemServices(), nullptr);
  EXPECT_EQ(ACTIVE_DOCUMENT(), nullptr);
  FxInstallSystemServices(previous);
  EXPECT_EQ(GetFxSystemServices(), previous);
}

}  // namespace
