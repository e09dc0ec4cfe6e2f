// zrdxf: looks into DXF drawings through the object model.
//   zrdxf info DRAWING.dxf [--json]   what the drawing holds
//   zrdxf roundtrip IN.dxf OUT.dxf    read into the model and write back
//   zrdxf audit DRAWING.dxf [--fix OUT.dxf]  numbered findings (see audit_command.h)
// Exit status: 0 on success, 2 on bad input or usage (the reason on stderr);
// audit: 0 no findings, 1 findings, 2 the drawing cannot be read.

#include <cstring>
#include <iostream>
#include <string>

#include "DrawingAudit.h"
#include "OdDbDatabase.h"
#include "audit_command.h"
#include "summary_printer.h"

namespace {

int usage() {
  std::cerr << "usage: zrdxf info DRAWING.dxf [--json]\n"
               "       zrdxf roundtrip IN.dxf OUT.dxf\n"
               "       zrdxf audit DRAWING.dxf [--fix OUT.dxf]\n"
               "audit lists what other CAD programs may stumble on, one numbered finding a line\n"
               "(\"N. line L: KIND HANDLE: what\"), then a count; exit 0: no findings, 1: findings,\n"
               "2: the drawing cannot be read. The drawing is not changed; --fix writes a repaired\n"
               "copy (dangling entries removed, owners set to their container) and lists the changes.\n";
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

int audit(int argc, char** argv) {
  if (argc == 3) return runAudit(argv[2], nullptr, std::cout);
  if (argc != 5 || std::strcmp(argv[3], "--fix") != 0) return usage();
  const std::string out = argv[4];
  return runAudit(argv[2], &out, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  try {
    if (std::strcmp(argv[1], "info") == 0) return info(argc, argv);
    if (std::strcmp(argv[1], "roundtrip") == 0) return roundtrip(argc, argv);
    if (std::strcmp(argv[1], "audit") == 0) return audit(argc, argv);
    return usage();
  } catch (const OdError& e) {
    std::cerr << "zrdxf: " << e.description().toUtf8() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "zrdxf: " << e.what() << "\n";
    return 2;
  }
}
