#include "audit_printer.h"

#include "json_text.h"

void printFindings(const std::vector<AuditFinding>& findings, std::ostream& out) {
  std::size_t n = 0;
  for (const AuditFinding& f : findings) out << ++n << ". " << f.text() << "\n";
  if (n == 0) {
    out << "no findings\n";
  } else {
    out << n << (n == 1 ? " finding\n" : " findings\n");
  }
}

void printFindingsJson(const std::vector<AuditFinding>& findings, std::ostream& out) {
  out << "[";
  std::size_t n = 0;
  for (const AuditFinding& f : findings) {
    out << (n ? "," : "") << "{\"number\":" << n + 1 << ",\"line\":" << f.line << ",\"subject\":" << jsonString(f.subject)
        << ",\"message\":" << jsonString(f.message) << "}";
    ++n;
  }
  out << "]";
}
