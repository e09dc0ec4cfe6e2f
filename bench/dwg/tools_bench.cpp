// The command-line tools as a user runs them, each run a new process with its
// output thrown away:
//   BM_ZrdxfInfo      zrdxf info on ZR_BENCH_DRAWING (beside dxflib_bench's parse)
//   BM_ZrcheckJson    zrcheck --json on ZR_BENCH_DRAWING against ZR_BENCH_CATALOGUE
//   BM_ZrcheckScaling the same on pins_N.dxf of ZR_BENCH_DIR, N = 25,000 to 200,000
//   BM_ZrcheckPictureScaling  the same with the picture (--svg), which should grow alike
// The programs are ZR_ZRDXF and ZR_ZRCHECK.
//
// The time of a run is the processor time of the program (user and system,
// all its threads), not the wall clock: on a machine shared with other work
// the wall clock of the same run varies several-fold, the processor time
// hardly. It is the stricter figure too, since the program's threads add up.
// The wall clock is kept beside it as the counter "wall_s". Each benchmark is
// repeated and reports the minimum and median of the repetitions, so one run
// slowed by a neighbour does not decide a figure.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Single quotes around a path for the shell.
std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool exists(const std::string& path) { return !path.empty() && std::filesystem::exists(path); }

// Processor time, in seconds, of the children waited for so far.
double childrenSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the command for each iteration and takes its processor time as the
// iteration's time; exit statuses 0 and 1 (findings) are runs.
void runEach(benchmark::State& state, const std::string& command) {
  // exec: the shell gives way to the program, so only the program is timed.
  const std::string line = "exec " + command + " >/dev/null";
  double wall = 0;
  for (auto _ : state) {
    const double before = childrenSeconds();
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(line.c_str());
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(childrenSeconds() - before);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
      state.SkipWithError(("failed: " + command).c_str());
      return;
    }
  }
  state.counters["wall_s"] = benchmark::Counter(wall, benchmark::Counter::kAvgIterations);
}

void BM_ZrdxfInfo(benchmark::State& state) {
  const std::string zrdxf = env("ZR_ZRDXF"), drawing = env("ZR_BENCH_DRAWING");
  if (!exists(zrdxf) || !exists(drawing)) {
    state.SkipWithError("set ZR_ZRDXF and ZR_BENCH_DRAWING");
    return;
  }
  runEach(state, quoted(zrdxf) + " info " + quoted(drawing));
}

std::string zrcheckCommand(const std::string& drawing) {
  return quoted(env("ZR_ZRCHECK")) + " --catalogue " + quoted(env("ZR_BENCH_CATALOGUE")) + " --json " +
         quoted(drawing);
}

void BM_ZrcheckJson(benchmark::State& state) {
  const std::string drawing = env("ZR_BENCH_DRAWING");
  if (!exists(env("ZR_ZRCHECK")) || !exists(env("ZR_BENCH_CATALOGUE")) || !exists(drawing)) {
    state.SkipWithError("set ZR_ZRCHECK, ZR_BENCH_CATALOGUE and ZR_BENCH_DRAWING");
    return;
  }
  runEach(state, zrcheckCommand(drawing));
}

void BM_ZrcheckScaling(benchmark::State& state) {
  const std::string drawing = env("ZR_BENCH_DIR") + "/pins_" + std::to_string(state.range(0)) + ".dxf";
  if (!exists(env("ZR_ZRCHECK")) || !exists(env("ZR_BENCH_CATALOGUE")) || !exists(drawing)) {
    state.SkipWithError("set ZR_ZRCHECK, ZR_BENCH_CATALOGUE and ZR_BENCH_DIR");
    return;
  }
  runEach(state, zrcheckCommand(drawing));
  state.SetComplexityN(state.range(0));
}

// The picture goes to a temporary file, removed after the runs.
void BM_ZrcheckPictureScaling(benchmark::State& state) {
  const std::string drawing = env("ZR_BENCH_DIR") + "/pins_" + std::to_string(state.range(0)) + ".dxf";
  if (!exists(env("ZR_ZRCHECK")) || !exists(env("ZR_BENCH_CATALOGUE")) || !exists(drawing)) {
    state.SkipWithError("set ZR_ZRCHECK, ZR_BENCH_CATALOGUE and ZR_BENCH_DIR");
    return;
  }
  const std::string picture = (std::filesystem::temp_directory_path() / "zr_bench_picture.svg").string();
  runEach(state, zrcheckCommand(drawing) + " --svg " + quoted(picture));
  std::filesystem::remove(picture);
  state.SetComplexityN(state.range(0));
}

}  // namespace

// The minimum and median of the repetitions (the mean too, as the library
// always gives it); report.py reads the minimum.
static double minimum(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
static void repeated(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true);
  b->ComputeStatistics("min", minimum);
}

BENCHMARK(BM_ZrdxfInfo)->MinTime(1.0)->Apply(repeated);
BENCHMARK(BM_ZrcheckJson)->MinTime(1.0)->Apply(repeated);
BENCHMARK(BM_ZrcheckScaling)->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)->MinTime(0.5)->Apply(repeated);
BENCHMARK(BM_ZrcheckPictureScaling)->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)->MinTime(0.5)
    ->Apply(repeated);

// main: bench/common/interleaved_main.cpp (repetitions interleaved at random).
