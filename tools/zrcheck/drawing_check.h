#pragma once
// The pin check of one drawing into a report, as zrcheck and zrhost's
// (check-picture) run it: the module's records (CIPinos::LerPinos, the pin
// check without its pairing), the pairing of placed symbols only
// (placed_pairing.h), the codes the catalogue does not know, the connector
// names placed in model space, the connectors placed but not checked, and the
// findings (all of severity error; severity settings, waivers and a baseline
// are the caller's).

#include <string>

#include "check_catalogue.h"
#include "check_report.h"
#include "zrdwg/OdDbDatabase.h"

class _com_error;

// Checks drawing into report (its records, unknown codes, names, unchecked
// connectors and findings; the rest of report is left as it is), reading
// each pin's identifier from the attribute tagged pinTag. The catalogue's
// answers come from catalogue, which also tells whether one came from a
// failed statement. The drawing is let go (when the caller holds it no
// more) once its records are read, before they are paired. Checks of
// different drawings may run at once on different threads. With
// `secondThread`, the records are compared with the catalogue on a second
// thread while the names are listed (for a processor that would be idle
// otherwise). A catalogue error reaches the caller as _com_error.
void checkDrawing(CheckReport& report, OdDbDatabasePtr drawing, const OdString& pinTag, CheckCatalogue& catalogue,
                  bool secondThread);

// The same for the active drawing of the host services, with the pin tag of
// its scripts, against the process's catalogue database (each code read
// once for the module's check and the pairing).
void checkActiveDrawing(CheckReport& report);

// Opens the process's catalogue database when it is not open yet (the
// module opens it on its first call; a check may come first). False when it
// cannot be opened; a _com_error of the database reaches the caller.
bool openProcessCatalogue();

// The text of a COM error for a message: its description, else its
// message.
std::string comErrorText(const _com_error& e);
