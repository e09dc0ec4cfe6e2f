#include "finding_marks.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

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
// Every colour has a contrast of at least 4.5:1 on white, so that the marks
// and the labels written in them read on the picture's white ground;
// warnings are a darker shade of their rule's hue, with a dashed ring.
constexpr RuleStyle kRules[] = {
    {"pin.missing", "#b45309", "#92400e", "a catalogue pin without a symbol"},
    {"pin.unknown", "#7c3aed", "#5b21b6", "a pin the catalogue does not know"},
    {"pin.invalid-mate", "#dc2626", "#991b1b", "touches a pin it may not mate with"},
    {"pin.self-mate", "#be185d", "#9d174d", "touches a pin of its own connector"},
    {"connector.unchecked", "#2563eb", "#1e40af", "a connector whose symbols were not read"},
    {"connector.unknown-code", "#0f766e", "#115e59", "a code the catalogue does not know"},
};
constexpr RuleStyle kOther = {"", "#4b5563", "#374151", ""};

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
  out += " fill=\"" + colour + "\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"12\"";
  if (weight) out += std::string(" font-weight=\"") + weight + '"';
  out += '>' + xmlText(text) + "</text>";
}

// The room a label of 12-pixel DejaVu Sans takes, from its characters: an
// estimate at least as wide as the font's advances (bold ones for bold
// labels), so that boxes kept apart here are apart on screen.
double labelWidth(const std::string& text, bool bold) {
  double width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;  // a UTF-8 continuation byte
    if (c >= 'A' && c <= 'Z') width += 10.0;
    else if (c == 'm' || c == 'w') width += 11.5;
    else if (c == ' ' || c == '.' || c == ',' || c == ':' || c == ';' || c == 'i' || c == 'l' || c == '|' ||
             c == '\'' || c == '!' || c == 'j' || c == 'f' || c == 't' || c == 'r' || c == '(' || c == ')')
      width += 5.5;
    else width += 8.2;
  }
  return width * (bold ? 1.1 : 1.0) + 2.0;
}

// Places labels so that none covers another label or a mark: each takes the
// first free place among those around its mark, then rings further out,
// joined to its mark by a leader line.
class LabelPlacer {
 public:
  void occupyMark(Point p) {
    Box b;
    b.addAround(p, kRing + 2);
    taken_.push_back(b);
  }
  // The baseline start of a label `width` wide for the mark at p, and
  // whether it stands apart (a leader line is then drawn).
  Point place(Point p, double width, bool& apart) {
    for (int ring = 0; ring < 12; ++ring) {
      const double d = kRing + 3 + ring * (kLineHeight + 2);
      const Point candidates[] = {
          {p.x + d, p.y - d + 11},          {p.x + d, p.y + 4},     {p.x + d, p.y + d + 11},
          {p.x - d - width, p.y - d + 11},  {p.x - d - width, p.y + 4}, {p.x - d - width, p.y + d + 11},
          {p.x - width / 2, p.y - d - 3},   {p.x - width / 2, p.y + d + 14}};
      for (const Point& at : candidates) {
        const Box box = boxOf(at, width);
        if (!free(box)) continue;
        taken_.push_back(box);
        apart = ring > 0;
        return at;
      }
    }
    // Nowhere free nearby: below everything placed so far.
    double lowest = p.y;
    for (const Box& b : taken_) lowest = std::max(lowest, b.maxY);
    const Point at{p.x + kRing + 3, lowest + 14};
    taken_.push_back(boxOf(at, width));
    apart = true;
    return at;
  }
  // Reserves a note written at `at` (its anchor: start, or end when `end`).
  void occupyText(Point at, double width, bool end) { taken_.push_back(boxOf({end ? at.x - width : at.x, at.y}, width)); }
  // The first baseline at or below `at` where a note fits.
  Point freeLine(Point at, double width, bool end) {
    for (int i = 0; i < 200; ++i, at.y += kLineHeight)
      if (free(boxOf({end ? at.x - width : at.x, at.y}, width))) return at;
    return at;
  }

 private:
  static Box boxOf(Point baseline, double width) {
    Box b;
    b.add({baseline.x, baseline.y - 11});
    b.add({baseline.x + width, baseline.y + 3});
    return b;
  }
  bool free(const Box& box) const {
    for (const Box& b : taken_)
      if (box.minX < b.maxX && b.minX < box.maxX && box.minY < b.maxY && b.minY < box.maxY) return false;
    return true;
  }
  std::vector<Box> taken_;
};

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

std::vector<std::string> findingIds(const Findings& findings) {
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

std::string findingMarks(const Findings& findings, const std::vector<std::string>& ids,
                         const Scene& scene, const PixelMap& map, bool rowLinks, std::vector<std::size_t>& unplaced) {
  std::string out;
  // Every mark first, so that no label is put over a mark drawn later.
  LabelPlacer labels;
  std::vector<std::vector<Point>> placesOf(findings.size());
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    if (auto drawn = scene.symbols.find(f.handle); !f.handle.empty() && drawn != scene.symbols.end())
      placesOf[i] = drawn->second;
    else if (f.x && f.y && usable(Point{*f.x, *f.y}))
      placesOf[i].push_back({*f.x, *f.y});
    for (const Point& p : placesOf[i]) labels.occupyMark(map(p));
  }
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    const std::string colour = markColour(f.rule, f.severity);
    const std::vector<Point>& places = placesOf[i];
    if (!places.empty()) {
      openFinding(out, f, ids[i], "mark", rowLinks);
      for (const Point& p : places) appendMark(out, map(p), colour, f.severity == "warning");
      const Point first = map(places.front());
      const std::string text = findingLabel(f);
      bool apart = false;
      const Point at = labels.place(first, labelWidth(text, true), apart);
      if (apart) {
        // A leader from the ring's edge to the label's nearer end.
        const double tx = at.x > first.x ? at.x - 1 : at.x + labelWidth(text, true) + 1, ty = at.y - 4;
        const double dx = tx - first.x, dy = ty - first.y, length = std::hypot(dx, dy);
        if (length > kRing) {
          out += "<path class=\"leader\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1\" d=\"M";
          appendPixels(out, first.x + dx / length * kRing);
          out += ' ';
          appendPixels(out, first.y + dy / length * kRing);
          out += " L";
          appendPixels(out, tx);
          out += ' ';
          appendPixels(out, ty);
          out += "\"/>";
        }
      }
      appendText(out, at, colour, text, "bold");
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
    // left edge, to the right beyond the identifier. A note goes down to
    // the first line where it covers no label or mark.
    const Point p = map(anchor->second);
    const bool left = p.x > kNoteRoom;
    const std::string text = noteOf(f);
    const double width = labelWidth(text, false);
    const Point at = labels.freeLine({left ? p.x - kRing - 6 : p.x + 4 * kRing, p.y + 4}, width, left);
    labels.occupyText(at, width, left);
    openFinding(out, f, ids[i], "note", rowLinks);
    appendText(out, at, colour, text, nullptr, left ? "end" : nullptr);
    closeFinding(out, rowLinks);
  }
  return out;
}

std::string sidePanel(const std::string& title, const Findings& findings,
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
