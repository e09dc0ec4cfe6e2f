#pragma once
// Plane geometry of the picture: points, the affine maps of block references
// and bounding boxes. Drawings are drawn in their XY plane; Z is dropped.

#include <algorithm>
#include <cmath>
#include <limits>

namespace picture {

struct Point {
  double x = 0.0, y = 0.0;
};

// True for a coordinate the picture can use: finite and within ±1e12 units,
// so that extents and scales computed from it stay finite.
inline bool usable(double v) { return std::isfinite(v) && std::fabs(v) <= 1e12; }
inline bool usable(Point p) { return usable(p.x) && usable(p.y); }

// x' = a x + c y + e, y' = b x + d y + f (the order of SVG's matrix()).
struct Affine {
  double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;

  Point apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // This map followed by `outer`.
  Affine then(const Affine& o) const {
    return {o.a * a + o.c * b, o.b * a + o.d * b, o.a * c + o.c * d,
            o.b * c + o.d * d, o.a * e + o.c * f + o.e, o.b * e + o.d * f + o.f};
  }
  // A block reference: the block's base point moved to the origin, scaled,
  // turned counter-clockwise by `degrees`, moved to the insertion point.
  static Affine insertion(Point at, double scaleX, double scaleY, double degrees, Point base) {
    const double r = degrees * M_PI / 180.0;
    const double cs = std::cos(r), sn = std::sin(r);
    Affine m{cs * scaleX, sn * scaleX, -sn * scaleY, cs * scaleY, 0.0, 0.0};
    const Point shift = m.apply(base);
    m.e = at.x - shift.x;
    m.f = at.y - shift.y;
    return m;
  }
};

struct Box {
  double minX = std::numeric_limits<double>::infinity(), minY = minX;
  double maxX = -std::numeric_limits<double>::infinity(), maxY = maxX;

  bool empty() const { return minX > maxX; }
  void add(Point p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  // The box of a square of half-side r around p (a circle, a text's reach).
  void addAround(Point p, double r) {
    add({p.x - r, p.y - r});
    add({p.x + r, p.y + r});
  }
  // Another box carried by a map: its four corners, a box that holds the
  // mapped contents (larger than they need when the map turns).
  void add(const Box& o, const Affine& m) {
    if (o.empty()) return;
    add(m.apply({o.minX, o.minY}));
    add(m.apply({o.maxX, o.minY}));
    add(m.apply({o.minX, o.maxY}));
    add(m.apply({o.maxX, o.maxY}));
  }
};

}  // namespace picture
