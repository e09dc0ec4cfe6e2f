// Reads a drawing, prints the text of each TEXT in model space, replaces the
// first one's text and saves the drawing, for check_code_pages.py:
//   dwg_codepage_sample IN.dxf OUT.dxf NEW_TEXT_HEX
// NEW_TEXT_HEX and the printed texts are UTF-8 in hexadecimal ("HANDLE HEX"
// a line), so that no terminal or locale stands between the two programs.
#include <iostream>
#include <string>

#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbText.h"

namespace {

std::string hex(const std::string& bytes) {
  static const char* kDigits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string unhex(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: dwg_codepage_sample IN.dxf OUT.dxf NEW_TEXT_HEX\n";
    return 2;
  }
  try {
    OdDbDatabasePtr db = OdDbDatabase::readDxf(OdString::fromUtf8(argv[1]));
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
    bool edited = false;
    for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step()) {
      OdDbTextPtr text = OdDbText::cast(it->entity(OdDb::kForRead).get());
      if (text.isNull()) continue;
      std::cout << text->getDbHandle().hex() << " " << hex(text->textString().toUtf8()) << "\n";
      if (edited) continue;
      text->upgradeOpen();
      text->setTextString(OdString::fromUtf8(unhex(argv[3])));
      edited = true;
    }
    db->writeDxf(OdString::fromUtf8(argv[2]));
  } catch (const OdError& e) {
    std::cerr << e.description().toUtf8() << "\n";
    return 2;
  }
  return 0;
}
