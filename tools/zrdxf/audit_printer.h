#pragma once
// Prints audit findings as `zrdxf audit` shows them:
//   1. line 1234: LINE 2F: owner 9A does not exist
//   2. line 2000: INSERT 3B: extended data of application "ZR_PINO" not in the APPID table
//   2 findings
// or "no findings" when there are none.

#include <nlohmann/json.hpp>

#include <ostream>
#include <vector>

#include "zrdwg/DrawingAudit.h"

void printFindings(const std::vector<AuditFinding>& findings, std::ostream& out);
// One JSON array: [{"number": 1, "line": 1234, "subject": "LINE 2F",
// "message": "owner 9A does not exist"}, ...] in the order of the text.
nlohmann::ordered_json findingsJson(const std::vector<AuditFinding>& findings);
