// A drawing read to be inspected (OdDbReadPurpose::kInspect) answers as the
// same drawing read to be edited, for every drawing under tests/ and
// examples/ that reads (the fuzz corpus included): each object of the edit
// read but the SEQENDs that close an entity's attributes or vertices is
// found by its handle, of the same kind, under the same owner, with the same
// tags but for its handle and owner tags; nothing else is found. It cannot
// be written, and writing it leaves no file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "drawing_builder.h"
#include "drawings_in_tree.h"
#include "model/DatabaseImpl.h"
#include "temp_dir.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbEntity.h"
#include "zrdwg/OdError.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// "code value" lines of a list.
std::vector<std::string> lines(const TagList& tags) {
  std::vector<std::string> out;
  for (const DxfTag& t : tags) out.push_back(std::to_string(t.code) + " " + std::string(t.value));
  return out;
}

// The list without its handle and owner tags: the tags 5, 105 and 330 before
// the first subclass marker or extended data, outside 102 groups. (The
// reader keeps the first of each as the object's handle and owner; a
// drawing that repeats them, or a link that rewrites them, is compared
// without any.)
std::vector<std::string> linesWithoutHandleAndOwner(const OdDbObject& object) {
  std::vector<std::string> out;
  bool inGroup = false, head = true;
  for (const DxfTag& t : object.dxfTags()) {
    if (t.code == 102) {
      inGroup = !t.value.empty() && t.value[0] == '{';
    } else if (!inGroup && head) {
      if (t.code == 100 || t.code == 1001) head = false;
      else if (t.code == 5 || t.code == 105 || t.code == 330) continue;
    }
    out.push_back(std::to_string(t.code) + " " + std::string(t.value));
  }
  return out;
}

struct Compared {
  std::size_t sequenceEnds = 0;  // left out by the inspect read
  std::size_t shorter = 0;       // objects whose tags lost their handle and owner
};

// Every object of edit, looked up by handle in inspect.
void compareObjects(const OdDbDatabase& edit, const OdDbDatabase& inspect, const std::string& name, Compared& c) {
  std::size_t found = 0;
  for (StoredObject* stored : DatabaseImpl::of(edit).handles) {
    const auto* e = static_cast<const OdDbObject*>(stored);
    const OdDbHandle handle = e->getDbHandle();
    const std::string shown = e->dxfName() + " " + handle.ascii().toUtf8();
    const OdDbObjectPtr i = inspect.getOdDbObjectId(handle).openObject(OdDb::kForRead, true);
    if (i.isNull()) {
      // Only a SEQEND that ends a sequence; one read alone is kept.
      EXPECT_EQ(e->dxfName(), "SEQEND") << name << ": " << shown << " not found";
      ++c.sequenceEnds;
      continue;
    }
    ++found;
    EXPECT_EQ(i->dxfName(), e->dxfName()) << name;
    EXPECT_EQ(i->isA(), e->isA()) << name;
    EXPECT_EQ(i->getDbHandle(), handle) << name;
    EXPECT_EQ(i->ownerId().getHandle(), e->ownerId().getHandle()) << name << ": owner of " << shown;
    // Every tag but the handle and owner tags is kept as read. (The linker
    // writes a handle tag for an object read without a usable one, in
    // either read.)
    EXPECT_EQ(linesWithoutHandleAndOwner(*i), linesWithoutHandleAndOwner(*e)) << name << ": tags of " << shown;
    if (lines(i->dxfTags()).size() < lines(e->dxfTags()).size()) ++c.shorter;
  }
  EXPECT_EQ(DatabaseImpl::of(inspect).handles.size(), found) << name << ": objects the edit read lacks";
}

TEST(InspectRead, EveryObjectButTheSequenceEndsAnswersAsInAnEditRead) {
  const fs::path top(ZR_SOURCE_DIR);
  std::vector<fs::path> drawings = drawingsUnder(top / "tests");
  for (const fs::path& p : drawingsUnder(top / "examples")) drawings.push_back(p);
  ASSERT_GT(drawings.size(), 100u);
  std::size_t compared = 0;
  Compared c;
  for (const fs::path& p : drawings) {
    const std::string name = p.lexically_relative(top).string();
    const std::string text = readFile(p.string());
    OdDbDatabasePtr edit;
    try {
      edit = OdDbDatabase::readDxfText(text, u(name.c_str()));
    } catch (const OdError&) {
      continue;  // what does not read is the reader's tests' business
    }
    OdDbDatabasePtr inspect;
    try {
      inspect = OdDbDatabase::readDxfText(text, u(name.c_str()), OdDbReadPurpose::kInspect);
    } catch (const OdError& e) {
      ADD_FAILURE() << name << ": reads to be edited, not to be inspected: " << e.description().toUtf8();
      continue;
    }
    EXPECT_EQ(edit->readPurpose(), OdDbReadPurpose::kEdit);
    EXPECT_EQ(inspect->readPurpose(), OdDbReadPurpose::kInspect);
    EXPECT_EQ(inspect->getModelSpaceId().isNull(), edit->getModelSpaceId().isNull()) << name;
    compareObjects(*edit, *inspect, name, c);
    ++compared;
  }
  // The example drawing's pins alone have a few dozen SEQENDs.
  EXPECT_GT(compared, 100u);
  EXPECT_GT(c.sequenceEnds, 20u);
  EXPECT_GT(c.shorter, 1000u);
}

TEST(InspectRead, ADrawingReadToBeInspectedIsNeverWritten) {
  const fs::path drawing = fs::path(ZR_SOURCE_DIR) / "examples" / "drawing.dxf";
  TempDir dir;
  for (const bool fromText : {false, true}) {
    const OdDbDatabasePtr db =
        fromText ? OdDbDatabase::readDxfText(readFile(drawing.string()), u("drawing"), OdDbReadPurpose::kInspect)
                 : OdDbDatabase::readDxf(u(drawing.string().c_str()), OdDbReadPurpose::kInspect);
    const std::string target = dir.file("written.dxf");
    try {
      db->writeDxf(u(target.c_str()));
      ADD_FAILURE() << "written";
    } catch (const OdError& e) {
      EXPECT_EQ(e.code(), eNotApplicable);
      EXPECT_NE(e.description().toUtf8().find("inspected"), std::string::npos) << e.description().toUtf8();
    }
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_THROW(db->dxfText(), OdError);
  }
  // The same file read to be edited writes.
  const OdDbDatabasePtr edit = OdDbDatabase::readDxf(u(drawing.string().c_str()));
  EXPECT_FALSE(edit->dxfText().empty());
}

}  // namespace
