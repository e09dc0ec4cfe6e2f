// zrhost with the test module: module functions, host functions, variables,
// drawings and message boxes, through scripts as a user writes them.

#include "zrdwg/OdDbDatabase.h"
#include "connector_names.h"
#include "drawings_fixture.h"

namespace {

using zrhost_testing::describe;
using zrhost_testing::Outcome;
using zrhost_testing::runWithTestModule;

TEST_F(ZrhostRun, ScriptDrivesTheModuleThroughEveryKindOfValue) {
  Outcome o = runWithTestModule(folder(), {"--program", "zrtest-program", "--script",
                                           ZRHOST_TEST_SCRIPTS "/module_functions.scm", "a.dxf", "b.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  // The colour and file dialogs that no one could answer are printed.
  EXPECT_EQ(o.out,
            "[Colour]\n  Index 7 (255,255,255)\n  -> Cancel\n"
            "[Abrir]\n  /d (Drawings|*.dwg)\n  -> Cancel\n"
            "all checks ran\n")
      << describe(o);
  // The failing host function called by the module is reported, not fatal.
  EXPECT_NE(o.err.find("host function host-fails"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("host function no-such-procedure"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("(exit) is not possible here"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("cannot be closed while a module function runs"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("host function host-escapes: a continuation tried to leave"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("from another thread than the console's; refused"), std::string::npos) << describe(o);
  EXPECT_EQ(o.err.find("WARNING"), std::string::npos) << describe(o);
}

TEST_F(ZrhostRun, FailingScriptExitsWithTheErrorAndItsLine) {
  write("fails.scm", "(define x 1)\n(zrtEcho x)\n(car '())\n(display \"not reached\")\n");
  Outcome o = runWithTestModule(folder(), {"--script", "fails.scm", "a.dxf"});
  EXPECT_EQ(o.status, 1) << describe(o);
  EXPECT_NE(o.err.find("fails.scm:3"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("car"), std::string::npos) << describe(o);
  EXPECT_EQ(o.out.find("not reached"), std::string::npos) << describe(o);
}

TEST_F(ZrhostRun, ScriptEndsWithTheStatusGivenToExit) {
  write("exit.scm", "(display \"before\")\n(exit 3)\n(display \"after\")\n");
  Outcome o = runWithTestModule(folder(), {"--script", "exit.scm"});
  EXPECT_EQ(o.status, 3) << describe(o);
  EXPECT_EQ(o.out, "before");
}

TEST_F(ZrhostRun, ScriptsThatDoNotReadOrExist) {
  write("unbalanced.scm", "(display \"x\"\n");
  Outcome o = runWithTestModule(folder(), {"--script", "unbalanced.scm"});
  EXPECT_EQ(o.status, 1) << describe(o);
  EXPECT_NE(o.err.find("unbalanced.scm"), std::string::npos) << describe(o);
  o = runWithTestModule(folder(), {"--script", "missing.scm"});
  EXPECT_EQ(o.status, 1) << describe(o);
  EXPECT_NE(o.err.find("missing.scm"), std::string::npos) << describe(o);
}

TEST_F(ZrhostRun, EvalPrintsTheValueOfTheLastExpression) {
  Outcome o = runWithTestModule(folder(), {"--eval", "(define n 2) (zrtEcho \"a\" n (list 1.5))", "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(\"a\" 2 (1.5))\n");
  EXPECT_EQ(o.err, "");
  o = runWithTestModule(folder(), {"--eval", "(zrtNil)", "--eval", "(zrtVoid)", "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "()\n");
  o = runWithTestModule(folder(), {"--eval", "(zrtEcho 'oops)", "--eval", "(display \"not reached\")", "a.dxf"});
  EXPECT_EQ(o.status, 1) << describe(o);
  EXPECT_NE(o.err.find("zrtEcho"), std::string::npos) << describe(o);
  EXPECT_EQ(o.out, "");
}

TEST_F(ZrhostRun, LoadedFilesRunBeforeTheConsole) {
  write("defs.scm", "(define greeting \"olá\")\n");
  Outcome o = runWithTestModule(folder(), {"--load", "defs.scm", "a.dxf"}, "(zrtEcho greeting)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(\"olá\")\n");
}

TEST_F(ZrhostRun, DrawingThatFailsToLoadIsReportedAndTheOthersOpen) {
  write("broken.dxf", "0\nSECTION\n2\nHEADER\n");
  Outcome o = runWithTestModule(folder(), {"--eval", "(list (drawings) (drawing-active) (module-functions))",
                                           "a.dxf", "broken.dxf", "missing.dxf", "b.dxf"});
  // The run goes on with the others, but it did not do all it was asked.
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_NE(o.err.find("cannot open broken.dxf"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("cannot open missing.dxf"), std::string::npos) << describe(o);
  EXPECT_EQ(o.out.rfind("((\"a.dxf\" \"b.dxf\") 1 (\"zrtEcho\"", 0), 0u) << describe(o);
}

TEST_F(ZrhostRun, SaveAndSaveAsWriteTheDrawing) {
  write("save.scm",
        "(drawing-save-as \"copy.dxf\")\n"
        "(display (drawings))\n"
        "(drawing-save)\n"
        "(catch 'drawing-error\n"
        "  (lambda () (drawing-save-as \"no-such-folder/x.dxf\") (exit 4))\n"
        "  (lambda (key . args) (display \" refused\")))\n"
        "(display (drawings))\n");
  Outcome o = runWithTestModule(folder(), {"--script", "save.scm", "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(copy.dxf) refused(copy.dxf)");
  OdDbDatabasePtr copy = OdDbDatabase::readDxf(testing_support::u(file("copy.dxf").c_str()));
  ASSERT_EQ(zrhost::connectorNames(*copy).size(), 2u);
  EXPECT_EQ(zrhost::connectorNames(*copy)[1].toUtf8(), "X2");
}

TEST_F(ZrhostRun, MessageBoxesArePrintedAndAnswered) {
#ifndef ZRHOST_TESTS_WITH_TOOLKIT
  GTEST_SKIP() << "built without the window toolkit";
#endif
  // MB_OK = 0, MB_OKCANCEL = 1, MB_YESNO = 4, MB_YESNO | MB_DEFBUTTON1 with Yes first.
  Outcome o = runWithTestModule(
      folder(),
      {"--eval", "(list (zrtMessage \"Linha 1\nLinha 2\" \"Aviso\" 0) (zrtMessage \"Continuar?\" \"Pergunta\" 4)"
                 " (zrtMessage \"Gravar?\" \"Gravar\" 1))",
       "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out,
            "[Aviso]\n  Linha 1\n  Linha 2\n  -> OK\n"
            "[Pergunta]\n  Continuar?\n  -> No\n"
            "[Gravar]\n  Gravar?\n  -> OK\n"
            "((1) (7) (1))\n");
  EXPECT_EQ(o.err, "");
}

TEST_F(ZrhostRun, EntityNamesPrintWithTheirHandle) {
  Outcome o = runWithTestModule(folder(), {"--eval", "(let ((e (zrtFirstReference))) (list e (entity-name-handle e)))",
                                           "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  const std::size_t handleAt = o.out.rfind(" \"");
  ASSERT_NE(handleAt, std::string::npos) << describe(o);
  const std::string handle = o.out.substr(handleAt + 2, o.out.find('"', handleAt + 2) - handleAt - 2);
  EXPECT_EQ(o.out.rfind("(#<entity-name ", 0), 0u) << describe(o);
  EXPECT_NE(o.out.find(" handle " + handle + "> \""), std::string::npos) << describe(o);
}

}  // namespace
