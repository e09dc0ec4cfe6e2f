#pragma once
// How a picture shows findings: a colour per rule and severity, an element id
// per finding, the marks at the symbols, the notes beside connectors for
// findings without a symbol, and the legend.

#include <string>
#include <vector>

#include "drawing_scene.h"
#include "findings.h"

namespace picture {

// The colour of a rule's findings ("#rrggbb"): a strong one for errors, a
// pale one of the same hue for warnings. Rules the table does not know are
// grey.
std::string markColour(const std::string& rule, const std::string& severity);

// One element id per finding, in order: "f-" and its fingerprint ("f-N",
// from its place, when it has none), with "-2", "-3", ... for a fingerprint
// met again (two symbols of one connector with the same identifier).
std::vector<std::string> findingIds(const Findings& findings);

// "X4:9": the connector and the pin identifier a finding is about.
std::string findingLabel(const Finding& finding);
// One line for people: rule and severity, connector and code, pin, symbol
// and what it touches.
std::string findingDescription(const Finding& finding);

// Maps drawing coordinates to the picture's pixels (Y down).
struct PixelMap {
  double scale = 1.0, offsetX = 0.0, offsetY = 0.0;
  Point operator()(Point p) const { return {offsetX + scale * p.x, offsetY - scale * p.y}; }
};

// The overlay: a mark (ring and cross, with the label) at every place where
// a finding's symbol was drawn, or at its reported position when the symbol
// was not drawn; for findings without a position (missing pins, connectors
// not checked) a note beside the connector's first symbol. Each finding's
// element gets its id; with `rowLinks` it links to "#row-" + the id's rest.
// Findings placed nowhere (no position, connector not drawn) are returned
// in `unplaced` (indexes) for the side panel.
std::string findingMarks(const Findings& findings, const std::vector<std::string>& ids,
                         const Scene& scene, const PixelMap& map, bool rowLinks, std::vector<std::size_t>& unplaced);

// The side panel at its own origin: the title, the counts, the legend of
// every rule in both severities, the unplaced findings and the kinds of
// entities not drawn. `height` is set to the panel's height in pixels.
std::string sidePanel(const std::string& title, const Findings& findings,
                      const std::vector<std::string>& ids, const std::vector<std::size_t>& unplaced,
                      const Scene& scene, bool rowLinks, double& height);

}  // namespace picture
