#pragma once
// The name of the program the module runs in: the system variable "PROGRAM"
// of the active document's drawing. The settings and the texts are kept per
// program.

#include "zrdwg/OdString.h"

// The system variable "PROGRAM" of the active document's drawing; empty text
// when there is no active document, no drawing or no such variable.
OdString HostProgram();
