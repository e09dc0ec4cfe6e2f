#pragma once
// Finds, for a pin, the first pin in check order that lies strictly within
// 0.00001 of it on both axes, has a symbol, and is another symbol. The answer
// is the one a scan of every record and pin in order gives, but each question
// only looks at the pins of the grid cells around it (usually one), found
// through a hash table of the cells, so pairing a drawing costs linear time in
// its number of pins, with a few allocations whatever that number.

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
  };
  struct Entry {
    std::size_t order;  // position in check order
    CEPino* pin;
  };
  // A cell with pins: its entries are entries_[first, first + count).
  struct Slot {
    Cell cell;
    std::size_t first = 0, count = 0;  // count 0: an empty slot
  };
  static bool cellOf(double x, double y, Cell& cell);
  // The slot of cell: its own, or the empty one where it would go.
  std::size_t slotOf(const Cell& cell) const;

  std::vector<Entry> entries_;  // grouped by cell, each group in check order
  std::vector<Slot> slots_;     // open addressing; a power of two, at most half full
};

}  // namespace zr
