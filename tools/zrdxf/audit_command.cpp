#include "audit_command.h"

#include "zrdwg/DrawingRepair.h"
#include "audit_printer.h"

int runAudit(const std::string& path, const std::string* fixOut, std::ostream& out) {
  const OdString drawing = OdString::fromUtf8(path);
  const std::vector<AuditFinding> findings = auditDxfFile(drawing);
  printFindings(findings, out);
  if (fixOut) {
    const std::vector<AuditFinding> changes = repairDxfFile(drawing, OdString::fromUtf8(*fixOut));
    out << "repaired copy " << *fixOut << ":\n";
    std::size_t n = 0;
    for (const AuditFinding& c : changes) out << ++n << ". " << c.text() << "\n";
    out << n << (n == 1 ? " change\n" : " changes\n");
  }
  return findings.empty() ? 0 : 1;
}
