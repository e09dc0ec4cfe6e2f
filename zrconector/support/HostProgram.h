#pragma once
// The name of the program the module runs in: the system variable "PROGRAM"
// of the active document's drawing. The settings and the texts are kept per
// program.

#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdString.h"

// The drawing of the host's active document; null when there is no active
// document or it has no drawing.
OdDbDatabasePtr ActiveDrawing();

// The system variable "PROGRAM" of the active document's drawing; empty text
// when there is no active document, no drawing or no such variable.
OdString HostProgram();
