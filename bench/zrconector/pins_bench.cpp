// The pin check (VerificarPinos) on the drawing named by ZR_BENCH_DRAWING
// (bench/dwg/make_bench_drawing.py: 10,000 connectors x 20 pins, 1,000 codes),
// with the catalogue in memory so that the check itself is measured; the
// pairing of coinciding pins by grid beside the plain scan of every pin, at
// 2,000, 4,000 and 8,000 symbols; and the queries over a drawing (name
// listing, pin check, dictionary refresh and listing) at 25,000, 50,000,
// 100,000 and 200,000 symbols, on the drawings pins_N.dxf in ZR_BENCH_DIR
// (N symbols, 20 a connector), for the time ratio per doubling.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "drawing/CIDicConectores.h"
#include "drawing/CIPinos.h"
#include "zrfx/FxDocumentManager.h"
#include "drawing/PinGrid.h"

namespace {

// Every code "CON-NNNNN" has pins 1..20 and mates with the next code.
class BenchCatalogue : public zr::PinCatalogue {
 public:
  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override {
    auto list = std::make_unique<CStringList>(10);
    for (int i = 1; i <= 20; ++i) {
      const std::string n = std::to_string(i);
      list->AddTail(CString::FromUtf8("K" + n + "\f" + n + "\f" + "P" + n + "\f"));
    }
    (void)code;
    return list;
  }
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override {
    auto list = std::make_unique<CStringList>(10);
    const int n = std::atoi(code.toUtf8().c_str() + 4);
    char buf[16];
    std::snprintf(buf, sizeof buf, "CON-%05d", n % 1000 + 1);
    list->AddTail(CString::FromUtf8(buf));
    return list;
  }
};

void BM_VerificarPinos(benchmark::State& state) {
  const char* path = std::getenv("ZR_BENCH_DRAWING");
  if (!path || !std::filesystem::exists(path)) {
    state.SkipWithError("set ZR_BENCH_DRAWING to a drawing (bench/dwg/make_bench_drawing.py makes one)");
    return;
  }
  CFxDocumentManager* documents = GetFxSystemServices()->GetDocumentManager();
  CFxDocument* doc = documents->OpenDocument(OdString::fromUtf8(path));
  BenchCatalogue catalogue;
  std::size_t pins = 0;
  for (auto _ : state) {
    zr::ConectoresPinos records;
    CIPinos(&catalogue).VerificarPinos(records);
    pins = 0;
    for (const auto& r : records) pins += r->GetPinos().size();
    state.PauseTiming();
    records.clear();
    state.ResumeTiming();
  }
  state.counters["pins"] = static_cast<double>(pins);
  documents->CloseDocument(doc);
}

// Symbols in columns as a schematic has them, one in four on another's point.
zr::ConectoresPinos pairingRecords(int symbols) {
  zr::ConectoresPinos records;
  for (int i = 0; i < symbols; ++i) {
    if (i % 20 == 0) {
      std::string name(1, 'X');
      name += std::to_string(i / 20);
      records.push_back(std::make_unique<zr::CEConectorPinos>(OdString::fromUtf8(name), OdString(u"C"), true));
    }
    const int slot = i % 4 == 3 ? i - 1 : i;  // every fourth symbol sits on the one before
    const double x = (slot / 40) * 10.0, y = (slot % 40) * 2.5;
    records.back()->AddPino(OdString(u"1"), OdString::fromUtf8(std::to_string(i + 1)), OdString(), zr::PINO_OK, x, y);
  }
  return records;
}

zr::CEPino* scan(const zr::ConectoresPinos& records, const zr::CEPino* pin) {
  for (const auto& r : records)
    for (const auto& c : r->GetPinos())
      if (c.get() != pin && !c->handle.isEmpty() && c->handle != pin->handle &&
          std::fabs(c->x - pin->x) < 0.00001 && std::fabs(c->y - pin->y) < 0.00001)
        return c.get();
  return nullptr;
}

void BM_PairingScan(benchmark::State& state) {
  zr::ConectoresPinos records = pairingRecords(static_cast<int>(state.range(0)));
  for (auto _ : state)
    for (const auto& r : records)
      for (const auto& p : r->GetPinos()) benchmark::DoNotOptimize(scan(records, p.get()));
  state.SetComplexityN(state.range(0));
}

void BM_PairingGrid(benchmark::State& state) {
  zr::ConectoresPinos records = pairingRecords(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    zr::PinGrid grid(records);
    benchmark::DoNotOptimize(grid.FindEach());
  }
  state.SetComplexityN(state.range(0));
}

// Opens pins_N.dxf of ZR_BENCH_DIR (N = the benchmark's argument); false
// (the benchmark skipped) when it is missing. Each drawing, once read, stays
// open for the rest of the run: the repetitions of all sizes are interleaved,
// and reading a drawing again for each would cost more than the queries
// measured.
//
// Each repetition runs its query once untimed, before the benchmark's loop,
// at every size alike. The repetitions of all sizes are interleaved, so a
// repetition's first query follows another size's and finds the heap and
// the caches as that one left them: fresh memory to fault in, other pages
// in the caches. The iteration count of a repetition is fixed by the first
// one, some 30 at 25,000 symbols and one or two at 200,000, so that cold
// first query would weigh 1/30 of the figure at the smallest size and all
// of it at the largest, a step in the ratios per doubling that is the
// benchmark's and not the query's.
class ScalingDrawing {
 public:
  explicit ScalingDrawing(benchmark::State& state) {
    const char* dir = std::getenv("ZR_BENCH_DIR");
    const std::string path = std::string(dir ? dir : "") + "/pins_" + std::to_string(state.range(0)) + ".dxf";
    if (!dir || !std::filesystem::exists(path)) {
      state.SkipWithError("set ZR_BENCH_DIR to a folder of pins_N.dxf drawings (bench/dwg/run.sh makes them)");
      return;
    }
    static std::map<std::string, CFxDocument*> open;
    CFxDocument*& doc = open[path];
    CFxDocumentManager* documents = GetFxSystemServices()->GetDocumentManager();
    if (!doc) doc = documents->OpenDocument(OdString::fromUtf8(path));
    // The queries read the active drawing.
    if (doc) documents->SetActiveDocument(doc);
    doc_ = doc;
    state.SetComplexityN(state.range(0));
  }
  bool ok() const { return doc_ != nullptr; }

 private:
  CFxDocument* doc_ = nullptr;
};

void BM_NameListing(benchmark::State& state) {
  ScalingDrawing drawing(state);
  if (!drawing.ok()) return;
  BenchCatalogue catalogue;
  const auto listing = [&] {
    std::unique_ptr<CStringList> names(CIPinos(&catalogue).GetConectoresDesenho());
    benchmark::DoNotOptimize(names->GetCount());
  };
  listing();  // untimed: the warm-up
  for (auto _ : state) listing();
}

void BM_PinCheck(benchmark::State& state) {
  ScalingDrawing drawing(state);
  if (!drawing.ok()) return;
  BenchCatalogue catalogue;
  const auto check = [&] {
    zr::ConectoresPinos records;
    CIPinos(&catalogue).VerificarPinos(records);
    benchmark::DoNotOptimize(records.size());
  };
  check();  // untimed: the warm-up
  for (auto _ : state) check();
}

void BM_DictionaryRefresh(benchmark::State& state) {
  ScalingDrawing drawing(state);
  if (!drawing.ok()) return;
  BenchCatalogue catalogue;
  // The first refresh adds every entry (the warm-up, once per drawing);
  // later ones find them all.
  const auto refresh = [&] { CIDicConectores(&catalogue).Atualizar(); };
  refresh();  // untimed: the warm-up
  for (auto _ : state) refresh();
}

void BM_DictionaryListing(benchmark::State& state) {
  ScalingDrawing drawing(state);
  if (!drawing.ok()) return;
  BenchCatalogue catalogue;
  CIDicConectores(&catalogue).Atualizar();
  const auto listing = [&] {
    std::unique_ptr<CStringList> lines(CIDicConectores(&catalogue).ListaConectores());
    benchmark::DoNotOptimize(lines->GetCount());
  };
  listing();  // untimed: the warm-up
  for (auto _ : state) listing();
}

}  // namespace

// report.py reads the median of the repetitions; their minimum is printed
// beside it: on a machine shared with other work a repetition can only be
// slowed, never sped up, so the minimum is the closest to the query's own
// cost.
static double minimum(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
#define ZR_SCALING(bm)                                                                                             \
  BENCHMARK(bm)->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)->MinTime(0.2)   \
      ->Repetitions(7)->ReportAggregatesOnly(true)->ComputeStatistics("min", minimum)
ZR_SCALING(BM_NameListing);
ZR_SCALING(BM_PinCheck);
ZR_SCALING(BM_DictionaryRefresh);
ZR_SCALING(BM_DictionaryListing);

BENCHMARK(BM_VerificarPinos)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(3)->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", minimum);
BENCHMARK(BM_PairingScan)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_PairingGrid)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond)->Complexity();
// The grid at the sizes of the drawings, where its table no longer fits the
// processor's caches.
BENCHMARK(BM_PairingGrid)->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// main: bench/common/interleaved_main.cpp (repetitions interleaved at random).
