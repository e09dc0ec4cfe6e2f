#pragma once
// Finds, for a pin, the first pin in check order that lies strictly within
// 0.00001 of it on both axes, has a symbol, and is another symbol. The answer
// is the one a scan of every record and pin in order gives, but each question
// only looks at the pins of the grid cells around it (usually one), found by
// binary search in one sorted array, so pairing a drawing costs n log n in its
// number of pins, with one allocation.

#include <cstdint>
#include <vector>

#include "drawing/CEPino.h"

namespace zr {

class PinGrid {
 public:
  // Tolerance of coincidence on each axis (strict).
  static constexpr double kTolerance = 0.00001;

  explicit PinGrid(const ConectoresPinos& records);
  // The first coinciding pin in check order, or null.
  CEPino* Find(const CEPino* pin) const;

 private:
  struct Cell {
    int64_t x, y;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y; }
    bool operator<(const Cell& o) const { return x < o.x || (x == o.x && y < o.y); }
  };
  struct Entry {
    Cell cell;
    std::size_t order;  // position in check order
    CEPino* pin;
  };
  static bool cellOf(double x, double y, Cell& cell);

  std::vector<Entry> entries_;  // sorted by cell, then order
};

}  // namespace zr
