#include "tool_version.h"

#ifndef ZR_VERSION
#error "ZR_VERSION is set by the build"
#endif

const char* toolVersion() { return ZR_VERSION; }
