#pragma once
// Repair of a DXF drawing's dangling references, for `zrdxf audit --fix`. The
// drawing is read as the audit reads it and a repaired copy is written; the
// drawing read is never written back to its own file.
//
// What is changed, each change listed like an audit finding:
//   - a dictionary entry naming a missing handle is removed;
//   - an owner tag naming a missing handle is set to the object's container:
//     the block of an entity, the table of a record, the entity of an ATTRIB,
//     VERTEX or SEQEND, the dictionary that holds an object as an entry (an
//     object that nothing holds keeps its owner tag);
//   - a reactor naming a missing handle is removed (with its group when it
//     was the group's last);
//   - an extension dictionary group naming a missing handle is removed.
// Other pointers (extended data, XRECORD values, objects of kinds the model
// does not know) are kept: their meaning is the writing program's, and the
// audit of the copy still reports them.

#include <string>
#include <vector>

#include "zrdwg/DrawingAudit.h"
#include "zrdwg/OdString.h"

// Reads `path`, repairs it and saves the copy atomically at `out`. Returns the
// changes in file order (lines of the original). Throws OdError as
// OdDbDatabase::readDxf does when the drawing cannot be read or holds
// duplicate handles (which no repair here resolves), and eInvalidInput,
// before anything is written, when `out` names the file read.
std::vector<AuditFinding> repairDxfFile(const OdString& path, const OdString& out);
// The same for DXF text held in memory (messages name `name`): returns the
// repaired text and fills `changes`.
std::string repairDxfText(const std::string& text, const OdString& name, std::vector<AuditFinding>& changes);
