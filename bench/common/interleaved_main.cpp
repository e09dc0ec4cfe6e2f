// The main of the benchmark programs: BENCHMARK_MAIN with the repetitions of
// all benchmarks run in a random interleaving. What slows the machine for a
// while then touches every size alike instead of one size's repetitions,
// which would fake a step in the ratios per doubling. A flag given on the
// command line still wins (it comes after this one).
#include <benchmark/benchmark.h>

#include <vector>

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
