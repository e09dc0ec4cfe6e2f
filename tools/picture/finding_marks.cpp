#include "finding_marks.h"

#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "svg_text.h"

namespace picture {
namespace {

struct RuleStyle {
  const char* rule;
  const char* error;
  const char* warning;
  const char* meaning;
};

// Hues far apart for the rules, so that marks side by side are told apart.
constexpr RuleStyle kRules[] = {
    {"pin.missing", "#b45309", "#fcd34d", "a catalogue pin without a symbol"},
    {"pin.unknown", "#7c3aed", "#c4b5fd", "a pin the catalogue does not know"},
    {"pin.invalid-mate", "#dc2626", "#fca5a5", "touches a pin it may not mate with"},
    {"pin.self-mate", "#db2777", "#f9a8d4", "touches a pin of its own connector"},
    {"connector.unchecked", "#2563eb", "#93c5fd", "a connector whose symbols were not read"},
    {"connector.unknown-code", "#0f766e", "#5eead4", "a connector whose code the catalogue does not know"},
};
constexpr RuleStyle kOther = {"", "#4b5563", "#9ca3af", ""};

const RuleStyle& styleOf(const std::string& rule) {
  for (const RuleStyle& s : kRules)
    if (rule == s.rule) return s;
  return kOther;
}

constexpr double kRing = 8.0;         // radius of a mark's ring, pixels
constexpr double kLineHeight = 15.0;  // text lines of the notes and the panel
constexpr double kNoteRoom = 200.0;   // pixels a note needs to the left of its connector

void attribute(std::string& out, const char* name, const std::string& value) {
  out += ' ';
  out += name;
  out += "=\"" + xmlText(value) + '"';
}

void pixelAttribute(std::string& out, const char* name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendPixels(out, value);
  out += '"';
}

// The ring and cross of a mark at p (pixels); warnings have a dashed ring.
void appendMark(std::string& out, Point p, const std::string& colour, bool warning) {
  out += "<circle class=\"at\"";
  pixelAttribute(out, "cx", p.x);
  pixelAttribute(out, "cy", p.y);
  out += " r=\"" + number(kRing) + "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"3\"";
  if (warning) out += " stroke-dasharray=\"4 3\"";
  out += "/><path d=\"M";
  const double a = kRing * 0.6;
  for (const auto& [from, to] : {std::pair{Point{p.x - a, p.y - a}, Point{p.x + a, p.y + a}},
                                 std::pair{Point{p.x - a, p.y + a}, Point{p.x + a, p.y - a}}}) {
    if (out.back() != 'M') out += " M";
    appendPixels(out, from.x);
    out += ' ';
    appendPixels(out, from.y);
    out += " L";
    appendPixels(out, to.x);
    out += ' ';
    appendPixels(out, to.y);
  }
  out += "\" stroke=\"" + colour + "\" stroke-width=\"3\"/><circle";
  pixelAttribute(out, "cx", p.x);
  pixelAttribute(out, "cy", p.y);
  out += " r=\"2.5\" fill=\"" + colour + "\"/>";
}

// Opens a finding's group: id, data attributes, the title, the link.
void openFinding(std::string& out, const Finding& f, const std::string& id, const char* cls, bool rowLinks) {
  out += "<g";
  attribute(out, "id", id);
  attribute(out, "class", cls);
  attribute(out, "data-rule", f.rule);
  attribute(out, "data-severity", f.severity);
  attribute(out, "data-connector", f.connector);
  attribute(out, "data-pin", f.identifier);
  if (f.x && f.y) {
    attribute(out, "data-x", number(*f.x));
    attribute(out, "data-y", number(*f.y));
  }
  out += "><title>" + xmlText(findingDescription(f)) + "</title>";
  if (rowLinks) out += "<a href=\"#row-" + xmlText(id.substr(2)) + "\">";
}

void closeFinding(std::string& out, bool rowLinks) {
  if (rowLinks) out += "</a>";
  out += "</g>\n";
}

void appendText(std::string& out, Point at, const std::string& colour, const std::string& text,
                const char* weight = nullptr, const char* anchor = nullptr) {
  out += "<text";
  if (anchor) out += std::string(" text-anchor=\"") + anchor + '"';
  pixelAttribute(out, "x", at.x);
  pixelAttribute(out, "y", at.y);
  out += " fill=\"" + colour + '"';
  if (weight) out += std::string(" font-weight=\"") + weight + '"';
  out += '>' + xmlText(text) + "</text>";
}

// The note of a finding without a symbol.
std::string noteOf(const Finding& f) {
  if (f.rule == "pin.missing")
    return f.connector + ": pin " + (f.identifier.empty() ? "(no identifier)" : f.identifier) + " missing";
  if (f.rule == "connector.unchecked") return f.connector + ": not checked";
  return findingLabel(f) + ": " + f.rule;
}

}  // namespace

std::string markColour(const std::string& rule, const std::string& severity) {
  const RuleStyle& s = styleOf(rule);
  return severity == "warning" ? s.warning : s.error;
}

std::vector<std::string> findingIds(const std::vector<Finding>& findings) {
  std::vector<std::string> ids;
  std::map<std::string, int> seen;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    std::string id = findings[i].fingerprint.empty() ? std::to_string(i + 1) : findings[i].fingerprint;
    // Ids are names of the document: keep letters, digits, '-' and '_'.
    for (char& c : id)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') c = '_';
    const int n = ++seen[id];
    std::string name = "f-";
    name.append(id);
    if (n > 1) name.append("-").append(std::to_string(n));
    ids.push_back(std::move(name));
  }
  return ids;
}

std::string findingLabel(const Finding& f) {
  return f.identifier.empty() ? f.connector : f.connector + ":" + f.identifier;
}

std::string findingDescription(const Finding& f) {
  std::string text = f.rule + " (" + f.severity + "): connector " + f.connector;
  if (!f.code.empty()) text += " (" + f.code + ")";
  if (!f.identifier.empty() || (f.rule != "connector.unchecked" && f.rule != "connector.unknown-code")) {
    text += ", pin " + (f.identifier.empty() ? std::string("(no identifier)") : f.identifier);
    if (!f.pin.empty()) text += " [" + f.pin + "]";
  }
  if (!f.handle.empty()) text += ", symbol " + f.handle;
  if (f.x && f.y) text += " at " + number(*f.x) + "," + number(*f.y);
  if (f.related) text += ", touches " + f.related->connector + ":" + f.related->identifier;
  return text;
}

std::string findingMarks(const std::vector<Finding>& findings, const std::vector<std::string>& ids,
                         const Scene& scene, const PixelMap& map, bool rowLinks, std::vector<std::size_t>& unplaced) {
  std::string out;
  std::map<std::string, int> notesAt;  // notes written beside each connector
  std::map<std::pair<long, long>, int> labelsAt;  // labels of marks on one spot, stacked
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    const std::string colour = markColour(f.rule, f.severity);
    std::vector<Point> places;
    if (auto drawn = scene.symbols.find(f.handle); !f.handle.empty() && drawn != scene.symbols.end())
      places = drawn->second;
    else if (f.x && f.y && usable(Point{*f.x, *f.y}))
      places.push_back({*f.x, *f.y});
    if (!places.empty()) {
      openFinding(out, f, ids[i], "mark", rowLinks);
      for (const Point& p : places) appendMark(out, map(p), colour, f.severity == "warning");
      const Point first = map(places.front());
      const int stacked = labelsAt[{std::lround(first.x), std::lround(first.y)}]++;
      appendText(out, {first.x + kRing + 2, first.y - kRing - 2 - kLineHeight * stacked}, colour, findingLabel(f),
                 "bold");
      closeFinding(out, rowLinks);
      continue;
    }
    auto anchor = scene.connectors.find(f.connector);
    if (anchor == scene.connectors.end()) {
      unplaced.push_back(i);
      continue;
    }
    // To the left of the connector's first symbol, one line each: pin
    // symbols carry their identifiers to their right. Near the picture's
    // left edge, to the right beyond the identifier.
    const Point p = map(anchor->second);
    const int line = notesAt[f.connector]++;
    const bool left = p.x > kNoteRoom;
    openFinding(out, f, ids[i], "note", rowLinks);
    appendText(out, {left ? p.x - kRing - 6 : p.x + 4 * kRing, p.y + 4 + kLineHeight * line}, colour, noteOf(f),
               nullptr, left ? "end" : nullptr);
    closeFinding(out, rowLinks);
  }
  return out;
}

std::string sidePanel(const std::string& title, const std::vector<Finding>& findings,
                      const std::vector<std::string>& ids, const std::vector<std::size_t>& unplaced,
                      const Scene& scene, bool rowLinks, double& height) {
  std::string out;
  double y = 16;
  appendText(out, {0, y}, "#111827", title, "bold");
  int errors = 0, warnings = 0;
  for (const Finding& f : findings) (f.severity == "warning" ? warnings : errors) += 1;
  y += kLineHeight + 4;
  appendText(out, {0, y}, "#111827",
             std::to_string(findings.size()) + " findings: " + std::to_string(errors) + " errors, " +
                 std::to_string(warnings) + " warnings");
  y += kLineHeight * 2;
  out += "<g class=\"legend\">";
  appendText(out, {0, y}, "#111827", "Marks (error, warning):", "bold");
  std::map<std::string, int> counts;
  for (const Finding& f : findings) ++counts[f.rule];
  for (const RuleStyle& s : kRules) {
    y += kLineHeight + 8;
    appendMark(out, {10, y - 4}, s.error, false);
    appendMark(out, {34, y - 4}, s.warning, true);
    const int n = counts.count(s.rule) ? counts[s.rule] : 0;
    appendText(out, {52, y}, "#111827", std::string(s.rule) + " (" + std::to_string(n) + "): " + s.meaning);
  }
  out += "</g>\n";
  if (!unplaced.empty()) {
    y += kLineHeight * 2;
    appendText(out, {0, y}, "#111827", "Not in the picture (no symbol drawn):", "bold");
    for (std::size_t i : unplaced) {
      y += kLineHeight;
      const Finding& f = findings[i];
      openFinding(out, f, ids[i], "note", rowLinks);
      appendText(out, {8, y}, markColour(f.rule, f.severity), noteOf(f));
      closeFinding(out, rowLinks);
    }
  }
  if (!scene.notDrawn.empty()) {
    y += kLineHeight * 2;
    std::string kinds;
    for (const auto& [kind, n] : scene.notDrawn) kinds += (kinds.empty() ? "" : ", ") + kind + " " + std::to_string(n);
    appendText(out, {0, y}, "#4b5563", "Entities not drawn: " + kinds);
  }
  height = y + kLineHeight;
  return out;
}

}  // namespace picture
