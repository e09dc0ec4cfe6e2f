#include "audit_printer.h"



void printFindings(const std::vector<AuditFinding>& findings, std::ostream& out) {
  std::size_t n = 0;
  for (const AuditFinding& f : findings) out << ++n << ". " << f.text() << "\n";
  if (n == 0) {
    out << "no findings\n";
  } else {
    out << n << (n == 1 ? " finding\n" : " findings\n");
  }
}

nlohmann::ordered_json findingsJson(const std::vector<AuditFinding>& findings) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  std::size_t n = 0;
  for (const AuditFinding& f : findings)
    out.push_back({{"number", ++n}, {"line", f.line}, {"subject", f.subject}, {"message", f.message}});
  return out;
}
