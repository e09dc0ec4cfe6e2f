#pragma once
// Finds, for a pin, the first pin in check order that lies strictly within
// 0.00001 of it on both axes, has a symbol, and is another symbol. The answer
// is the one a scan of every record and pin in order gives, but each question
// only looks at the pins of the grid cells around it (usually one), found
// through a hash table of the cells, so pairing a drawing costs linear time in
// its number of pins, with a few allocations whatever that number (some 110
// bytes a pin while it is built, 65 after).

#include <cstdint>
#include <vector>

#include "drawing/CEPino.h"
#include "zrdwg/LargeArray.h"

namespace zr {

class PinGrid {
 public:
  // Tolerance of coincidence on each axis (strict).
  static constexpr double kTolerance = 0.00001;

  explicit PinGrid(const ConectoresPinos& records);
  // The first coinciding pin in check order, or null.
  CEPino* Find(const CEPino* pin) const;
  // Find for every pin of the records the grid was made of, in check order:
  // the same answers, sooner for a large drawing, whose table does not fit
  // the processor's caches: the cells of the pins a few questions ahead are
  // fetched while the current one is answered.
  LargeArray<CEPino*> FindEach() const;

 private:
  struct Cell {
    int64_t x, y;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y; }
  };
  // A pin that can be found, with its cell and its position in check order.
  struct Entry {
    Cell cell;
    CEPino* pin;
    uint32_t order;
  };
  // A cell with pins: its entries are entries_[first, first + count); the
  // cell is the first entry's. count 0: an empty slot.
  struct Slot {
    uint32_t first = 0, count = 0;
  };
  static bool cellOf(double x, double y, Cell& cell);
  // Where the search for cell's slot starts, before it is reduced to the table.
  static uint64_t hashOf(const Cell& cell);
  // The slot of cell in slots_, whose cells are those of entries[first]:
  // its own, or the empty one where it would go.
  std::size_t slotOf(const Cell& cell, const LargeArray<Entry>& entries) const;

  // Large arrays: a large drawing's tables are mapped in huge pages.
  LargeArray<CEPino*> pins_;   // every pin of the records, in check order
  LargeArray<Entry> entries_;  // grouped by cell, each group in check order
  LargeArray<Slot> slots_;     // open addressing; a power of two, at most half full
};

}  // namespace zr
