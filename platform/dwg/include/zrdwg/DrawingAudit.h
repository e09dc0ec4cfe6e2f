#pragma once
// Audit of a DXF drawing: reads it leniently (duplicate handles, which the
// normal read refuses, are recorded instead) and lists what other CAD programs
// may stumble on, among them every reference to a handle the drawing lacks
// (which the normal read keeps as read). The drawing read
// for the audit is for reporting only; it is never handed out or saved.
//
// Findings, each naming the object ("LINE 2F") and the line of the tag at fault
// (or of the object's "0 TYPE" line):
//   - owner H does not exist
//   - handle H used again (first at line N)
//   - entry "KEY" refers to handle H, which does not exist   (dictionaries)
//   - reactor H does not exist / extension dictionary H does not exist
//   - extended data of application "APP" points to handle H, which does not exist
//   - pointer H (group code C) does not exist   (any other pointer, known kind or not)
//   - extended data of application "APP" not in the APPID table
//   - handle H is not below $HANDSEED S
//   - is its own owner / owners lead back to it (A -> B -> A)
// Objects that the file gives no handle are numbered by the reader and not
// reported. A header without $HANDSEED has no seed to check against.

#include <string>
#include <vector>

#include "zrdwg/OdString.h"

struct AuditFinding {
  std::size_t line = 0;
  std::string subject;  // the object's kind and handle: "LINE 2F"
  std::string message;  // "owner 9A does not exist"

  // "line 1234: LINE 2F: owner 9A does not exist"
  std::string text() const;
};

// Findings in file order (by line). Throws OdError, as OdDbDatabase::readDxf
// does, when the file cannot be read at all (missing, not DXF, unsupported
// version, truncated).
std::vector<AuditFinding> auditDxfFile(const OdString& path);
// The same for DXF text held in memory; messages name `name`.
std::vector<AuditFinding> auditDxfText(const std::string& text, const OdString& name);
