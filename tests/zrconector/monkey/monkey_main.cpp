// The dialog monkey: opens a dialog of the module again and again on a
// drawing and feeds it long random sequences of input through the toolkit's
// real input path, checking after every step that nothing broke.
//
//   zrconector_monkey --dialog tela|selecao|novo|grade [--drawing example|generated|both]
//                     [--seeds FIRST-LAST] [--steps N] [--time-limit SECONDS] [--race] [--text]
//   zrconector_monkey --dialog D --drawing example|generated --replay FILE
//
// Each seed runs in a child process of its own (so that a crash or a
// sanitizer report ends only that run) and is reproducible from the seed. A
// failing run is shrunk: steps are taken away while the run still fails,
// and the shortest failing sequence is printed and written to
// <work folder>/monkey-<dialog>-<drawing>-<seed>.steps, ready for --replay.
// Exit 0 when every run passed, 1 when one failed, 2 on bad arguments.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "monkey_steps.h"
#include "monkey_world.h"

namespace {

using monkey::Step;

struct Options {
  monkey::RunConfig run;
  std::vector<bool> drawings;  // true: the example drawing
  uint64_t firstSeed = 1, lastSeed = 1;
  int steps = 2000;
  int timeLimit = 300;  // seconds per child
  std::string replay;
  bool shrink = true;
};

struct Outcome {
  bool ok = true;
  std::string why;   // what ended the run
  std::string kind;  // the fault, for comparing two failing runs
};

// Runs the steps in a child process; a crash, a sanitizer report, a broken
// invariant or a hang (the time limit) is a failure.
Outcome RunChild(const Options& o, bool example, const std::vector<Step>& steps, bool quiet) {
  const std::string report = o.run.workDir + "/monkey-failure-" + std::to_string(getpid());
  std::remove(report.c_str());
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid < 0) return {false, "fork failed", "fork"};
  if (pid == 0) {
    if (quiet) {
      // While shrinking, the many failing runs would only repeat themselves.
      if (std::FILE* f = std::freopen("/dev/null", "w", stderr)) (void)f;
    }
    setenv("ZR_MONKEY_FAILURE", report.c_str(), 1);
    alarm(static_cast<unsigned>(o.timeLimit));
    monkey::RunConfig c = o.run;
    c.exampleDrawing = example;
    monkey::RunSteps(c, steps);
    std::fflush(stdout);
    std::exit(0);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  Outcome out{false, "", ""};
  std::ifstream in(report);
  std::getline(in, out.kind);
  std::remove(report.c_str());
  if (WIFSIGNALED(status)) {
    out.why = WTERMSIG(status) == SIGALRM ? "hung (time limit)" : std::string("ended by signal ") + strsignal(WTERMSIG(status));
    if (out.kind.empty()) out.kind = "signal " + std::to_string(WTERMSIG(status));
  } else {
    out.why = "exit status " + std::to_string(WEXITSTATUS(status));
    if (out.kind.empty()) out.kind = out.why;
  }
  if (out.kind != out.why) out.why += ", " + out.kind;
  return out;
}

// Delta debugging: the shortest sequence found that still fails.
std::vector<Step> Shrink(const Options& o, bool example, std::vector<Step> steps, const std::string& kind) {
  size_t chunks = 2;
  int runs = 0;
  while (steps.size() > 1) {
    const size_t size = (steps.size() + chunks - 1) / chunks;
    bool removed = false;
    for (size_t start = 0; start < steps.size(); start += size) {
      std::vector<Step> without(steps.begin(), steps.begin() + static_cast<long>(start));
      without.insert(without.end(), steps.begin() + static_cast<long>(std::min(steps.size(), start + size)), steps.end());
      ++runs;
      if (RunChild(o, example, without, true).kind == kind) {
        steps = std::move(without);
        chunks = std::max<size_t>(chunks - 1, 2);
        removed = true;
        break;
      }
    }
    if (!removed) {
      if (chunks >= steps.size()) break;
      chunks = std::min(steps.size(), chunks * 2);
    }
    if (runs % 20 == 0) std::fprintf(stderr, "monkey: shrinking, %zu steps left\n", steps.size());
  }
  return steps;
}

bool ParseSeeds(const std::string& s, uint64_t* first, uint64_t* last) {
  const size_t dash = s.find('-');
  try {
    *first = std::stoull(s.substr(0, dash));
    *last = dash == std::string::npos ? *first : std::stoull(s.substr(dash + 1));
  } catch (...) {
    return false;
  }
  return *first <= *last;
}

int Usage(const char* why) {
  std::fprintf(stderr,
               "zrconector_monkey: %s\n"
               "usage: zrconector_monkey --dialog tela|selecao|novo|grade [--drawing example|generated|both]\n"
               "         [--seeds FIRST[-LAST]] [--steps N] [--time-limit SECONDS] [--work DIR] [--no-shrink]\n"
               "         [--replay FILE] [--race] [--text] [--verbose]\n",
               why);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  o.run.examplesDir = ZR_EXAMPLES_DIR;
  o.run.workDir = std::filesystem::temp_directory_path().string();
  std::string drawing = "both";
  bool haveDialog = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (a == "--dialog") {
      if (!monkey::ParseTarget(value(), &o.run.target)) return Usage("unknown dialog");
      haveDialog = true;
    } else if (a == "--drawing") {
      drawing = value();
    } else if (a == "--seeds") {
      if (!ParseSeeds(value(), &o.firstSeed, &o.lastSeed)) return Usage("bad seeds");
    } else if (a == "--steps") {
      o.steps = std::atoi(value().c_str());
      if (o.steps <= 0) return Usage("bad step count");
    } else if (a == "--time-limit") {
      o.timeLimit = std::atoi(value().c_str());
      if (o.timeLimit <= 0) return Usage("bad time limit");
    } else if (a == "--work") {
      o.run.workDir = value();
    } else if (a == "--replay") {
      o.replay = value();
    } else if (a == "--no-shrink") {
      o.shrink = false;
    } else if (a == "--text") {
      o.run.textProfile = true;
    } else if (a == "--race") {
      o.run.race = true;
    } else if (a == "--verbose") {
      o.run.verbose = true;
    } else {
      return Usage(("unknown argument " + a).c_str());
    }
  }
  if (!haveDialog) return Usage("--dialog is required");
  if (drawing == "example" || drawing == "both") o.drawings.push_back(true);
  if (drawing == "generated" || drawing == "both") o.drawings.push_back(false);
  if (o.drawings.empty()) return Usage("--drawing is example, generated or both");
  if (!std::filesystem::is_directory(o.run.workDir)) return Usage("the work folder does not exist");
  const char* dialog = monkey::TargetName(o.run.target);

  if (!o.replay.empty()) {
    std::ifstream in(o.replay);
    if (!in) return Usage("cannot read the replay file");
    std::stringstream text;
    text << in.rdbuf();
    std::vector<Step> steps;
    int bad = 0;
    if (!monkey::Parse(text.str(), &steps, &bad)) {
      std::fprintf(stderr, "zrconector_monkey: %s:%d: not a step\n", o.replay.c_str(), bad);
      return 2;
    }
    if (steps.empty()) {
      std::fprintf(stderr, "zrconector_monkey: %s holds no step\n", o.replay.c_str());
      return 2;
    }
    int failed = 0;
    for (bool example : o.drawings) {
      Outcome r = RunChild(o, example, steps, false);
      std::printf("monkey %s %s replay %s: %zu steps, %s\n", dialog, example ? "example" : "generated",
                  o.replay.c_str(), steps.size(), r.ok ? "passed" : r.why.c_str());
      failed += r.ok ? 0 : 1;
    }
    std::printf("%d passed, %d failed\n", static_cast<int>(o.drawings.size()) - failed, failed);
    return failed ? 1 : 0;
  }

  long long total = 0;
  int passed = 0, failed = 0;
  const auto started = std::chrono::steady_clock::now();
  for (uint64_t seed = o.firstSeed; seed <= o.lastSeed; ++seed) {
    for (bool example : o.drawings) {
      const char* which = example ? "example" : "generated";
      std::vector<Step> steps = monkey::Generate(seed, o.steps, o.run.target);
      Outcome r = RunChild(o, example, steps, false);
      if (r.ok) {
        ++passed;
        total += o.steps;
        std::printf("monkey %s %s seed %llu: %d steps passed\n", dialog, which, static_cast<unsigned long long>(seed),
                    o.steps);
        std::fflush(stdout);
        continue;
      }
      ++failed;
      std::printf("monkey %s %s seed %llu: FAILED (%s)\n", dialog, which, static_cast<unsigned long long>(seed),
                  r.why.c_str());
      if (o.shrink) steps = Shrink(o, example, steps, r.kind);
      const std::string path = o.run.workDir + "/monkey-" + dialog + "-" + which + "-" + std::to_string(seed) + ".steps";
      std::ofstream out(path);
      out << "# zrconector_monkey --dialog " << dialog << " --drawing " << which << " --replay " << path << "\n"
          << monkey::ToText(steps);
      std::printf("shortest failing sequence (%zu steps), kept in %s:\n%s", steps.size(), path.c_str(),
                  monkey::ToText(steps).c_str());
      std::printf("it fails so:\n");
      std::fflush(stdout);
      RunChild(o, example, steps, false);
    }
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
  std::printf("monkey %s: %lld steps in %lld s\n%d passed, %d failed\n", dialog, total,
              static_cast<long long>(seconds.count()), passed, failed);
  return failed ? 1 : 0;
}
