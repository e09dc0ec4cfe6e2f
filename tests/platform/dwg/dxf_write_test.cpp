// Saving: the permissions of the file replaced, and a stable writing of an
// edited drawing. (Failed saves, which leave the previous file and no
// temporary one: save_failure_test.cpp.)
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "drawing_builder.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

class Saving : public ::testing::Test {
 protected:
  TempDir dir;
};

TEST_F(Saving, KeepsThePermissionsOfTheFileItReplaces) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  const std::string target = dir.file("d.dxf");
  db->writeDxf(u(target.c_str()));
  ::chmod(target.c_str(), 0640);
  db->writeDxf(u(target.c_str()));
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(Saving, EditedDrawingWritesStablyAndReadsBackTheEdits) {
  OdDbDatabasePtr db = OdDbDatabase::createNew(u("AC1015"));
  OdDbObjectId pin = addPin(*db, "PIN-Á", "X1", "CON-ç", "1", 5, 6);
  const std::string first = dir.file("a.dxf"), second = dir.file("b.dxf");
  db->writeDxf(u(first.c_str()));
  OdDbDatabasePtr back = OdDbDatabase::readDxf(u(first.c_str()));
  back->writeDxf(u(second.c_str()));
  EXPECT_EQ(readFile(first), readFile(second));

  OdDbBlockReferencePtr ref = back->getOdDbObjectId(pin.getHandle()).safeOpenObject();
  OdDbBlockTableRecordPtr block = ref->blockTableRecord().safeOpenObject();
  EXPECT_EQ(block->getName().toUtf8(), "PIN-Á");
  OdResBufPtr xd = ref->xData(u("ZR_PINO"));
  EXPECT_EQ(xd->next()->next()->getString().toUtf8(), "CON-ç");
  EXPECT_EQ(ref->position(), OdGePoint3d(5, 6, 0));
}

}  // namespace
