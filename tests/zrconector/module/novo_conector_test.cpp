// NovoConector as the suite calls it: the proposal from the suite's
// "buscaProximaRelAuto" for the component's reference prefix, or the
// reference given; the names placed in the drawing refused; the name and the
// automatic-name flag back, or nil. The dialog is driven as a user would.
#include <gtest/gtest.h>

#include "command_fixture.h"
#include "dialogs/Resource.h"
#include "prmset/prmset.h"
#include "zrui/testing.h"

using namespace testing_support;

namespace {

using Kind = CFxFunctionInterface::CallResult::Kind;

class NovoConectorCommand : public zrtest::CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    zrui::SetModalIdleTimeout(std::chrono::seconds(5));
    script().setString("*NORMA_UTILIZADA*", "IEC");
    // The suite's next name: the prefix and 3; each call is noted.
    script().defineFunction("buscaProximaRelAuto", [this](const resbuf* args) {
      invocations.push_back(chainStrings(args));
      return stringChain({chainStrings(args).empty() ? "?" : chainStrings(args)[0] + "3"});
    });
  }
  void TearDown() override {
    zrui::ClearModalScripts();
    CommandFixture::TearDown();
  }
  FakeScriptEnvironment& script() { return env->host().script(); }

  // Calls NovoConector while `user` drives its dialog, noting what the
  // dialog showed when it opened. Returns the strings of a list result, or
  // {"nil"}.
  std::vector<std::string> run(const std::vector<std::string>& args, std::function<void(HWND)> user) {
    shown = "<no dialog>";
    zrui::OnNextModal([this, user](HWND dlg) {
      combo = GetDlgItem(dlg, IDC_NOVO_CONECTOR_NOME);
      ok = GetDlgItem(dlg, IDOK);
      shown = CString(GetWindowTextString(combo)).ToUtf8();
      user(dlg);
    });
    auto result = call("NovoConector", args);
    EXPECT_EQ(zrui::PendingModalScripts(), 0u) << "the dialog was not shown";
    if (result.kind == Kind::kNil) return {"nil"};
    EXPECT_EQ(result.kind, Kind::kList);
    std::vector<std::string> out = chainStrings(result.list);
    fxReleaseChain(result.list);
    return out;
  }
  // A pin symbol of connector `name` on a layer that the name listing reads.
  void placed(const std::string& name, double x) {
    OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
    if (!table->has(u("PIN-A"))) addBlock(*db, "PIN-A", {{"ID_PINO", "Pino", false}});
    Reference r = at("PIN-A", x, 0, {{"ID_PINO", "1"}});
    r.xdata = {name, "CM02M", "S"};
    r.layer = "ESQ";
    addReference(*db, r);
  }
  static void accept(HWND) { zrui::PressKey(VK_RETURN); }
  static void cancel(HWND) { zrui::PressKey(VK_ESCAPE); }

  std::vector<std::vector<std::string>> invocations;
  std::string shown;
  HWND combo = nullptr, ok = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(NovoConectorCommand, TheSuitesNextNameForTheComponentIsProposed) {
  // CM02M has reference prefix "XC" in the standard "IEC".
  EXPECT_EQ(run({"CM02M"}, accept), (Strings{"XC3", "S"}));
  EXPECT_EQ(shown, "XC3");
  EXPECT_EQ(invocations, (std::vector<Strings>{{"XC"}}));
  EXPECT_EQ(run({"CM02M"},
                [](HWND) {
                  zrui::Type(u"xc3");
                  zrui::PressKey(VK_RETURN);
                }),
            (Strings{"xc3", "N"}))
      << "the proposal in other letters is another name";
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(NovoConectorCommand, AGivenReferenceIsProposedWithoutAskingTheSuite) {
  EXPECT_EQ(run({"CM02M", "J7"}, accept), (Strings{"J7", "S"}));
  EXPECT_EQ(shown, "J7");
  EXPECT_TRUE(invocations.empty());
  // An empty reference is no reference; nor is one that is not a string.
  EXPECT_EQ(run({"CM02M", ""}, accept), (Strings{"XC3", "S"}));
  resbuf* args = stringChain({"CM02M"});
  args->rbnext = fxNewNode(RTSHORT);
  zrui::OnNextModal([](HWND) { zrui::PressKey(VK_RETURN); });
  auto result = doc->GetFunctionInterface()->CallFunction(u("NovoConector"), args);
  fxReleaseChain(args);
  ASSERT_EQ(result.kind, Kind::kList);
  EXPECT_EQ(chainStrings(result.list), (Strings{"XC3", "S"}));
  fxReleaseChain(result.list);
  EXPECT_EQ(invocations.size(), 2u);
}

TEST_F(NovoConectorCommand, WithoutArgumentsTheDialogOpensWithAnEmptyReference) {
  EXPECT_EQ(run({},
                [this](HWND) {
                  EXPECT_FALSE(IsWindowEnabled(ok));
                  zrui::Type(u"P1");
                  EXPECT_TRUE(IsWindowEnabled(ok));
                  zrui::PressKey(VK_RETURN);
                }),
            (Strings{"P1", "N"}));
  EXPECT_EQ(shown, "");
  EXPECT_TRUE(invocations.empty());
}

TEST_F(NovoConectorCommand, AMissingComponentRowAsksForTheEmptyPrefix) {
  EXPECT_EQ(run({"NADA"}, cancel), Strings{"nil"});
  // Without the standard in use no row matches either.
  script().unset("*NORMA_UTILIZADA*");
  EXPECT_EQ(run({"CM02M"}, cancel), Strings{"nil"});
  EXPECT_EQ(invocations, (std::vector<Strings>{{""}, {""}}));
  EXPECT_EQ(shown, "3");
}

TEST_F(NovoConectorCommand, NoStringFromTheSuiteKeepsTheReferenceEmpty) {
  const std::vector<std::pair<const char*, FakeScriptEnvironment::Function>> answers = {
      {"a number", [](const resbuf*) {
         resbuf* n = fxNewNode(RTSHORT);
         n->resval.rint = 3;
         return n;
       }},
      {"nothing", [](const resbuf*) { return static_cast<resbuf*>(nullptr); }},
      {"a number, then a string", [](const resbuf*) {
         resbuf* n = fxNewNode(RTSHORT);
         n->rbnext = stringChain({"XC3"});
         return n;
       }},
  };
  for (const auto& [what, answer] : answers) {
    SCOPED_TRACE(what);
    script().defineFunction("buscaProximaRelAuto", answer);
    EXPECT_EQ(run({"CM02M"}, cancel), Strings{"nil"});
    EXPECT_EQ(shown, "");
  }
}

// A suite whose "buscaProximaRelAuto" answers a name with a given status.
class StatusScript : public FxScriptEnvironment {
 public:
  explicit StatusScript(int status) : status_(status) {}
  int Invoke(const OdString&, const resbuf*, resbuf** result) override {
    *result = stringChain({"XC9"});
    return status_;
  }
  int GetVariable(const OdString&, resbuf** result) override {
    *result = stringChain({"IEC"});
    return RTNORM;
  }
  int ColorDialog(int, int*) override { return RTERROR; }

 private:
  int status_;
};

TEST_F(NovoConectorCommand, OnlyACompletedCallOfTheSuiteGivesTheReference) {
  CFxDocumentManager* documents = GetFxSystemServices()->GetDocumentManager();
  FxScriptEnvironment* before = documents->ScriptEnvironment();
  for (int status : {static_cast<int>(RTERROR), -5002, static_cast<int>(RTNORM)}) {
    SCOPED_TRACE(status);
    StatusScript suite(status);
    documents->SetScriptEnvironment(&suite);
    EXPECT_EQ(run({"CM02M"}, cancel), Strings{"nil"});
    // The chain that came back is released whatever the status (the leak
    // checker of the sanitizer build watches).
    EXPECT_EQ(shown, status == RTNORM ? "XC9" : "");
  }
  documents->SetScriptEnvironment(before);
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(NovoConectorCommand, NamesPlacedInTheDrawingAreRefused) {
  placed("XC3", 0);
  placed("XC4", 10);
  EXPECT_EQ(run({"CM02M"},
                [this](HWND) {
                  EXPECT_FALSE(IsWindowEnabled(ok)) << "the proposal is placed";
                  zrui::Type(u"XC4");
                  EXPECT_FALSE(IsWindowEnabled(ok));
                  zrui::Type(u"0");
                  EXPECT_TRUE(IsWindowEnabled(ok));
                  zrui::PressKey(VK_RETURN);
                }),
            (Strings{"XC40", "N"}));
}

TEST_F(NovoConectorCommand, CancellingGivesNil) {
  EXPECT_EQ(run({"CM02M"}, cancel), Strings{"nil"});
  EXPECT_EQ(run({"CM02M"}, [](HWND dlg) { zrui::CloseByTitleBar(dlg); }), Strings{"nil"});
  EXPECT_TRUE(boxTexts().empty()) << boxTexts().front();
}

TEST_F(NovoConectorCommand, WithoutTheTextsComponentTheUserIsToldAndGetsNil) {
  zrtest::MissingClass texts(CLSID_ZrTexts);
  auto result = call("NovoConector", {"CM02M"});
  EXPECT_EQ(result.kind, Kind::kNil);
  EXPECT_EQ(boxTexts(), Strings{"Fatal Error"});
}

}  // namespace
