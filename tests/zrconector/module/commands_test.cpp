// The command functions in their frame: the catalogue connection opened on
// first use, failures turned into a box and the failure result, and the three
// drawing queries (dictionary refresh, entity name of a connector, listing).
#include <gtest/gtest.h>

#include <zrui/afx.h>

#include "zrdwg/OdDbDictionary.h"
#include "command_fixture.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

using zrtest::kProgram;
using Commands = zrtest::CommandFixture;

using Kind = CFxFunctionInterface::CallResult::Kind;

TEST_F(Commands, TheFirstCallOpensTheCatalogueOnce) {
  EXPECT_FALSE(zr::ConnectionOpened());
  EXPECT_EQ(call("BuscaListaConectores").kind, Kind::kNil);
  EXPECT_TRUE(zr::ConnectionOpened());
  EXPECT_TRUE(CIBancoDados::Instance()->IsConnected());
  // Without settings a new opening would fail: the second call does not open again.
  env->RemoveSettingsFile(kProgram);
  EXPECT_EQ(call("BuscaListaConectores").kind, Kind::kNil);
  EXPECT_TRUE(boxTexts().empty()) << boxTexts().front();
}

TEST_F(Commands, AFailedOpeningIsReportedAndTriedAgain) {
  env->RemoveSettingsFile(kProgram);
  EXPECT_EQ(call("GetEnameConector", {"X1"}).kind, Kind::kNil);
  EXPECT_EQ(call("AtualizarDicConectores").kind, Kind::kVoid);
  // The settings component says what failed, then the frame.
  const std::vector<std::string> once = {"Unable to load the settings file.", "Fatal Error"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(boxTexts(), twice);
  EXPECT_FALSE(zr::ConnectionOpened());
  env->WriteDatabaseSettings(kProgram, "MDB", catalogue->folder(), catalogue->file_name());
  EXPECT_EQ(call("BuscaListaConectores").kind, Kind::kNil);
  EXPECT_TRUE(zr::ConnectionOpened());
  EXPECT_EQ(boxes.shown().size(), 4u);
}

TEST_F(Commands, DrawingErrorsShowTheirDescription) {
  // A connector dictionary entry that is not a dictionary.
  OdDbDictionaryPtr root = db->getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
  root->setAt(u("TRV_ZR_DIC_CONECTORES"), OdDbXrecord::createObject());
  root.release();
  pin("X1", "AM04M", "1", 0, 0);
  EXPECT_EQ(call("AtualizarDicConectores").kind, Kind::kVoid);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("AcDbXrecord"), std::string::npos) << boxTexts()[0];
}

TEST_F(Commands, EntityNamesOfRefreshedConnectorsOnly) {
  pin("X1", "AM04M", "1", 0, 0);
  EXPECT_EQ(call("GetEnameConector", {"X1"}).kind, Kind::kNil) << "not refreshed yet";
  EXPECT_EQ(call("AtualizarDicConectores").kind, Kind::kVoid);
  auto r = call("GetEnameConector", {"X1"});
  ASSERT_EQ(r.kind, Kind::kEntityName);
  OdDbObjectId entry = CFxAPI::GetObjectId(r.entity);
  OdDbDictionaryPtr connectors =
      OdDbDictionaryPtr(OdDbDictionaryPtr(db->getNamedObjectsDictionaryId().safeOpenObject())
                            ->getAt(u("TRV_ZR_DIC_CONECTORES"), OdDb::kForRead));
  EXPECT_EQ(entry, connectors->getAt(u("X1")));
  EXPECT_EQ(call("GetEnameConector", {"x1"}).kind, Kind::kNil);
  EXPECT_EQ(call("GetEnameConector", {"X9"}).kind, Kind::kNil);

  // A number is no name: nil, and no box.
  resbuf* number = fxNewNode(RTREAL);
  number->resval.rreal = 1.0;
  EXPECT_EQ(doc->GetFunctionInterface()->CallFunction(u("GetEnameConector"), number).kind, Kind::kNil);
  fxReleaseChain(number);
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Commands, TheListingIsSortedAndHoldsConnectorsInBothDictionaryAndDrawing) {
  EXPECT_EQ(call("BuscaListaConectores").kind, Kind::kNil);
  pin("X2", "AM04F", "1", 0, 0, "N");
  pin("X1", "AM04M", "1", 10, 0);
  call("AtualizarDicConectores");
  pin("X3", "AM04M", "1", 20, 0);  // placed after the refresh: not listed
  auto r = call("BuscaListaConectores");
  ASSERT_EQ(r.kind, Kind::kList);
  std::vector<std::string> lines = chainStrings(r.list);
  fxReleaseChain(r.list);
  ASSERT_EQ(lines.size(), 2u);
  const std::string x1 = CFxAPI::GetObjectId(call("GetEnameConector", {"X1"}).entity).getHandle().hex();
  EXPECT_EQ(lines[0], "X1\fS\f" + x1 + "\fAM04M");
  EXPECT_EQ(lines[1].substr(0, 5), "X2\fN\f");
}

TEST_F(Commands, RefreshKeepsEntriesOfDeletedConnectors) {
  pin("X1", "AM04M", "1", 0, 0);
  addPin(*db, "PIN-A", "X2", "AM04M", "1", 200, 200);
  call("AtualizarDicConectores");
  // Delete X2's symbol and refresh: the entry stays, the listing drops it.
  OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
  for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step()) {
    OdDbBlockReferencePtr ref = OdDbBlockReference::cast(it->entity().get());
    if (ref && ref->position().x == 200) it->entity(OdDb::kForWrite)->erase();
  }
  call("AtualizarDicConectores");
  EXPECT_EQ(call("GetEnameConector", {"X2"}).kind, Kind::kEntityName);
  auto r = call("BuscaListaConectores");
  std::vector<std::string> lines = chainStrings(r.list);
  fxReleaseChain(r.list);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 3), "X1\f");
}

TEST_F(Commands, TheDictionarySurvivesSavingAndReading) {
  pin("X1", "AM04M", "1", 0, 0);
  pin("Conexão 2", "AM04F", "1", 5, 0);
  call("AtualizarDicConectores");
  TempDir dir;
  db->writeDxf(u(dir.file("d.dxf").c_str()));
  OdDbDatabasePtr back = OdDbDatabase::readDxf(u(dir.file("d.dxf").c_str()));
  OdDbDictionaryPtr root = back->getNamedObjectsDictionaryId().safeOpenObject();
  OdDbDictionaryPtr connectors = root->getAt(u("TRV_ZR_DIC_CONECTORES"), OdDb::kForRead);
  ASSERT_FALSE(connectors.isNull());
  std::vector<std::string> keys;
  for (OdDbDictionaryIteratorPtr it = connectors->newIterator(OdRx::kDictSorted); !it->done(); it->next()) {
    keys.push_back(it->name().toUtf8());
    EXPECT_FALSE(OdDbDictionaryPtr(it->getObject()).isNull());
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"Conexão 2", "X1"}));
}

TEST_F(Commands, TheConnectorsScreenIgnoresItsArgumentsAndGivesVoidAlsoWhenCancelled) {
  zrui::SetModalIdleTimeout(std::chrono::seconds(5));
  pin("X1", "AM04M", "1", 0, 0);
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, std::vector<std::string>{"X1", "7"}}) {
    int connectors = -1;
    zrui::OnNextModal([&](HWND dlg) {
      connectors = static_cast<int>(::SendDlgItemMessageW(dlg, 50102, LVM_GETITEMCOUNT, 0, 0));
      zrui::Click(::GetDlgItem(dlg, IDCANCEL));
    });
    EXPECT_EQ(call("zrConectores", args).kind, Kind::kVoid);
    EXPECT_EQ(connectors, 1) << "the screen showed the drawing's connector";
  }
  EXPECT_EQ(zrui::AbandonedModalLoops(), 0);
  EXPECT_TRUE(boxTexts().empty()) << boxTexts().front();
}

}  // namespace
