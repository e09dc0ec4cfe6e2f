#include "monkey_steps.h"

#include <zrui/winapi.h>

#include <cstdio>
#include <random>
#include <sstream>

namespace monkey {

namespace {

// F2 opens the property grid's editor (the toolkit's header may not name it).
constexpr int kF2 = 0x71;

struct Weighted {
  int weight;
  Step step;
};

// Keys a person presses in dialogs, with how often.
const Weighted kKeys[] = {
    {14, {Kind::kKey, VK_TAB}},          {6, {Kind::kKey, VK_TAB, 0, 0, 1}},
    {6, {Kind::kKey, VK_DOWN}},          {5, {Kind::kKey, VK_UP}},
    {3, {Kind::kKey, VK_LEFT}},          {3, {Kind::kKey, VK_RIGHT}},
    {5, {Kind::kKey, VK_RETURN}},        {2, {Kind::kKey, VK_ESCAPE}},
    {4, {Kind::kKey, VK_SPACE}},         {4, {Kind::kKey, kF2}},
    {3, {Kind::kKey, VK_F4}},            {2, {Kind::kKey, VK_DOWN, 0, 0, 4}},
    {2, {Kind::kKey, VK_UP, 0, 0, 4}},   {2, {Kind::kKey, VK_HOME}},
    {2, {Kind::kKey, VK_END}},           {2, {Kind::kKey, VK_PRIOR}},
    {2, {Kind::kKey, VK_NEXT}},          {3, {Kind::kKey, VK_BACK}},
    {2, {Kind::kKey, VK_DELETE}},        {1, {Kind::kKey, 'A', 0, 0, 2}},
    {1, {Kind::kKey, 'C', 0, 0, 2}},     {1, {Kind::kKey, 'V', 0, 0, 2}},
    {1, {Kind::kKey, VK_F4, 0, 0, 4}},   {1, {Kind::kKey, VK_TAB, 0, 0, 2}},
};

// Characters typed: names of the drawing, digits, separators, accents, a
// form feed (the field separator of the packed rows) and wide characters.
const char16_t kTyped[] = u"X1J2AKabc019 -_.,;:'\"%\\/\f\u00e7\u00e3\u00c7\u4e2d";

template <size_t N>
Step Pick(std::mt19937_64& rng, const Weighted (&table)[N]) {
  int total = 0;
  for (const Weighted& w : table) total += w.weight;
  int r = static_cast<int>(rng() % static_cast<uint64_t>(total));
  for (const Weighted& w : table) {
    if (r < w.weight) return w.step;
    r -= w.weight;
  }
  return table[0].step;
}

int Between(std::mt19937_64& rng, int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<uint64_t>(hi - lo + 1)); }

// A point of the top window: mostly inside, now and then just outside.
void Point(std::mt19937_64& rng, Step& s) {
  s.a = Between(rng, -40, 1040);
  s.b = Between(rng, -40, 1040);
}

const char* KindName(Kind k) {
  switch (k) {
    case Kind::kKey: return "key";
    case Kind::kChar: return "char";
    case Kind::kClick: return "click";
    case Kind::kWheel: return "wheel";
    case Kind::kDrag: return "drag";
    case Kind::kClose: return "close";
    case Kind::kDrawing: return "drawing";
    case Kind::kCatalogue: return "catalogue";
    case Kind::kArmScript: return "arm-script";
  }
  return "?";
}

}  // namespace

const char* TargetName(Target t) {
  switch (t) {
    case Target::kTela: return "tela";
    case Target::kSelecao: return "selecao";
    case Target::kNovo: return "novo";
    case Target::kGrade: return "grade";
  }
  return "?";
}

bool ParseTarget(const std::string& name, Target* out) {
  for (Target t : {Target::kTela, Target::kSelecao, Target::kNovo, Target::kGrade})
    if (name == TargetName(t)) {
      *out = t;
      return true;
    }
  return false;
}

std::vector<Step> Generate(uint64_t seed, int count, Target target) {
  std::mt19937_64 rng(seed * 0x9E3779B97F4A7C15ull + static_cast<uint64_t>(target));
  std::vector<Step> out;
  out.reserve(static_cast<size_t>(count));
  const bool scripts = target != Target::kGrade;
  while (static_cast<int>(out.size()) < count) {
    const int r = Between(rng, 0, 999);
    Step s;
    if (r < 420) {
      s = Pick(rng, kKeys);
    } else if (r < 470) {
      // Alt+letter: the mnemonics, and letters that are none.
      s = {Kind::kKey, Between(rng, 'A', 'Z'), 0, 0, 4};
    } else if (r < 640) {
      s.kind = Kind::kChar;
      s.a = kTyped[static_cast<size_t>(Between(rng, 0, static_cast<int>(sizeof kTyped / sizeof kTyped[0]) - 2))];
    } else if (r < 870) {
      s.kind = Kind::kClick;
      Point(rng, s);
      const int how = Between(rng, 0, 19);
      s.c = how < 2 ? 1 : how < 6 ? 2 : 0;
      // Half the clicks aim at a control, so that small ones (a "..."
      // button, a tab) are hit as often as people hit them.
      if (Between(rng, 0, 1)) {
        s.mods = Between(rng, 1, 1000);
        s.a = Between(rng, 0, 999);
        s.b = Between(rng, 0, 999);
      }
    } else if (r < 910) {
      s.kind = Kind::kWheel;
      Point(rng, s);
      s.c = Between(rng, 0, 1) ? Between(rng, 1, 3) : -Between(rng, 1, 3);
    } else if (r < 935) {
      s.kind = Kind::kDrag;
      s.a = Between(rng, 500, 1600);
      s.b = Between(rng, 500, 1600);
      s.c = Between(rng, WMSZ_LEFT, WMSZ_BOTTOMRIGHT);
    } else if (r < 945) {
      s.kind = Kind::kClose;
    } else if (!scripts) {
      s = Pick(rng, kKeys);
    } else if (r < 970) {
      s.kind = Kind::kDrawing;
      s.a = Between(rng, 0, 4);
      s.b = Between(rng, 0, 9999);
    } else if (r < 985) {
      s.kind = Kind::kCatalogue;
      s.a = Between(rng, 0, 3);
      s.b = Between(rng, 0, 9999);
    } else {
      s.kind = Kind::kArmScript;
      s.a = Between(rng, 0, 4);
      s.b = Between(rng, 0, 9999);
    }
    out.push_back(s);
  }
  return out;
}

std::string ToText(const Step& s) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s %d %d %d %d", KindName(s.kind), s.a, s.b, s.c, s.mods);
  return buf;
}

std::string ToText(const std::vector<Step>& steps) {
  std::string out;
  for (const Step& s : steps) out += ToText(s) + "\n";
  return out;
}

bool Parse(const std::string& text, std::vector<Step>* out, int* badLine) {
  std::istringstream in(text);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name;
    Step s;
    if (!(fields >> name >> s.a >> s.b >> s.c >> s.mods)) {
      if (badLine) *badLine = n;
      return false;
    }
    bool known = false;
    for (Kind k : {Kind::kKey, Kind::kChar, Kind::kClick, Kind::kWheel, Kind::kDrag, Kind::kClose, Kind::kDrawing,
                   Kind::kCatalogue, Kind::kArmScript})
      if (name == KindName(k)) {
        s.kind = k;
        known = true;
      }
    if (!known) {
      if (badLine) *badLine = n;
      return false;
    }
    out->push_back(s);
  }
  return true;
}

}  // namespace monkey
