// The anchor for `zrdxf info`: dxflib's streaming parser over the drawing named
// by ZR_BENCH_DRAWING, keeping what the pin check needs (inserts, attributes,
// extended-data strings) and nothing else.
#include <benchmark/benchmark.h>
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class PinReader : public DL_CreationAdapter {
 public:
  void addInsert(const DL_InsertData& data) override {
    ++inserts;
    benchmark::DoNotOptimize(data.name.size());
  }
  void addAttribute(const DL_AttributeData& data) override {
    ++attributes;
    benchmark::DoNotOptimize(data.text.size());
  }
  void addXDataString(int code, const std::string& value) override {
    ++strings;
    benchmark::DoNotOptimize(code + static_cast<int>(value.size()));
  }
  long inserts = 0, attributes = 0, strings = 0;
};

void BM_DxflibParse(benchmark::State& state) {
  const char* path = std::getenv("ZR_BENCH_DRAWING");
  if (!path || !std::filesystem::exists(path)) {
    state.SkipWithError("set ZR_BENCH_DRAWING to a drawing (bench/dwg/make_bench_drawing.py makes one)");
    return;
  }
  long inserts = 0, attributes = 0, strings = 0;
  for (auto _ : state) {
    // A new reader each time: dxflib's adapters own what they point to and
    // cannot be copied.
    PinReader reader;
    DL_Dxf dxf;
    if (!dxf.in(path, &reader)) {
      state.SkipWithError("dxflib cannot read the drawing");
      return;
    }
    inserts = reader.inserts, attributes = reader.attributes, strings = reader.strings;
  }
  state.counters["inserts"] = static_cast<double>(inserts);
  state.counters["attributes"] = static_cast<double>(attributes);
  state.counters["xdata strings"] = static_cast<double>(strings);
}

}  // namespace

BENCHMARK(BM_DxflibParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
