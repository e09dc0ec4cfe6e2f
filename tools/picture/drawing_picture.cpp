#include "drawing_picture.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "drawing_scene.h"
#include "finding_marks.h"
#include "report_output.h"
#include "svg_text.h"

namespace picture {
namespace {

// The drawing is fitted into this many pixels, with a margin for the marks
// at its edges; the side panel stands to its right.
constexpr double kFitWidth = 1400.0, kFitHeight = 1000.0;
constexpr double kMargin = 40.0;
constexpr double kPanelWidth = 460.0;

constexpr const char* kStyle =
    // Lines one pixel wide at any zoom. A renderer without vector-effect
    // (librsvg) drops this rule, var() being unknown to it, and keeps the
    // drawing group's stroke-width: one pixel at the picture's own scale.
    // The width is set on the drawing's group, whose <use> copies inherit it;
    // each element carries vector-effect itself (entity_svg.cpp).
    ".zr-picture .drawing, .zr-picture .drawing * { stroke-width: var(--zr-line, 1px) }\n"
    ".zr-picture .overlay text, .zr-picture .panel text { font-family: 'DejaVu Sans', sans-serif;"
    " font-size: 12px }\n";

}  // namespace

std::string drawingSvg(const OdDbDatabase& db, const Findings& findings, const std::string& title,
                       bool rowLinks) {
  SceneRequest request;
  for (const Finding& f : findings) {
    if (!f.handle.empty()) request.handles.insert(f.handle);
    if (!f.x || !f.y) request.connectors.insert(f.connector);
  }
  const Scene scene = drawModelSpace(db, request);

  // The extent of what was drawn and of the marks placed by position alone.
  Box box = scene.model.box;
  for (const Finding& f : findings)
    if (f.x && f.y && usable(Point{*f.x, *f.y}) && !scene.symbols.count(f.handle)) box.add({*f.x, *f.y});
  if (box.empty()) box.add({0, 0});
  const double width = std::max(box.maxX - box.minX, 1e-9), height = std::max(box.maxY - box.minY, 1e-9);
  double scale = std::min(kFitWidth / width, kFitHeight / height);
  // A single point (or a line along one axis) gets the scale of a unit square.
  if (box.maxX - box.minX < 1e-9 && box.maxY - box.minY < 1e-9) scale = 1.0;
  PixelMap map{scale, kMargin - scale * box.minX, kMargin + scale * box.maxY};

  std::vector<std::string> ids = findingIds(findings);
  std::vector<std::size_t> unplaced;
  const std::string marks = findingMarks(findings, ids, scene, map, rowLinks, unplaced);
  double panelHeight = 0.0;
  const std::string panel = sidePanel(title, findings, ids, unplaced, scene, rowLinks, panelHeight);

  const double drawnWidth = scale * width, drawnHeight = scale * height;
  const double panelX = drawnWidth + 2 * kMargin;
  const double totalWidth = std::ceil(panelX + kPanelWidth + kMargin);
  const double totalHeight = std::ceil(std::max(drawnHeight + 2 * kMargin, panelHeight + 2 * kMargin));

  std::string out;
  out.reserve(scene.defs.size() + scene.model.svg.size() + marks.size() + panel.size() + 2048);
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" class=\"zr-picture\"";
  out += " width=\"" + number(totalWidth) + "\" height=\"" + number(totalHeight) + "\" viewBox=\"0 0 " +
         number(totalWidth) + ' ' + number(totalHeight) + '"';
  out += " data-scale=\"" + number(map.scale) + "\" data-offset-x=\"" + number(map.offsetX) +
         "\" data-offset-y=\"" + number(map.offsetY) + "\">\n";
  out += "<title>" + xmlText(title) + "</title>\n<style>\n" + kStyle + "</style>\n";
  out += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  // The block groups sit inside the drawing's group so that its style
  // reaches them; they are drawn only where references use them.
  // The drawing's colours are presentation attributes of its group, which
  // every element and every <use> copy inherits: a style sheet's selectors
  // do not reach into <use> copies in every browser.
  out += "<g class=\"drawing\" fill=\"none\" stroke=\"#1f2937\" stroke-width=\"" + number(1.0 / scale) +
         "\" transform=\"matrix(" + number(scale) +
         " 0 0 " + number(-scale) + ' ' + number(map.offsetX) + ' ' + number(map.offsetY) + ")\">\n<defs>\n";
  out += scene.defs;
  out += "</defs>\n";
  out += scene.model.svg;
  out += "</g>\n<g class=\"overlay\">\n" + marks + "</g>\n";
  out += "<g class=\"panel\" transform=\"translate(" + number(panelX) + ' ' + number(kMargin) + ")\">\n" + panel +
         "</g>\n</svg>\n";
  return out;
}

PictureFormat formatOf(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  auto endsWith = [&](const std::string& end) {
    return lower.size() >= end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0;
  };
  return endsWith(".html") || endsWith(".htm") ? PictureFormat::kHtml : PictureFormat::kSvg;
}

std::string writePicture(const std::string& path, PictureFormat format, const OdDbDatabase& db,
                         const Findings& findings, const std::string& title) {
  if (path.empty() || path == "-") return "a picture is written to a file, not to standard output";
  ReportOutput output(path);
  if (!output.openError().empty()) return output.openError();
  if (format == PictureFormat::kHtml) {
    output.stream() << drawingHtml(db, findings, title);
  } else {
    output.stream() << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" << drawingSvg(db, findings, title);
  }
  return output.finish();
}

std::string picturePathFor(const std::string& path, const std::string& drawing, std::size_t count) {
  if (count <= 1) return path;
  namespace fs = std::filesystem;
  const fs::path target(path);
  const std::string stem = drawing == "-" ? "stdin" : fs::path(drawing).stem().string();
  return (target.parent_path() / (target.stem().string() + "-" + stem + target.extension().string())).string();
}

}  // namespace picture
