#pragma once
// Hand-edited drawing texts for reader tests: the empty drawing of a version,
// with entities or objects spliced in and values replaced.
//
// In the empty drawing, model space is BLOCK_RECORD 17, the APPID table 9, the
// named-objects dictionary C and $HANDSEED 30.

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "zrdwg/OdDbDatabase.h"

namespace testing_support {

inline std::string emptyDrawingText(const char* version = "AC1015") {
  return OdDbDatabase::createNew(OdString::fromUtf8(version))->dxfText();
}

// The empty drawing with $HANDSEED 100, above every handle the tests use, so
// that writing it back leaves the seed as it was.
inline std::string roomyDrawingText(const char* version = "AC1015") {
  std::string text = emptyDrawingText(version);
  const std::string seed = "$HANDSEED\n  5\n30\n";
  return text.replace(text.find(seed), seed.size(), "$HANDSEED\n  5\n100\n");
}

// text with the first `from` replaced by `to`; throws when `from` is missing,
// so that a test never checks a drawing it did not mean to make.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
  auto at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("marker not found: " + from);
  return text.replace(at, from.size(), to);
}

// The DXF versions the reader takes, R2000 to R2018.
inline const char* const kDxfVersions[] = {"AC1015", "AC1018", "AC1021", "AC1024", "AC1027", "AC1032"};

// Line (from 1) where `marker` starts in text, searching from `from`; the
// marker starts a line. Throws when it is missing.
inline std::size_t lineAt(const std::string& text, const std::string& marker, std::size_t from = 0) {
  const std::size_t at = text.find(marker, from);
  if (at == std::string::npos) throw std::runtime_error("marker not found: " + marker);
  return static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + 1;
}

// text with CR LF line ends, as Windows programs write it.
inline std::string crlf(const std::string& text) {
  std::string out;
  for (char ch : text) out += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  return out;
}

// The drawing with `entities` (tags from "  0\nTYPE") at the start of ENTITIES.
inline std::string withEntities(const std::string& text, const std::string& entities) {
  return replaced(text, "ENTITIES\n", "ENTITIES\n" + entities);
}

// The drawing with `objects` at the end of the OBJECTS section.
inline std::string withObjects(const std::string& text, const std::string& objects) {
  const std::string end = "  0\nENDSEC\n  0\nEOF\n";
  return replaced(text, end, objects + end);
}

// A LINE in model space with the given handle and extra tags after its layer.
inline std::string lineEntity(const std::string& handle, const std::string& owner = "17",
                              const std::string& extra = "") {
  return "  0\nLINE\n  5\n" + handle + "\n330\n" + owner + "\n100\nAcDbEntity\n  8\n0\n" + extra +
         "100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n";
}

// A TEXT in model space whose text (group 1) is `raw`, bytes as in the file.
inline std::string textEntity(const std::string& handle, const std::string& raw) {
  return "  0\nTEXT\n  5\n" + handle +
         "\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n0\n 20\n0\n 30\n0\n 40\n1\n  1\n" + raw +
         "\n100\nAcDbText\n";
}

// A DICTIONARY with the given handle and owner, and entries "3 key / 350 handle"
// given as ready tags.
inline std::string dictionaryObject(const std::string& handle, const std::string& owner,
                                    const std::string& entries = "") {
  return "  0\nDICTIONARY\n  5\n" + handle + "\n330\n" + owner + "\n100\nAcDbDictionary\n281\n1\n" + entries;
}

}  // namespace testing_support
