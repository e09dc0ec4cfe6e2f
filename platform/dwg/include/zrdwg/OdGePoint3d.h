#pragma once
// A point in the drawing's coordinates (group codes 10, 20, 30 and the like).

struct OdGePoint3d {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  // The origin.
  OdGePoint3d() = default;
  // The point of those coordinates; z is 0 for a point in the plane.
  OdGePoint3d(double x_, double y_, double z_ = 0.0) : x(x_), y(y_), z(z_) {}
  // Exact comparison of the three coordinates.
  friend bool operator==(const OdGePoint3d& a, const OdGePoint3d& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
};
