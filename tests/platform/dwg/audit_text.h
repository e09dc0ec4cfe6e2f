#pragma once
// Audit findings as the tests compare them: "line N: what".

#include <string>
#include <vector>

#include "zrdwg/DrawingAudit.h"

namespace testing_support {

inline std::vector<std::string> texts(const std::vector<AuditFinding>& findings) {
  std::vector<std::string> out;
  for (const AuditFinding& f : findings) out.push_back(f.text());
  return out;
}

inline std::string line(std::size_t n, const std::string& rest) { return "line " + std::to_string(n) + ": " + rest; }

}  // namespace testing_support
