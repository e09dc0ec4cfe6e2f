// The pin check (VerificarPinos) on the drawing named by ZR_BENCH_DRAWING
// (bench/dwg/make_bench_drawing.py: 10,000 connectors x 20 pins, 1,000 codes),
// with the catalogue in memory so that the check itself is measured; and the
// pairing of coinciding pins by grid beside the plain scan of every pin, at
// 2,000, 4,000 and 8,000 symbols.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "drawing/CIPinos.h"
#include "FxDocumentManager.h"
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
    for (const auto& r : records)
      for (const auto& p : r->GetPinos()) benchmark::DoNotOptimize(grid.Find(p.get()));
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_VerificarPinos)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PairingScan)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_PairingGrid)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
