#pragma once
// Drawings named on a tool's command line: a DXF file, or "-" for the text on
// standard input. What is not a DXF drawing is named for what it is (a folder,
// a DWG file, nothing at all) before the reader sees it, so that the message
// says what happened rather than how the reader failed on it.

#include <stdexcept>
#include <string>

#include "zrdwg/OdDbDatabase.h"

// A drawing that cannot be read; what() is the whole message, path first.
class DrawingInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The name a drawing is reported under: "-" is "(standard input)".
std::string drawingName(const std::string& path);

// True when path names a regular file (after links): one that can be read
// twice, unlike a pipe or a device.
bool isRegularFile(const std::string& path);

// Throws DrawingInputError when the path is no DXF file: missing, a folder,
// a DWG file, unreadable. Nothing for "-". Reads at most the first bytes.
void checkDrawingPath(const std::string& path);

// The whole of standard input. REQUIRES: called at most once per process.
// Throws DrawingInputError when it cannot be read.
std::string readStandardInput();

// Reads a drawing: checkDrawingPath, then the DXF reader (whose OdError
// carries "file:line: message"); "-" reads standard input.
OdDbDatabasePtr readDrawing(const std::string& path, OdDbReadPurpose purpose = OdDbReadPurpose::kEdit);
