// The command-line tools as a user runs them, each run a new process with its
// output thrown away:
//   BM_ZrdxfInfo      zrdxf info on ZR_BENCH_DRAWING (beside dxflib_bench's parse)
//   BM_ZrcheckJson    zrcheck --json on ZR_BENCH_DRAWING against ZR_BENCH_CATALOGUE
//   BM_ZrcheckScaling the same on pins_N.dxf of ZR_BENCH_DIR, N = 25,000 to 200,000
//   BM_ZrcheckPictureScaling  the same with the picture (--svg), which should grow alike
// The programs are ZR_ZRDXF and ZR_ZRCHECK.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

// Runs the command for each iteration; exit statuses 0 and 1 (findings) are runs.
void runEach(benchmark::State& state, const std::string& command) {
  for (auto _ : state) {
    const int status = std::system((command + " >/dev/null").c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
      state.SkipWithError(("failed: " + command).c_str());
      return;
    }
  }
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

BENCHMARK(BM_ZrdxfInfo)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ZrcheckJson)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ZrcheckScaling)->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)->UseRealTime();

BENCHMARK(BM_ZrcheckPictureScaling)->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)
    ->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

BENCHMARK_MAIN();
