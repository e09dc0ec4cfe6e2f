// zrdxf: looks into DXF drawings through the object model.
//   zrdxf info DRAWING.dxf [--json]   what the drawing holds
//   zrdxf roundtrip IN.dxf OUT.dxf    read into the model and write back
// Exit status: 0 on success, 2 on bad input or usage (the reason on stderr).

#include <cstring>
#include <iostream>
#include <string>

#include "OdDbDatabase.h"
#include "summary_printer.h"

namespace {

int usage() {
  std::cerr << "usage: zrdxf info DRAWING.dxf [--json]\n"
               "       zrdxf roundtrip IN.dxf OUT.dxf\n";
  return 2;
}

int info(int argc, char** argv) {
  std::string path;
  bool json = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0) {
      json = true;
    } else if (path.empty()) {
      path = argv[i];
    } else {
      return usage();
    }
  }
  if (path.empty()) return usage();
  OdDbDatabasePtr db = OdDbDatabase::readDxf(OdString::fromUtf8(path));
  DrawingSummary s = summarize(*db);
  if (json) {
    printSummaryJson(s, std::cout);
  } else {
    printSummary(s, std::cout);
  }
  return 0;
}

int roundtrip(int argc, char** argv) {
  if (argc != 4) return usage();
  OdDbDatabasePtr db = OdDbDatabase::readDxf(OdString::fromUtf8(argv[2]));
  db->writeDxf(OdString::fromUtf8(argv[3]));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  try {
    if (std::strcmp(argv[1], "info") == 0) return info(argc, argv);
    if (std::strcmp(argv[1], "roundtrip") == 0) return roundtrip(argc, argv);
    return usage();
  } catch (const OdError& e) {
    std::cerr << "zrdxf: " << e.description().toUtf8() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "zrdxf: " << e.what() << "\n";
    return 2;
  }
}
