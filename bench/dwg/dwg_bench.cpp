// Throughput of reading and writing a large drawing, and the peak memory of a
// read, on the drawing named by ZR_BENCH_DRAWING (see make_bench_drawing.py).
//   load:  MB/s of OdDbDatabase::readDxf
//   save:  MB/s of OdDbDatabase::writeDxf (atomic, flushed to disk)
//   peak:  the growth of resident memory while a drawing is read, in MB and
//          as a multiple of the file size
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "zrdwg/OdDbDatabase.h"

namespace {

std::string drawingPath() {
  const char* path = std::getenv("ZR_BENCH_DRAWING");
  return path ? path : "";
}

double fileMegabytes(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// Resident memory figures of this process in kB ("VmRSS", "VmHWM").
long statusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
  return -1;
}

// Resets the high-water mark of resident memory to the current size.
bool resetPeak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  return static_cast<bool>(out.flush());
}

bool haveDrawing(benchmark::State& state, const std::string& path) {
  if (path.empty() || !std::filesystem::exists(path)) {
    state.SkipWithError("set ZR_BENCH_DRAWING to a drawing (bench/dwg/make_bench_drawing.py makes one)");
    return false;
  }
  return true;
}

void BM_Load(benchmark::State& state) {
  const std::string path = drawingPath();
  if (!haveDrawing(state, path)) return;
  const OdString name = OdString::fromUtf8(path);
  for (auto _ : state) {
    OdDbDatabasePtr db = OdDbDatabase::readDxf(name);
    benchmark::DoNotOptimize(db.get());
    // Closing the drawing is not part of reading it.
    state.PauseTiming();
    db.release();
    state.ResumeTiming();
  }
  state.counters["load MB/s"] =
      benchmark::Counter(fileMegabytes(path) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Save(benchmark::State& state) {
  const std::string path = drawingPath();
  if (!haveDrawing(state, path)) return;
  OdDbDatabasePtr db = OdDbDatabase::readDxf(OdString::fromUtf8(path));
  const std::string out = (std::filesystem::temp_directory_path() / "zr_bench_save.dxf").string();
  for (auto _ : state) db->writeDxf(OdString::fromUtf8(out));
  const double megabytes = fileMegabytes(out);
  std::filesystem::remove(out);
  state.counters["save MB/s"] =
      benchmark::Counter(megabytes * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_LoadPeakMemory(benchmark::State& state) {
  const std::string path = drawingPath();
  if (!haveDrawing(state, path)) return;
  double peakMb = 0;
  for (auto _ : state) {
    // Memory freed by earlier runs goes back to the system first, so that the
    // growth measured is this read's own.
    malloc_trim(0);
    const long before = statusKb("VmRSS");
    if (!resetPeak()) {
      state.SkipWithError("cannot reset the resident memory high-water mark");
      return;
    }
    {
      OdDbDatabasePtr db = OdDbDatabase::readDxf(OdString::fromUtf8(path));
      benchmark::DoNotOptimize(db.get());
    }
    peakMb = static_cast<double>(statusKb("VmHWM") - before) / 1024.0;
  }
  state.counters["peak MB"] = peakMb;
  state.counters["peak / file size"] = peakMb / (fileMegabytes(path) / 1.048576);
}

}  // namespace

// The memory figure comes first, while the process is fresh.
BENCHMARK(BM_LoadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
