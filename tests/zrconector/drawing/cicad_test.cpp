// The drawing access layer: current drawing, program name, host variables, and
// attributes of block references.
#include <gtest/gtest.h>

#include <memory>

#include "drawing/CICad.h"
#include "drawing_builder.h"
#include "fake_host.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

// A list with its records, freed together.
struct Attributes {
  zr::CEListaAtributos* list = nullptr;
  ~Attributes() {
    if (list) {
      list->FreeRecords();
      delete list;
    }
  }
  std::vector<std::tuple<std::string, std::string, std::string>> rows() const {
    std::vector<std::tuple<std::string, std::string, std::string>> out;
    for (int i = 0; i < list->GetSize(); ++i) {
      zr::CEAtributo* a = list->GetAt(i);
      out.emplace_back(a->GetTag().toUtf8(), a->GetPrompt().toUtf8(), a->GetValor().toUtf8());
    }
    return out;
  }
};

class Cad : public ::testing::Test {
 protected:
  void SetUp() override { doc = host.open(db); }
  FakeHost host;
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  CFxDocument* doc = nullptr;
  CICad cad;
};

TEST_F(Cad, DatabaseIsTheActiveDocumentsDrawing) {
  EXPECT_EQ(CICad::GetDatabase().get(), db.get());
  host.documents().CloseAll();
  EXPECT_TRUE(CICad::GetDatabase().isNull());
}

TEST_F(Cad, ProgramNameComesFromTheSystemVariable) {
  EXPECT_EQ(cad.GetPrograma().toUtf8(), "");
  OdDbDatabase::setHostSysVar(u("PROGRAM"), OdResBuf::newRb(OdResBuf::kDxfText, u("zrhost")));
  EXPECT_EQ(cad.GetPrograma().toUtf8(), "zrhost");
  OdDbDatabase::setHostSysVar(u("PROGRAM"), nullptr);
}

TEST_F(Cad, VariablesGiveTheirTextOrTheDefault) {
  const OdString tag = u("*ZRATTPINO*"), dflt = u("ID_PINO");
  EXPECT_EQ(cad.GetVariavel(tag, dflt).toUtf8(), "ID_PINO");
  host.script().setString("*ZRATTPINO*", "PINO");
  EXPECT_EQ(cad.GetVariavel(tag, dflt).toUtf8(), "PINO");
  host.script().setNumber("*ZRATTPINO*", 3);
  EXPECT_EQ(cad.GetVariavel(tag, dflt).toUtf8(), "ID_PINO");
  host.script().setList("*ZRATTPINO*", {"A", "B"});
  EXPECT_EQ(cad.GetVariavel(tag, dflt).toUtf8(), "ID_PINO");
  host.script().setString("*NORMA_UTILIZADA*", "");
  EXPECT_EQ(cad.GetVariavel(u("*NORMA_UTILIZADA*"), u("x")).toUtf8(), "");
}

TEST_F(Cad, AttributeValuesAreTrimmed) {
  addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}, {"NOTE", "Nota"}});
  OdDbObjectId ref = addReference(*db, at("PIN-A", 0, 0, {{"ID_PINO", "  12 \t"}, {"NOTE", "   "}}));
  Attributes a;
  ASSERT_EQ(cad.GetAtributos(ref, a.list, true), 0);
  EXPECT_EQ(a.rows(), (decltype(a.rows()){{"ID_PINO", "Pino", "12"}, {"NOTE", "Nota", ""}}));
}

TEST_F(Cad, PromptsPairWithNonConstantDefinitionsByPosition) {
  addBlock(*db, "BLK", {{"K", "Constante", true}, {"B", "Prompt B"}, {"C", ""}});
  OdDbObjectId inOrder = addReference(*db, at("BLK", 0, 0, {{"B", "b"}, {"C", "c"}}));
  OdDbObjectId swapped = addReference(*db, at("BLK", 5, 0, {{"C", "c"}, {"B", "b"}}));
  Attributes a, s, none;
  cad.GetAtributos(inOrder, a.list, true);
  cad.GetAtributos(swapped, s.list, true);
  // C's definition has no prompt: its tag stands in.
  EXPECT_EQ(a.rows(), (decltype(a.rows()){{"B", "Prompt B", "b"}, {"C", "C", "c"}}));
  EXPECT_EQ(s.rows(), (decltype(s.rows()){{"C", "Prompt B", "c"}, {"B", "B", "b"}}));
  cad.GetAtributos(inOrder, none.list, false);
  EXPECT_EQ(none.rows(), (decltype(none.rows()){{"B", "", "b"}, {"C", "", "c"}}));
}

TEST_F(Cad, ErasedNullAndWrongClassIdentifiers) {
  addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
  OdDbObjectId ref = addReference(*db, at("PIN-A", 0, 0, {{"ID_PINO", "1"}}));
  zr::CEListaAtributos* untouched = reinterpret_cast<zr::CEListaAtributos*>(0x1);
  EXPECT_EQ(cad.GetAtributos(OdDbObjectId(), untouched, true), 2);
  EXPECT_EQ(untouched, reinterpret_cast<zr::CEListaAtributos*>(0x1));
  ref.openObject(OdDb::kForWrite)->erase();
  EXPECT_EQ(cad.GetAtributos(ref, untouched, true), 2);
  EXPECT_EQ(untouched, reinterpret_cast<zr::CEListaAtributos*>(0x1));
  EXPECT_FALSE(cad.SetAtributo(ref, u("ID_PINO"), u("9")));

  // A dictionary is not a block reference.
  Attributes a;
  EXPECT_THROW(cad.GetAtributos(db->getNamedObjectsDictionaryId(), a.list, true), OdError_NotThatKindOfClass);
  EXPECT_THROW(cad.SetAtributo(db->getNamedObjectsDictionaryId(), u("X"), u("Y")), OdError_NotThatKindOfClass);
  EXPECT_THROW(cad.SetTextoAtributo(db->getNamedObjectsDictionaryId(), u("Y")), OdError_NotThatKindOfClass);
}

TEST_F(Cad, SetAtributoComparesTagsCaseSensitivelyAndChangesTheFirstMatch) {
  addBlock(*db, "BLK", {{"TAG", ""}, {"TAG", ""}});
  OdDbObjectId ref = addReference(*db, at("BLK", 0, 0, {{"TAG", "a"}, {"TAG", "b"}}));
  EXPECT_TRUE(cad.SetAtributo(ref, u("tag"), u("changed")));
  Attributes before;
  cad.GetAtributos(ref, before.list, true);
  EXPECT_EQ(before.list->GetAt(0)->GetValor().toUtf8(), "a");
  EXPECT_TRUE(cad.SetAtributo(ref, u("TAG"), u("novo")));
  Attributes after;
  cad.GetAtributos(ref, after.list, true);
  EXPECT_EQ(after.list->GetAt(0)->GetValor().toUtf8(), "novo");
  EXPECT_EQ(after.list->GetAt(1)->GetValor().toUtf8(), "b");
}

TEST_F(Cad, SetTextoAtributoNeedsAnAttribute) {
  addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
  OdDbObjectId ref = addReference(*db, at("PIN-A", 0, 0, {{"ID_PINO", "1"}}));
  EXPECT_FALSE(cad.SetTextoAtributo(OdDbObjectId(), u("x")));
  Attributes a;
  cad.GetAtributos(ref, a.list, true);
  const OdDbObjectId attribute = a.list->GetAt(0)->GetAtributo();
  EXPECT_TRUE(cad.SetTextoAtributo(attribute, u("Ação")));
  OdDbAttributePtr written = attribute.safeOpenObject();
  EXPECT_EQ(written->textString().toUtf8(), "Ação");
}

}  // namespace
