#pragma once
// A drawing's model space as SVG elements in drawing coordinates, with the
// places of the pin symbols and connectors a picture marks.
//
// Block definitions are drawn once each, as groups that references use with
// their transform (insertion point, scales, rotation, base point), so the
// picture grows with the drawing and not with how deep blocks nest. A
// reference back into a block being drawn (a cycle) and references nested
// deeper than kMaxNesting levels are left out. Attributes are drawn where
// their references put them.

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "zrdwg/OdDbDatabase.h"
#include "entity_svg.h"

namespace picture {

constexpr int kMaxNesting = 64;
// At most this many places are kept per block and for model space: a block
// nested in blocks repeats its symbols' places, which could multiply.
constexpr std::size_t kMaxPlaces = 100000;

// What the marks need to know about.
struct SceneRequest {
  std::set<std::string> handles;     // pin symbols (block references) by handle text
  std::set<std::string> connectors;  // connectors ("ZR_PINO" name) whose first symbol is wanted
};

struct Scene {
  std::string defs;  // one <g id="block-N"> per block definition drawn
  Sketch model;      // model space, using the groups of defs
  // Where each requested symbol's insertion point was drawn, in drawing
  // coordinates: once per appearance (a symbol inside a block appears
  // wherever the block is referenced), in drawing order.
  std::unordered_map<std::string, std::vector<Point>> symbols;
  // The first symbol of each requested connector, in drawing order.
  std::map<std::string, Point> connectors;
  // Entities left out, by kind (kinds the picture does not draw, invisible
  // ones, unusable coordinates), for the picture to say so.
  std::map<std::string, int> notDrawn;
};

// Draws the model space of db. REQUIRES: db stays open meanwhile; nothing
// else changes it. Objects are only opened for reading.
Scene drawModelSpace(const OdDbDatabase& db, const SceneRequest& request);

}  // namespace picture
