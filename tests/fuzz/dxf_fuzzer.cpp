// libFuzzer target for the DXF reader and writer. Each input is read as a
// drawing; bad input must be refused with OdError. A drawing that reads is
// walked through the object model as the module reads it; then it must write,
// read its own output back and write it again to the very same text. Anything
// else (another exception, a second read that fails, a second write that
// differs) is a fault and aborts, as do crashes and sanitizer reports.
//
// The audit reads every input too (leniently): it must refuse exactly what the
// normal read refuses apart from the faults it reports, never report those
// faults for a drawing the normal read accepted, and find nothing in the
// written text that it did not find in the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "zrdwg/DrawingAudit.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdError.h"
#include "model_walk.h"

namespace {

[[noreturn]] void fault(const char* what, const std::string& detail) {
  std::fprintf(stderr, "dxf_fuzzer: %s: %s\n", what, detail.c_str());
  std::abort();
}

// Findings the lenient read makes where the normal read refuses: duplicate
// handles. (Dangling owners and entries are kept by both reads.) Told by the
// message alone: a subject holds the object's kind, which a drawing may
// spell with any text, this one's too.
bool isLenientFinding(const AuditFinding& f) { return f.message.find(" used again ") != std::string::npos; }

// The audit's findings of a text.
struct AuditKeys {
  std::multiset<std::string> keys;  // each finding without its line (writing moves lines)
  std::string lenient;              // the first finding that only the lenient read makes; empty when none
};

// The findings, or none when the audit refuses the text; `refusal` gets the
// audit's message then.
AuditKeys auditKeys(const std::string& text, const char* name, std::string* refusal) {
  AuditKeys found;
  try {
    for (const AuditFinding& f : auditDxfText(text, OdString::fromUtf8(name))) {
      const std::string key = f.subject + ": " + f.message;
      if (found.lenient.empty() && isLenientFinding(f)) found.lenient = key;
      found.keys.insert(key);
    }
  } catch (const OdError& e) {
    if (refusal) *refusal = e.description().toUtf8();
  }
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string auditRefusal;
  const AuditKeys inputAudit = auditKeys(input, "fuzz input", &auditRefusal);
  const std::multiset<std::string>& inputFindings = inputAudit.keys;
  OdDbDatabasePtr db;
  try {
    db = OdDbDatabase::readDxfText(input, OdString(u"fuzz input"));
  } catch (const OdError& e) {
    // Refused with a clear error: the expected outcome for most inputs. The
    // audit refuses it too, with the same message, unless the refusal is one
    // of the faults it reports.
    // (Past a fault it reports, the audit may go on to a later error.)
    const std::string refusal = e.description().toUtf8();
    const bool lenientKind = refusal.find(" is already used by ") != std::string::npos;
    if (!auditRefusal.empty() && auditRefusal != refusal && !lenientKind)
      fault("the audit refuses with another message", auditRefusal + " / " + refusal);
    if (auditRefusal.empty() && inputAudit.lenient.empty())
      fault("the audit reads a refused drawing and reports nothing the reader refused", refusal);
    return 0;
  }
  if (!auditRefusal.empty()) fault("the audit refuses a drawing that reads", auditRefusal);
  if (!inputAudit.lenient.empty()) fault("the audit reports what the reader accepted", inputAudit.lenient);
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
  for (const std::string& key : auditKeys(first, "first write", nullptr).keys)
    if (!inputFindings.count(key)) fault("the written text has a finding the input did not have", key);
  if (first != second) {
    std::size_t at = 0;
    while (at < first.size() && at < second.size() && first[at] == second[at]) ++at;
    fault("the second write differs from the first",
          "at byte " + std::to_string(at) + ": \"" + first.substr(at > 40 ? at - 40 : 0, 120) + "\" became \"" +
              second.substr(at > 40 ? at - 40 : 0, 120) + "\"");
  }
  return 0;
}
