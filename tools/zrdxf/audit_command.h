#pragma once
// `zrdxf audit DRAWING.dxf [--fix OUT.dxf]`: prints the numbered findings of
// the drawing (audit_printer.h); with a copy to write, repairs the drawing's
// dangling references into OUT (DrawingRepair.h) and lists the changes made:
//   repaired copy OUT.dxf:
//   1. line 120: DICTIONARY C: entry "X" (handle 2398, which does not exist) removed
//   1 change
// The drawing audited is never written. Returns the exit status: 0 no
// findings, 1 findings. Throws OdError when the drawing cannot be read or the
// copy cannot be written (status 2 for the caller).

#include <ostream>
#include <string>

int runAudit(const std::string& path, const std::string* fixOut, std::ostream& out);
