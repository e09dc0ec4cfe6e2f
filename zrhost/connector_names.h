#pragma once
// The connector names placed in a drawing, read straight from the object
// model: the first value after the application name in the "ZR_PINO" extended
// data of each block reference in model space.

#include <vector>

#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdString.h"

namespace zrhost {

// Each name once, in the order of model space; references without "ZR_PINO"
// data or with no value after the application name are skipped. A value is
// read as text (a string as it is, an integer in decimal).
std::vector<OdString> connectorNames(const OdDbDatabase& db);

}  // namespace zrhost
