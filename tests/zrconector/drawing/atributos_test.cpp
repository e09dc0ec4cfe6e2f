// Attribute records and lists.
#include <gtest/gtest.h>

#include "drawing/CICad.h"
#include "drawing_builder.h"
#include "fake_host.h"

using namespace testing_support;

namespace {

TEST(CEListaAtributos, FindIgnoresLetterCase) {
  zr::CEListaAtributos list;
  EXPECT_EQ(list.Find(u("ID_PINO")), nullptr);
  list.Add(new zr::CEAtributo(u("NOTE"), u(""), u("n"), OdDbObjectId(), false));
  list.Add(new zr::CEAtributo(u("ID_PINO"), u(""), u("1"), OdDbObjectId(), false));
  list.Add(new zr::CEAtributo(u("id_pino"), u(""), u("2"), OdDbObjectId(), false));
  zr::CEAtributo* found = list.Find(u("id_Pino"));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->GetValor().toUtf8(), "1");
  EXPECT_EQ(list.Find(u("ÇÃO")), nullptr);
  list.FreeRecords();
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(CEAtributo, SetValorWritesTheDrawingFirst) {
  FakeHost host;
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  host.open(db);
  addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
  OdDbObjectId ref = addReference(*db, at("PIN-A", 0, 0, {{"ID_PINO", "1"}}));
  CICad cad;
  zr::CEListaAtributos* list = nullptr;
  ASSERT_EQ(cad.GetAtributos(ref, list, true), 0);
  zr::CEAtributo* record = list->GetAt(0);
  EXPECT_EQ(record->SetValor(u("7")).toUtf8(), "7");
  OdDbAttributePtr attribute = record->GetAtributo().safeOpenObject();
  EXPECT_EQ(attribute->textString().toUtf8(), "7");
  attribute.release();

  // Null identifier: nothing written, the record still takes the value.
  zr::CEAtributo loose(u("T"), u(""), u("old"), OdDbObjectId(), false);
  EXPECT_EQ(loose.SetValor(u("new")).toUtf8(), "new");
  EXPECT_EQ(loose.GetValor().toUtf8(), "new");

  // Wrong class: the error escapes and the record keeps its value.
  zr::CEAtributo wrong(u("T"), u(""), u("old"), ref, false);
  EXPECT_THROW(wrong.SetValor(u("new")), OdError_NotThatKindOfClass);
  EXPECT_EQ(wrong.GetValor().toUtf8(), "old");
  list->FreeRecords();
  delete list;
}

}  // namespace
