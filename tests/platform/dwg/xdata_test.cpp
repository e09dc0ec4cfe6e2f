// Extended data: read and written per application.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "drawing_builder.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

std::vector<std::string> texts(const OdResBuf* rb) {
  std::vector<std::string> out;
  for (; rb; rb = rb->next().get()) out.push_back(rb->valueAsText().toUtf8());
  return out;
}

class ExtendedData : public ::testing::Test {
 protected:
  OdDbDatabasePtr db = OdDbDatabase::createNew();
};

TEST_F(ExtendedData, ReadByApplicationIgnoringCase) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "CON-1", "3", 0, 0, "N");
  OdDbBlockReferencePtr ref = pin.safeOpenObject();
  OdResBufPtr xd = ref->xData(u("zr_pino"));
  ASSERT_FALSE(xd.isNull());
  EXPECT_EQ(xd->restype(), OdResBuf::kDxfRegAppName);
  EXPECT_EQ(texts(xd), (std::vector<std::string>{"ZR_PINO", "X1", "CON-1", "N"}));
  EXPECT_TRUE(ref->xData(u("OTHER")).isNull());
}

TEST_F(ExtendedData, WritingRegistersTheApplication) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  OdDbSymbolTablePtr apps = db->getRegAppTableId().safeOpenObject();
  EXPECT_TRUE(apps->has(u("ZR_PINO")));
  EXPECT_FALSE(apps->has(u("ANOTHER")));
  OdDbBlockReferencePtr ref = pin.safeOpenObject(OdDb::kForWrite);
  OdResBufPtr chain = OdResBuf::newRb(OdResBuf::kDxfRegAppName, u("ANOTHER"));
  chain->setNext(OdResBuf::newRb(OdResBuf::kDxfXdInteger16, int32_t(5)));
  ref->setXData(chain);
  EXPECT_TRUE(apps->has(u("ANOTHER")));
  std::vector<std::string> names;
  for (const OdString& n : ref->xDataApplications()) names.push_back(n.toUtf8());
  EXPECT_EQ(names, (std::vector<std::string>{"ZR_PINO", "ANOTHER"}));
}

TEST_F(ExtendedData, ReplacingOneApplicationLeavesOthersAndKeepsUnchangedValuesAsRead) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  {
    OdDbBlockReferencePtr ref = pin.safeOpenObject(OdDb::kForWrite);
    OdResBufPtr other = OdResBuf::newRb(OdResBuf::kDxfRegAppName, u("OTHER"));
    OdResBuf* t = other.get();
    t = t->setNext(OdResBuf::newRb(OdResBuf::kDxfXdReal, 1.5));
    t = t->setNext(OdResBuf::newRb(OdResBuf::kDxfXdXCoord, OdGePoint3d(1, 2, 3)));
    t->setNext(OdResBuf::newRb(OdResBuf::kDxfXdControlString, u("{")))->setNext(
        OdResBuf::newRb(OdResBuf::kDxfXdControlString, u("}")));
    ref->setXData(other);
  }
  // Read, change value 1 only, and store back: the rest is unchanged.
  OdDbBlockReferencePtr ref = pin.safeOpenObject(OdDb::kForWrite);
  OdResBufPtr xd = ref->xData(u("ZR_PINO"));
  xd->next()->setString(u("X9"));
  ref->setXData(xd);
  EXPECT_EQ(texts(ref->xData(u("ZR_PINO"))), (std::vector<std::string>{"ZR_PINO", "X9", "C", "S"}));
  EXPECT_EQ(texts(ref->xData(u("OTHER"))), (std::vector<std::string>{"OTHER", "1.5", "1.0,2.0,3.0", "{", "}"}));
  // A chain of the name alone removes the application's data.
  ref->setXData(OdResBuf::newRb(OdResBuf::kDxfRegAppName, u("OTHER")));
  EXPECT_TRUE(ref->xData(u("OTHER")).isNull());
  EXPECT_FALSE(ref->xData(u("ZR_PINO")).isNull());
}

TEST_F(ExtendedData, ChainWithoutApplicationNameIsRefused) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  OdDbBlockReferencePtr ref = pin.safeOpenObject(OdDb::kForWrite);
  EXPECT_THROW(ref->setXData(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, u("x"))), OdError);
}

TEST_F(ExtendedData, ValuesWrittenByOtherProgramsKeepTheirTextWhenUnchanged) {
  // "1.50" and "007" read as 1.5 and 7; storing the same values back keeps the text.
  std::string text = OdDbDatabase::createNew(u("AC1015"))->dxfText();
  const std::string marker = "ENTITIES\n";
  text.insert(text.find(marker) + marker.size(),
              "  0\nLINE\n  5\n99\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n"
              " 21\n1\n 31\n0\n1001\nACAD\n1040\n1.50\n1070\n007\n1000\nCaf\\U+00E9\n");
  TempDir dir;
  writeFile(dir.file("in.dxf"), text);
  OdDbDatabasePtr in = OdDbDatabase::readDxf(u(dir.file("in.dxf").c_str()));
  OdDbEntityPtr line = in->getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject(OdDb::kForWrite);
  OdResBufPtr xd = line->xData(u("ACAD"));
  EXPECT_EQ(texts(xd), (std::vector<std::string>{"ACAD", "1.5", "7", "Café"}));
  line->setXData(xd);
  const std::string out = in->dxfText();
  EXPECT_NE(out.find("1040\n1.50\n1070\n007\n1000\nCaf\\U+00E9\n"), std::string::npos);
}

// A drawing whose one LINE (handle 99) carries the given extended-data tags
// (and whatever follows them), as another program may have written it.
OdDbDatabasePtr lineWithXdata(const TempDir& dir, const std::string& xdataTags) {
  std::string text = OdDbDatabase::createNew(u("AC1015"))->dxfText();
  const std::string marker = "ENTITIES\n";
  text.insert(text.find(marker) + marker.size(),
              "  0\nLINE\n  5\n99\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n"
              " 21\n1\n 31\n0\n" +
                  xdataTags);
  writeFile(dir.file("in.dxf"), text);
  return OdDbDatabase::readDxf(u(dir.file("in.dxf").c_str()));
}

std::vector<std::string> utf8(const std::vector<OdString>& values) {
  std::vector<std::string> out;
  for (const OdString& v : values) out.push_back(v.toUtf8());
  return out;
}

TEST_F(ExtendedData, TextsOfOneApplicationIgnoringCase) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "CON-1", "3", 0, 0, "N");
  OdDbBlockReferencePtr ref = pin.safeOpenObject();
  std::vector<OdString> values{u("left over")};
  ASSERT_TRUE(ref->xDataTexts(u("zr_pino"), values));
  EXPECT_EQ(utf8(values), (std::vector<std::string>{"ZR_PINO", "X1", "CON-1", "N"}));
  EXPECT_FALSE(ref->xDataTexts(u("OTHER"), values));
  EXPECT_TRUE(values.empty());
  values.push_back(u("left over"));
  EXPECT_FALSE(ref->xDataTexts(OdString(), values));
  EXPECT_TRUE(values.empty());
}

TEST_F(ExtendedData, TextsWithoutExtendedDataAreAbsent) {
  OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
  std::vector<OdString> values{u("left over")};
  EXPECT_FALSE(space->xDataTexts(u("ZR_PINO"), values));
  EXPECT_TRUE(values.empty());
}

// Extended data read from a file, as texts and as the chain: several
// applications; values other than text (a point is its three coordinate
// tags joined, a y without its x stays a real, numbers read in their
// shortest form); malformed groups (the first group of a repeated name is
// read; extended data ends at a code below 1000, so a group after that is
// not there; a group of the name alone is present and empty).
TEST_F(ExtendedData, TextsOfEachApplicationReadFromAFile) {
  using Texts = std::vector<std::string>;
  const struct {
    const char* tags;
    std::vector<std::pair<const char*, Texts>> applications;  // no texts: absent
  } cases[] = {
      {"1001\nFIRST\n1000\na\n1000\nb\n"
       "1001\nSECOND\n1000\nCaf\\U+00E9\n"
       "1001\nTHIRD\n1002\n{\n1002\n}\n",
       {{"FIRST", {"FIRST", "a", "b"}},
        {"second", {"SECOND", "Café"}},
        {"THIRD", {"THIRD", "{", "}"}},
        {"FOURTH", {}}}},
      {"1001\nACAD\n1000\nfirst\n1040\n1.50\n1070\n007\n"
       "1010\n1\n1020\n2\n1030\n3\n1021\n4.25\n1005\n1F\n1004\n0aff\n1000\nlast\n",
       {{"ACAD", {"ACAD", "first", "1.5", "7", "1.0,2.0,3.0", "4.25", "1F", "0AFF", "last"}}}},
      {"1001\nEMPTY\n"
       "1001\nTWICE\n1000\none\n"
       "1001\ntwice\n1000\ntwo\n"
       "  8\nstray\n"
       "1001\nAFTER\n1000\nlost\n",
       {{"EMPTY", {"EMPTY"}}, {"TWICE", {"TWICE", "one"}}, {"AFTER", {}}}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    OdDbDatabasePtr in = lineWithXdata(dir, c.tags);
    OdDbEntityPtr line = in->getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject();
    for (const auto& [application, expected] : c.applications) {
      SCOPED_TRACE(application);
      std::vector<OdString> values;
      EXPECT_EQ(line->xDataTexts(u(application), values), !expected.empty());
      EXPECT_EQ(utf8(values), expected);
      if (expected.empty()) {
        EXPECT_TRUE(line->xData(u(application)).isNull());
      } else {
        EXPECT_EQ(texts(line->xData(u(application))), expected);
      }
    }
  }
}

}  // namespace

// The extended data of a drawing read from a file, as UTF-8 beside the
// UTF-16 of xDataTexts: the same values for every kind of value and
// encoding, plain ones viewed in the tags rather than copied.
TEST(ExtendedDataUtf8, GivesWhatXDataTextsGivesViewingPlainValuesInPlace) {
  struct Case {
    const char* version;
    std::vector<std::string> strings;  // after the application name
    bool withReal;                     // a 1040 value after the strings
    std::string otherApplication = {};  // a second application, with one string
  };
  const Case cases[] = {
      {"AC1015", {"X1", "CON-00001", "S"}, false},
      {"AC1015", {"X\xC3\x87\xC3\x83O", "c\xC3\xB3" "digo"}, false, "APLICA\xC3\x87\xC3\x83O"},  // code page 1252 bytes
      {"AC1015", {"\xCE\xA9mega", "X2"}, false},                      // no such letter: an escape
      {"AC1015", {"a\\b", "X3"}, false},                              // a backslash of its own
      {"AC1032", {"X\xC3\x87\xC3\x83O", "\xE2\x82\xAC", "X4"}, false, "APP\xE2\x82\xAC"},  // UTF-8
      {"AC1032", {"X5", "CON-00005"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " " + c.strings[0] + (c.withReal ? " with a real" : ""));
    std::string text;
    {
      OdDbDatabasePtr made = OdDbDatabase::createNew(u(c.version));
      addBlock(*made, "PIN-A", {});
      Reference r = at("PIN-A", 0, 0);
      r.xdata = c.strings;
      OdDbBlockReferencePtr ref = addReference(*made, r).safeOpenObject(OdDb::kForWrite);
      if (c.withReal) {
        OdResBufPtr chain = OdResBuf::newRb(OdResBuf::kDxfRegAppName, u("ZR_PINO"));
        OdResBuf* t = chain.get();
        for (const std::string& s : c.strings) t = t->setNext(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, u(s.c_str())));
        t->setNext(OdResBuf::newRb(OdResBuf::kDxfXdReal, 2.5));
        ref->setXData(chain);
      }
      if (!c.otherApplication.empty()) {
        OdResBufPtr chain = OdResBuf::newRb(OdResBuf::kDxfRegAppName, u(c.otherApplication.c_str()));
        chain->setNext(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, u("v")));
        ref->setXData(chain);
      }
      text = made->dxfText();
    }
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("utf8.dxf"));
    OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
    OdDbObjectIteratorPtr it = space->newIterator();
    ASSERT_FALSE(it->done());
    OdDbEntityPtr ref = it->entity();
    std::vector<OdString> wide;
    ASSERT_TRUE(ref->xDataTexts(u("ZR_PINO"), wide));
    std::vector<std::string_view> values;
    std::string scratch = "left from before";
    for (const char* name : {"ZR_PINO", "zr_pino"}) {
      ASSERT_TRUE(ref->xDataTextsUtf8(name, values, scratch)) << name;
      ASSERT_EQ(values.size(), wide.size());
      for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(std::string(values[i]), wide[i].toUtf8()) << i;
        const bool inScratch = values[i].data() >= scratch.data() && values[i].data() < scratch.data() + scratch.size();
        const bool plain = std::all_of(values[i].begin(), values[i].end(),
                                       [](char ch) { return static_cast<unsigned char>(ch) < 0x80 && ch != '\\'; });
        // Plain text is viewed in the tags, unless a real's group goes the chain's way.
        if (plain && !c.withReal && i > 0) {
          EXPECT_FALSE(inScratch) << i;
        }
        if (!plain) {
          EXPECT_TRUE(inScratch) << i;
        }
      }
    }
    // The applications' names alike.
    std::vector<std::string> wideNames;
    for (const OdString& name : ref->xDataApplications()) wideNames.push_back(name.toUtf8());
    EXPECT_EQ(wideNames.size(), c.otherApplication.empty() ? 1u : 2u);
    ref->xDataApplicationsUtf8(values, scratch);
    EXPECT_EQ(std::vector<std::string>(values.begin(), values.end()), wideNames);
    EXPECT_FALSE(ref->xDataTextsUtf8("OTHER", values, scratch));
    EXPECT_TRUE(values.empty());
    EXPECT_FALSE(ref->xDataTextsUtf8("", values, scratch));
  }
}
