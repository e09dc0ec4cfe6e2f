#pragma once
// One drawing entity as SVG elements in the drawing's own coordinates (Y up;
// the picture flips the whole drawing once). Reads the fields the entity's
// DXF tags carry, so that kinds the object model keeps only as tags (LINE,
// ARC, CIRCLE, LWPOLYLINE, POLYLINE, MTEXT) are drawn as well as TEXT and
// ATTRIB.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zrdwg/OdDbEntity.h"
#include "plane.h"

namespace picture {

// The first value of each group code in an object's own data: outside
// application groups ("102 {..."), before extended data (1001) and before an
// embedded object (101), whatever the subclass.
class Fields {
 public:
  explicit Fields(const TagList& tags);
  std::optional<std::string_view> raw(int code) const;
  std::optional<double> number(int code) const;
  double number(int code, double dflt) const { return number(code).value_or(dflt); }
  long integer(int code, long dflt) const;
  Point point(int xCode, double dflt = 0.0) const { return {number(xCode, dflt), number(xCode + 10, dflt)}; }

 private:
  std::vector<DxfTag> first_;
};

// What has been drawn into one container (model space or a block
// definition): SVG elements in the container's coordinates and their extent.
struct Sketch {
  std::string svg;
  Box box;
};

// Draws a LINE, ARC, CIRCLE, LWPOLYLINE (bulges as arcs), POLYLINE (2D and
// 3D, projected; meshes and face lists are not drawn), TEXT, MTEXT or ATTRIB
// into `out`. Returns false for any other kind and for an entity that cannot
// be drawn (an invisible one, coordinates that are not usable). Texts are
// placed at their insertion or alignment point, turned by their rotation,
// `height` high; their extent is estimated from the number of characters.
bool drawEntity(const OdDbEntity& entity, Sketch& out);

}  // namespace picture
