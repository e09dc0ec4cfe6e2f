#include "drawing_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

std::string drawingName(const std::string& path) { return path == "-" ? "(standard input)" : path; }

bool isRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void checkDrawingPath(const std::string& path) {
  if (path == "-") return;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    throw DrawingInputError(path + ": cannot open the drawing: " + std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw DrawingInputError(path + ": is a folder, not a drawing");
  if (!S_ISREG(info.st_mode)) return;  // a pipe or device: read it as it comes
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DrawingInputError(path + ": cannot open the drawing: " + std::strerror(errno));
  char head[6] = {};
  in.read(head, sizeof head);
  // A DWG file starts with its version ("AC1015", "AC1032", ...); a DXF file
  // with a group code. Only DXF can be read.
  if (in.gcount() == 6 && std::memcmp(head, "AC10", 4) == 0 && head[4] >= '0' && head[4] <= '9')
    throw DrawingInputError(path + ": is a DWG file; only DXF drawings can be read (save it as DXF)");
}

std::string readStandardInput() {
  std::string text(std::istreambuf_iterator<char>(std::cin), {});
  if (std::cin.bad()) throw DrawingInputError("(standard input): cannot read the drawing");
  return text;
}

OdDbDatabasePtr readDrawing(const std::string& path, OdDbReadPurpose purpose) {
  checkDrawingPath(path);
  if (path == "-")
    return OdDbDatabase::readDxfText(readStandardInput(), OdString::fromUtf8(drawingName(path)), purpose);
  return OdDbDatabase::readDxf(OdString::fromUtf8(path), purpose);
}
