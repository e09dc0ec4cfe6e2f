#pragma once
// The pin check of one drawing into a report, as zrcheck and zrhost's
// (check-picture) run it: the module's CIPinos::VerificarPinos, then the
// pairing of placed symbols only (placed_pairing.h), the codes the catalogue
// does not know, the connector names placed in model space, the connectors
// placed but not checked, and the findings (all of severity error; severity
// settings, waivers and a baseline are the caller's).

#include <string>

#include "check_report.h"

class _com_error;
namespace zr {
class PinCatalogue;
}

// Checks the active drawing of the host services into report (its records,
// unknown codes, names, unchecked connectors and findings; the rest of
// report is left as it is). The catalogue's rows come from source (each code
// read once for the module's check and the pairing); the process's catalogue
// database when null. A catalogue error reaches the caller as _com_error.
void checkActiveDrawing(CheckReport& report, zr::PinCatalogue* source = nullptr);

// Opens the process's catalogue database when it is not open yet (the
// module opens it on its first call; a check may come first). False when it
// cannot be opened; a _com_error of the database reaches the caller.
bool openProcessCatalogue();

// The text of a COM error for a message: its description, else its
// message.
std::string comErrorText(const _com_error& e);
