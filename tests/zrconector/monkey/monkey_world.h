// One monkey run inside the current process: the example catalogue copied,
// the module loaded, a drawing opened as the active document, and the target
// dialog opened again and again while the steps last. Each step's input goes
// through the toolkit's real input path (queued by screen point, processed by
// the modal loop), fed from the modal loops' idle handler; after every step
// the screen model's invariants are checked, and at the end the drawing is
// saved and read back.
//
// A run that breaks an invariant prints what broke and which step did it,
// and ends the process with status kFailed; sanitizers end it their own way.
// Meant to run in a child process of its own (see monkey_main.cpp).
#pragma once

#include <string>
#include <vector>

#include "monkey_steps.h"

namespace monkey {

inline constexpr int kFailed = 3;

struct RunConfig {
  Target target = Target::kTela;
  bool exampleDrawing = true;   // else a drawing made here with every light state
  std::string examplesDir;      // examples/ of the source tree
  std::string workDir;          // where the saved drawings go
  int renderEvery = 16;         // render the screen every this many steps (0: never)
  bool verbose = false;         // print each step as it runs
  // Feed input while the selection dialog's worker fills its tree (the
  // thread's timing then makes a run differ from the next); by default each
  // step waits for the fill to end.
  bool race = false;
  // The terminal's metrics (character cells) instead of the pixel ones.
  bool textProfile = false;
};

// Runs the steps; returns when every check held.
void RunSteps(const RunConfig& config, const std::vector<Step>& steps);

}  // namespace monkey
