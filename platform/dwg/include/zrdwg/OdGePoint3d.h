#pragma once

struct OdGePoint3d {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  OdGePoint3d() = default;
  OdGePoint3d(double x_, double y_, double z_ = 0.0) : x(x_), y(y_), z(z_) {}
  friend bool operator==(const OdGePoint3d& a, const OdGePoint3d& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
};
