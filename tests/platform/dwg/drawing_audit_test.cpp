// The audit: a lenient read that records what the normal read refuses, and the
// findings a CAD program may stumble on, numbered in file order.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "zrdwg/DrawingAudit.h"
#include "drawing_builder.h"
#include "audit_text.h"
#include "dxf_text_edits.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

std::vector<std::string> findingsOf(const std::string& text) {
  return texts(auditDxfText(text, u("audited")));
}

std::string base() { return roomyDrawingText(); }

TEST(DrawingAudit, CleanDrawingsHaveNoFindings) {
  for (const char* version : kDxfVersions) EXPECT_TRUE(findingsOf(emptyDrawingText(version)).empty()) << version;
  OdDbDatabasePtr db = OdDbDatabase::createNew(u("AC1015"));
  addBlock(*db, "PIN-A", {{"ID", "identifier"}});
  addPin(*db, "PIN-A", "P1", "C-1", "X1", 1, 2);
  EXPECT_EQ(findingsOf(db->dxfText()), std::vector<std::string>{});
  // An entity the file gives no handle is numbered by the reader, not reported.
  EXPECT_EQ(findingsOf(withEntities(base(), replaced(lineEntity("99"), "  5\n99\n", ""))), std::vector<std::string>{});
}

struct Case {
  const char* name;
  std::string text;
  std::vector<std::string> findings;
};

TEST(DrawingAudit, EachKindOfFinding) {
  std::vector<Case> cases;
  {
    std::string t = withEntities(base(), lineEntity("99", "9A"));
    cases.push_back({"dangling owner", t, {line(lineAt(t, "330\n9A"), "LINE 99: owner 9A does not exist")}});
  }
  {
    std::string t = withEntities(base(), lineEntity("99") + "1001\nZR_PINO\n1000\nx\n");
    cases.push_back({"unregistered application",
                     t,
                     {line(lineAt(t, "1001\nZR_PINO"),
                           "LINE 99: extended data of application \"ZR_PINO\" not in the APPID table")}});
  }
  {
    // Registered in another case: names of applications are compared ignoring case.
    std::string t = withEntities(emptyDrawingText(), lineEntity("2F") + "1001\nacad\n1000\nx\n");
    cases.push_back({"registered application, other case", t, {}});
  }
  {
    std::string t = withEntities(emptyDrawingText(), lineEntity("99"));
    cases.push_back(
        {"handle above $HANDSEED", t, {line(lineAt(t, "  0\nLINE"), "LINE 99: handle 99 is not below $HANDSEED 30")}});
  }
  {
    std::string t = withEntities(base(), lineEntity("99") + lineEntity("99"));
    const std::size_t first = lineAt(t, "  0\nLINE");
    cases.push_back({"duplicate handle",
                     t,
                     {line(lineAt(t, "  0\nLINE", t.find("  0\nLINE") + 1),
                           "LINE 99: handle 99 used again (first at line " + std::to_string(first) + ")")}});
  }
  {
    std::string t = replaced(base(), "  3\nACAD_GROUP\n350\nD\n", "  3\nACAD_GROUP\n350\nD\n  3\nBROKEN\n350\nABCD\n");
    cases.push_back({"dangling dictionary entry",
                     t,
                     {line(lineAt(t, "  3\nBROKEN"),
                           "DICTIONARY C: entry \"BROKEN\" refers to handle ABCD, which does not exist")}});
  }
  {
    std::string t = withObjects(base(), dictionaryObject("E0", "E0"));
    cases.push_back({"dictionary that owns itself", t, {line(lineAt(t, "  0\nDICTIONARY\n  5\nE0"), "DICTIONARY E0: is its own owner")}});
  }
  {
    std::string t = withObjects(base(), dictionaryObject("E1", "E2") + dictionaryObject("E2", "E1"));
    cases.push_back({"dictionaries that own each other",
                     t,
                     {line(lineAt(t, "  0\nDICTIONARY\n  5\nE1"), "DICTIONARY E1: owners lead back to it (E1 -> E2 -> E1)")}});
  }
  {
    std::string t = withEntities(base(), lineEntity("99", "99"));
    cases.push_back({"entity that owns itself", t, {line(lineAt(t, "  0\nLINE"), "LINE 99: is its own owner")}});
  }
  {
    // Entries are held apart from a dictionary's tags: the line still points at the 1001.
    std::string t = withObjects(base(), dictionaryObject("E5", "C", "  3\nK1\n350\nD\n  3\nK2\n350\nC\n") +
                                            "1001\nNOPE\n1070\n1\n");
    cases.push_back({"extended data after dictionary entries",
                     t,
                     {line(lineAt(t, "1001\nNOPE"), "DICTIONARY E5: extended data of application \"NOPE\" not in the APPID table")}});
  }
  {
    // An object without a handle is reported at its own line.
    std::string t = withEntities(base(), replaced(lineEntity("99"), "  5\n99\n", "") + "1001\nNOPE\n");
    cases.push_back({"extended data of an object the reader numbered",
                     t,
                     {line(lineAt(t, "  0\nLINE"), "LINE 100: extended data of application \"NOPE\" not in the APPID table")}});
  }
  for (const Case& c : cases) EXPECT_EQ(findingsOf(c.text), c.findings) << c.name;
}

TEST(DrawingAudit, SeveralFindingsComeInFileOrder) {
  // Written in this order in the file: table record, entities, objects.
  std::string t = emptyDrawingText();
  t = replaced(t, "  2\nACAD\n 70\n0\n", "  2\nACAD\n 70\n0\n1001\nMISSING\n");
  t = withEntities(t, lineEntity("99", "9A") + lineEntity("99") + lineEntity("2F", "2F"));
  t = withObjects(t, dictionaryObject("E1", "E2") + dictionaryObject("E2", "E1"));
  const std::vector<AuditFinding> findings = auditDxfText(t, u("several"));
  std::vector<std::string> subjects;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    subjects.push_back(findings[i].subject);
    if (i > 0) {
      EXPECT_LE(findings[i - 1].line, findings[i].line) << findings[i].text();
    }
  }
  EXPECT_EQ(subjects, (std::vector<std::string>{"APPID 12", "LINE 99", "LINE 99", "LINE 99", "LINE 99", "LINE 2F",
                                                "DICTIONARY E1", "DICTIONARY E1", "DICTIONARY E2"}));
  std::string all;
  for (const AuditFinding& f : findings) all += f.text() + "\n";
  for (const char* expected : {"APPID 12: extended data of application \"MISSING\"", "LINE 99: owner 9A does not exist",
                               "LINE 99: handle 99 is not below $HANDSEED 30", "LINE 99: handle 99 used again",
                               "LINE 2F: is its own owner", "DICTIONARY E1: owners lead back to it (E1 -> E2 -> E1)",
                               "DICTIONARY E2: handle E2 is not below $HANDSEED 30"})
    EXPECT_NE(all.find(expected), std::string::npos) << expected << "\n" << all;
}

TEST(DrawingAudit, UnreadableDrawingsFailWithTheReadersMessage) {
  const std::string t = emptyDrawingText();
  TempDir dir;
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"truncated", t.substr(0, t.size() / 2)},
      {"not DXF", "hello\nworld\n"},
      {"unsupported version", replaced(t, "AC1015", "AC1009")},
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)},
  };
  for (const auto& [name, text] : cases) {
    std::string strict, audit;
    try {
      OdDbDatabase::readDxfText(text, u("in"));
    } catch (const OdError& e) {
      strict = e.description().toUtf8();
    }
    try {
      auditDxfText(text, u("in"));
    } catch (const OdError& e) {
      audit = e.description().toUtf8();
    }
    EXPECT_FALSE(strict.empty()) << name;
    EXPECT_EQ(audit, strict) << name;
  }
  try {
    auditDxfFile(u(dir.file("missing.dxf").c_str()));
    ADD_FAILURE() << "a missing file was audited";
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eCantOpenFile);
  }
}

TEST(DrawingAudit, FileAndTextGiveTheSameFindings) {
  const std::string t = withEntities(base(), lineEntity("99", "9A"));
  TempDir dir;
  writeFile(dir.file("a.dxf"), t);
  std::vector<std::string> fromFile;
  for (const AuditFinding& f : auditDxfFile(u(dir.file("a.dxf").c_str()))) fromFile.push_back(f.text());
  EXPECT_EQ(fromFile, findingsOf(t));
  EXPECT_EQ(fromFile.size(), 1u);
}

}  // namespace
