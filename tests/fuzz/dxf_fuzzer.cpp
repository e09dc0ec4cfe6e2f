// libFuzzer target for the DXF reader and writer. Each input is read as a
// drawing; bad input must be refused with OdError. A drawing that reads is
// walked through the object model as the module reads it; then it must write,
// read its own output back and write it again to the very same text. Anything
// else (another exception, a second read that fails, a second write that
// differs) is a fault and aborts, as do crashes and sanitizer reports.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "OdDbDatabase.h"
#include "OdError.h"
#include "model_walk.h"

namespace {

[[noreturn]] void fault(const char* what, const std::string& detail) {
  std::fprintf(stderr, "dxf_fuzzer: %s: %s\n", what, detail.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  OdDbDatabasePtr db;
  try {
    db = OdDbDatabase::readDxfText(input, OdString(u"fuzz input"));
  } catch (const OdError&) {
    return 0;  // refused with a clear error: the expected outcome for most inputs
  }
  walkModel(*db);
  std::string first, second;
  try {
    first = db->dxfText();
  } catch (const OdError& e) {
    fault("a drawing that was read cannot be written", e.description().toUtf8());
  }
  db = nullptr;
  try {
    second = OdDbDatabase::readDxfText(first, OdString(u"first write"))->dxfText();
  } catch (const OdError& e) {
    fault("the writer's own output is refused", e.description().toUtf8());
  }
  if (first != second) {
    std::size_t at = 0;
    while (at < first.size() && at < second.size() && first[at] == second[at]) ++at;
    fault("the second write differs from the first",
          "at byte " + std::to_string(at) + ": \"" + first.substr(at > 40 ? at - 40 : 0, 120) + "\" became \"" +
              second.substr(at > 40 ? at - 40 : 0, 120) + "\"");
  }
  return 0;
}
