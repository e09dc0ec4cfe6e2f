// dxflib's streaming parse of one drawing as a process of its own, keeping
// what the pin check needs (inserts, attributes, extended-data strings): the
// anchor that report.py times beside `zrdxf info`, run for run.
//
//     dxflib_parse DRAWING.dxf
//
// Prints the counts; exit 1 when dxflib cannot read the drawing.
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cstdio>
#include <string>

namespace {

class PinReader : public DL_CreationAdapter {
 public:
  void addInsert(const DL_InsertData& data) override {
    ++inserts;
    bytes += data.name.size();
  }
  void addAttribute(const DL_AttributeData& data) override {
    ++attributes;
    bytes += data.text.size();
  }
  void addXDataString(int, const std::string& value) override {
    ++strings;
    bytes += value.size();
  }
  long inserts = 0, attributes = 0, strings = 0;
  unsigned long bytes = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dxflib_parse DRAWING.dxf\n");
    return 2;
  }
  PinReader reader;
  DL_Dxf dxf;
  if (!dxf.in(argv[1], &reader)) {
    std::fprintf(stderr, "dxflib_parse: dxflib cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("inserts %ld, attributes %ld, extended-data strings %ld (%lu bytes)\n", reader.inserts,
              reader.attributes, reader.strings, reader.bytes);
  return 0;
}
