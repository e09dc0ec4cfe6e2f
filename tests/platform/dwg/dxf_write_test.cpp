// Saving: atomic, stable, and never leaving a half-written file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "dxf/AtomicFile.h"
#include "drawing_builder.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

std::size_t filesIn(const std::filesystem::path& dir) {
  std::size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    (void)e;
    ++n;
  }
  return n;
}

class Saving : public ::testing::Test {
 protected:
  void TearDown() override { AtomicFile::failWriteNumber(0); }
  TempDir dir;
};

TEST_F(Saving, FailedWriteLeavesThePreviousFileIntact) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  const std::string target = dir.file("d.dxf");
  db->writeDxf(u(target.c_str()));
  const std::string before = readFile(target);

  addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  AtomicFile::failWriteNumber(1);
  try {
    db->writeDxf(u(target.c_str()));
    FAIL() << "the injected fault should fail the save";
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eFileWriteError);
    EXPECT_NE(e.description().toUtf8().find(target), std::string::npos);
    EXPECT_NE(e.description().toUtf8().find("No space left"), std::string::npos);
  }
  EXPECT_EQ(readFile(target), before);
  EXPECT_EQ(filesIn(dir.path()), 1u) << "the temporary file must be removed";

  AtomicFile::failWriteNumber(0);
  db->writeDxf(u(target.c_str()));
  EXPECT_NE(readFile(target), before);
}

TEST_F(Saving, UnwritableTargetsAreReportedWithTheReason) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  const std::string missingFolder = dir.file("no/such/folder/d.dxf");
  try {
    db->writeDxf(u(missingFolder.c_str()));
    FAIL();
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eFileWriteError);
    EXPECT_NE(e.description().toUtf8().find("No such file"), std::string::npos) << e.description().toUtf8();
  }
  // A folder where the file should go: the rename fails, the folder stays.
  std::filesystem::create_directory(dir.file("taken.dxf"));
  EXPECT_THROW(db->writeDxf(u(dir.file("taken.dxf").c_str())), OdError);
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.dxf")));
  EXPECT_EQ(filesIn(dir.path()), 1u);
}

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
