// The monkey's input: a sequence of steps, each one thing a person (or the
// suite's script) does to an open dialog. A sequence is made from a seed and
// written as text, one step a line, so that a failing one can be kept,
// shrunk and replayed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace monkey {

enum class Kind {
  kKey,          // a: virtual key; mods: shift 1, control 2, alt 4
  kChar,         // a: UTF-16 unit typed
  kClick,        // a, b: point in thousandths of the top window (may lie outside); c: 1 right button, 2 double;
                 // mods > 0: of the window's (mods - 1) % n th visible control instead (a, b inside it)
  kWheel,        // a, b: point as for clicks; c: notches (negative: towards the user)
  kDrag,         // a, b: new width and height in thousandths of the current ones; c: edge (WMSZ_*)
  kClose,        // the window close command of the top window
  kDrawing,      // a: what changes in the drawing; b: which symbol or value
  kCatalogue,    // a: what changes in the catalogue's menu rows; b: which row or value
  kArmScript,    // the next call of a script function changes the drawing first (a, b as kDrawing)
};

struct Step {
  Kind kind = Kind::kKey;
  int a = 0;
  int b = 0;
  int c = 0;
  int mods = 0;
};

// Which dialog a run opens again and again.
enum class Target { kTela, kSelecao, kNovo, kGrade };
const char* TargetName(Target t);
bool ParseTarget(const std::string& name, Target* out);

// `count` steps from the seed, weighted towards what people do most (keys
// that move around, typing, clicks), with rarer closes and script changes.
std::vector<Step> Generate(uint64_t seed, int count, Target target);

// One line per step; Parse returns false (with the line number in *badLine)
// on a line it cannot read. Blank lines and lines starting with '#' are
// skipped.
std::string ToText(const std::vector<Step>& steps);
std::string ToText(const Step& step);
bool Parse(const std::string& text, std::vector<Step>* out, int* badLine);

}  // namespace monkey
