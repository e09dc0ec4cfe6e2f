#include "entity_svg.h"

#include <cmath>

#include "zrdwg/DxfValues.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbText.h"
#include "zrdwg/TextCodec.h"
#include "svg_text.h"

namespace picture {

Fields::Fields(const TagList& tags) {
  bool inGroup = false;
  for (const DxfTag& t : tags) {
    if (t.code == 1001 || t.code == 101) break;
    if (t.code == 102) {
      inGroup = !t.value.empty() && t.value[0] == '{';
      continue;
    }
    if (inGroup || t.code == 100) continue;
    bool seen = false;
    for (const DxfTag& f : first_) seen = seen || f.code == t.code;
    if (!seen) first_.push_back(t);
  }
}

std::optional<std::string_view> Fields::raw(int code) const {
  for (const DxfTag& f : first_)
    if (f.code == code) return f.value;
  return std::nullopt;
}

std::optional<double> Fields::number(int code) const {
  const std::optional<std::string_view> value = raw(code);
  if (!value) return std::nullopt;
  return dxfv::toDouble(*value);
}

long Fields::integer(int code, long dflt) const {
  const std::optional<std::string_view> value = raw(code);
  if (!value) return dflt;
  return static_cast<long>(dxfv::toInt(*value).value_or(dflt));
}

namespace {

// Lines one pixel wide at any zoom, written on each element: vector-effect is
// not inherited, and a style sheet does not reach <use> copies in every
// browser. The width itself is the drawing group's (see drawing_picture.cpp).
constexpr const char* kHairline = " vector-effect=\"non-scaling-stroke\"";

constexpr double kDegree = M_PI / 180.0;
// CAD text height is the height of capitals; an SVG font size is the em,
// whose capitals are about 0.72 of it.
constexpr double kEmPerHeight = 1.0 / 0.72;
// Characters of a text are about this many heights wide, for its extent.
constexpr double kWidthPerChar = 0.8;
// The default line spacing of paragraph text, in text heights.
constexpr double kLineSpacing = 5.0 / 3.0;

// Entities of the object coordinate system lie mirrored in X when their
// extrusion points down (210/220/230 = 0,0,-1), as a mirrored copy leaves them.
Affine ocsOf(const Fields& f) {
  Affine m;
  if (f.number(230, 1.0) < 0.0) m.a = -1.0;
  return m;
}

bool mirrors(const Affine& m) { return m.a * m.d - m.b * m.c < 0.0; }

void appendPoint(std::string& out, Point p) {
  appendNumber(out, p.x);
  out += ' ';
  appendNumber(out, p.y);
}

struct Vertex {
  Point p;
  double bulge = 0.0;
};

// A polyline path; a bulge b is an arc to the next vertex turning by
// 4·atan(b), counter-clockwise when positive.
bool drawVertices(const std::vector<Vertex>& vertices, bool closed, const Affine& ocs, Sketch& out) {
  if (vertices.size() < 2) return false;
  for (const Vertex& v : vertices)
    if (!usable(v.p) || !std::isfinite(v.bulge)) return false;
  std::string d = "M";
  appendPoint(d, ocs.apply(vertices[0].p));
  out.box.add(ocs.apply(vertices[0].p));
  const std::size_t segments = closed ? vertices.size() : vertices.size() - 1;
  for (std::size_t i = 0; i < segments; ++i) {
    const Vertex& from = vertices[i];
    const Point to = vertices[(i + 1) % vertices.size()].p;
    const double dx = to.x - from.p.x, dy = to.y - from.p.y;
    const double chord = std::hypot(dx, dy);
    const double b = from.bulge;
    if (std::fabs(b) < 1e-12 || chord == 0.0) {
      d += " L";
    } else {
      const double radius = chord * (1.0 + b * b) / (4.0 * std::fabs(b));
      // The arc's middle lies to the right of the chord for a positive bulge.
      out.box.add(ocs.apply({(from.p.x + to.x) / 2 + dy * b / 2, (from.p.y + to.y) / 2 - dx * b / 2}));
      d += " A";
      appendNumber(d, radius);
      d += ' ';
      appendNumber(d, radius);
      d += " 0 ";
      d += std::fabs(b) > 1.0 ? '1' : '0';
      d += ' ';
      d += (b > 0.0) != mirrors(ocs) ? '1' : '0';
      d += ' ';
    }
    appendPoint(d, ocs.apply(to));
    out.box.add(ocs.apply(to));
  }
  if (closed) d += " Z";
  out.svg += std::string("<path") + kHairline + " d=\"" + d + "\"/>\n";
  return true;
}

bool drawLwPolyline(const OdDbEntity& e, const Fields& f, Sketch& out) {
  std::vector<Vertex> vertices;
  bool inGroup = false;
  for (const DxfTag& t : e.dxfTags()) {
    if (t.code == 1001) break;
    if (t.code == 102) {
      inGroup = !t.value.empty() && t.value[0] == '{';
      continue;
    }
    if (inGroup) continue;
    const double value = dxfv::toDouble(t.value).value_or(NAN);
    if (t.code == 10) vertices.push_back({{value, 0.0}, 0.0});
    if (vertices.empty()) continue;
    if (t.code == 20) vertices.back().p.y = value;
    if (t.code == 42) vertices.back().bulge = value;
  }
  return drawVertices(vertices, f.integer(70, 0) & 1, ocsOf(f), out);
}

bool drawPolyline(const OdDbEntity& e, const Fields& f, Sketch& out) {
  const long flags = f.integer(70, 0);
  if (flags & (16 | 64)) return false;  // polygon meshes and face lists
  std::vector<Vertex> vertices;
  for (OdDbObjectIteratorPtr it = e.subEntityIterator(); !it->done(); it->step()) {
    OdDbEntityPtr vertex = it->entity();
    if (vertex.isNull() || vertex->dxfName() != "VERTEX") continue;
    const Fields v(vertex->dxfTags());
    if (v.integer(70, 0) & 16) continue;  // a spline's frame point, not on the curve
    vertices.push_back({v.point(10, NAN), v.number(42, 0.0)});
  }
  // A 3D polyline lies in world coordinates, a 2D one in its object system.
  return drawVertices(vertices, flags & 1, (flags & 8) ? Affine() : ocsOf(f), out);
}

bool drawLine(const Fields& f, Sketch& out) {
  const Point a = f.point(10, NAN), b = f.point(11, NAN);
  if (!usable(a) || !usable(b)) return false;
  out.svg += std::string("<path") + kHairline + " d=\"M";
  appendPoint(out.svg, a);
  out.svg += " L";
  appendPoint(out.svg, b);
  out.svg += "\"/>\n";
  out.box.add(a);
  out.box.add(b);
  return true;
}

bool drawCircleOrArc(const Fields& f, bool arc, Sketch& out) {
  const Affine ocs = ocsOf(f);
  const Point center = ocs.apply(f.point(10, NAN));
  const double r = f.number(40, NAN);
  if (!usable(center) || !usable(r) || r <= 0.0) return false;
  out.box.addAround(center, r);
  if (!arc) {
    out.svg += std::string("<circle") + kHairline + " cx=\"";
    appendNumber(out.svg, center.x);
    out.svg += "\" cy=\"";
    appendNumber(out.svg, center.y);
    out.svg += "\" r=\"";
    appendNumber(out.svg, r);
    out.svg += "\"/>\n";
    return true;
  }
  const double start = f.number(50, 0.0), end = f.number(51, 360.0);
  if (!usable(start) || !usable(end)) return false;
  double span = std::fmod(end - start, 360.0);
  if (span <= 0.0) span += 360.0;
  const Point raw = f.point(10, NAN);
  auto at = [&](double degrees) {
    return ocs.apply({raw.x + r * std::cos(degrees * kDegree), raw.y + r * std::sin(degrees * kDegree)});
  };
  std::string& s = out.svg;
  s += std::string("<path") + kHairline + " d=\"M";
  appendPoint(s, at(start));
  // A whole turn is two halves: an SVG arc from a point to itself is nothing.
  const bool whole = span >= 360.0 - 1e-9;
  const char sweep = mirrors(ocs) ? '0' : '1';
  for (const double to : whole ? std::vector<double>{start + 180.0, start + 360.0} : std::vector<double>{start + span}) {
    s += " A";
    appendNumber(s, r);
    s += ' ';
    appendNumber(s, r);
    s += " 0 ";
    s += (!whole && span > 180.0) ? '1' : '0';
    s += ' ';
    s += sweep;
    s += ' ';
    appendPoint(s, at(to));
  }
  s += "\"/>\n";
  return true;
}

// Counts code points, for a text's estimated width.
std::size_t characters(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// Writes lines of text whose first baseline starts `firstBaseline` heights
// below `at` (negative: above), turned by `degrees`. anchor: 0 start,
// 1 middle, 2 end.
bool drawTextLines(const std::vector<std::string>& lines, Point at, double height, double degrees, int anchor,
                   double firstBaseline, Sketch& out) {
  if (!usable(at) || !usable(height) || height <= 0.0 || !usable(degrees)) return false;
  bool any = false;
  for (const std::string& line : lines) any = any || !line.empty();
  if (!any) return false;
  const double cs = std::cos(degrees * kDegree), sn = std::sin(degrees * kDegree);
  // Text runs along (cs, sn); the text's "down" is the right-hand normal.
  const Affine m{cs, sn, sn, -cs, at.x, at.y};
  std::string& s = out.svg;
  s += "<text transform=\"";
  appendMatrix(s, m);
  // Written on the element: the drawing's fill is "none", and a style
  // sheet does not reach <use> copies in every browser.
  s += "\" fill=\"#1f2937\" stroke=\"none\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"";
  appendNumber(s, height * kEmPerHeight);
  s += '"';
  if (anchor == 1) s += " text-anchor=\"middle\"";
  if (anchor == 2) s += " text-anchor=\"end\"";
  s += '>';
  std::size_t widest = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    s += "<tspan x=\"0\" y=\"";
    appendNumber(s, (firstBaseline + kLineSpacing * static_cast<double>(i)) * height);
    s += "\">" + xmlText(lines[i]) + "</tspan>";
    widest = std::max(widest, characters(lines[i]));
  }
  s += "</text>\n";
  const double width = kWidthPerChar * height * static_cast<double>(widest);
  const double left = anchor == 0 ? 0.0 : (anchor == 1 ? -width / 2 : -width);
  const double top = (firstBaseline - 1.0) * height;
  const double bottom = (firstBaseline + kLineSpacing * static_cast<double>(lines.size() - 1) + 0.3) * height;
  for (const Point corner : {Point{left, top}, Point{left + width, top}, Point{left, bottom}, Point{left + width, bottom}})
    out.box.add(m.apply(corner));
  return true;
}

bool drawText(const OdDbEntity& e, const Fields& f, bool attribute, Sketch& out) {
  if (attribute && (f.integer(70, 0) & 1)) return false;  // an invisible attribute
  const OdDbText* text = OdDbText::cast(&e);
  if (!text) return false;
  const long horizontal = f.integer(72, 0);
  const long vertical = f.integer(attribute ? 74 : 73, 0);
  // Aligned and fitted texts (3, 5) run from the first point; the others
  // hang on the alignment point when they are not plain left-baseline.
  const bool aligned = horizontal == 3 || horizontal == 5;
  const bool byAlignment = !aligned && (horizontal != 0 || vertical != 0) && f.raw(11);
  const Point at = ocsOf(f).apply(byAlignment ? f.point(11, NAN) : f.point(10, NAN));
  const int anchor = aligned ? 0 : (horizontal == 1 || horizontal == 4 ? 1 : (horizontal == 2 ? 2 : 0));
  const double baseline = horizontal == 4 ? 0.5 : (vertical == 3 ? 1.0 : (vertical == 2 ? 0.5 : (vertical == 1 ? -0.3 : 0.0)));
  return drawTextLines({text->textString().toUtf8()}, at, f.number(40, 2.5), f.number(50, 0.0), anchor, baseline,
                       out);
}

// Paragraph text without its formatting codes, split at its line breaks (\P).
std::vector<std::string> paragraphLines(std::string_view raw) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '{' || c == '}') continue;
    if (c != '\\' || i + 1 == raw.size()) {
      lines.back() += c;
      continue;
    }
    const char code = raw[++i];
    switch (code) {
      case 'P': lines.emplace_back(); break;
      case '~': lines.back() += ' '; break;
      case '\\': case '{': case '}': lines.back() += code; break;
      case 'S': {  // stacked "a^b;" or "a/b;" reads as a/b
        const std::size_t end = raw.find(';', i);
        std::string stacked(raw.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1));
        for (char& s : stacked)
          if (s == '^' || s == '#') s = '/';
        lines.back() += stacked;
        i = end == std::string_view::npos ? raw.size() : end;
        break;
      }
      case 'A': case 'C': case 'c': case 'F': case 'f': case 'H': case 'Q': case 'T': case 'W': case 'p': {
        const std::size_t end = raw.find(';', i);  // a value up to ';'
        i = end == std::string_view::npos ? raw.size() : end;
        break;
      }
      default: break;  // \L \l \O \o \K \k and the like: on/off switches
    }
  }
  return lines;
}

bool drawParagraphText(const OdDbEntity& e, const Fields& f, Sketch& out) {
  std::string raw;
  bool inGroup = false;
  for (const DxfTag& t : e.dxfTags()) {  // the chunks (3) come before the last part (1)
    if (t.code == 1001 || t.code == 101) break;
    if (t.code == 102) inGroup = !t.value.empty() && t.value[0] == '{';
    if (!inGroup && (t.code == 3 || t.code == 1)) raw += t.value;
  }
  if (e.database()) raw = e.database()->codec().decode(raw).toUtf8();
  const std::vector<std::string> lines = paragraphLines(raw);
  const long attachment = std::clamp(f.integer(71, 1), 1L, 9L);
  const double height = f.number(40, 2.5);
  const double total = 1.0 + kLineSpacing * static_cast<double>(lines.size() - 1);
  const long row = (attachment - 1) / 3;
  const double baseline = row == 0 ? 1.0 : (row == 1 ? 1.0 - total / 2 : 1.0 - total);
  double degrees = f.number(50, 0.0);
  if (f.raw(11)) degrees = std::atan2(f.number(21, 0.0), f.number(11, 1.0)) / kDegree;
  return drawTextLines(lines, ocsOf(f).apply(f.point(10, NAN)), height, degrees,
                       static_cast<int>((attachment - 1) % 3), baseline, out);
}

}  // namespace

bool drawEntity(const OdDbEntity& entity, Sketch& out) {
  const std::string& kind = entity.dxfName();
  const Fields f(entity.dxfTags());
  if (f.integer(60, 0) == 1) return false;  // invisible
  if (kind == "LINE") return drawLine(f, out);
  if (kind == "CIRCLE") return drawCircleOrArc(f, false, out);
  if (kind == "ARC") return drawCircleOrArc(f, true, out);
  if (kind == "LWPOLYLINE") return drawLwPolyline(entity, f, out);
  if (kind == "POLYLINE") return drawPolyline(entity, f, out);
  if (kind == "TEXT") return drawText(entity, f, false, out);
  if (kind == "ATTRIB") return drawText(entity, f, true, out);
  if (kind == "MTEXT") return drawParagraphText(entity, f, out);
  return false;
}

}  // namespace picture
