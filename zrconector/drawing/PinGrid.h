#pragma once
// Finds, for a pin, the first pin in check order that lies strictly within
// 0.00001 of it on both axes, has a symbol, and is another symbol. The answer
// is the one a scan of every record and pin in order gives, but each question
// only looks at the pins of the grid cells around it (usually one), so pairing
// a drawing costs about linear time in its number of pins.

#include <cstdint>
#include <unordered_map>
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
  struct Entry {
    std::size_t order;  // position in check order
    CEPino* pin;
  };
  struct Cell {
    int64_t x, y;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y; }
  };
  struct CellHash {
    // Neighbouring cells must spread over the table: mix both indices.
    std::size_t operator()(const Cell& c) const {
      uint64_t h = static_cast<uint64_t>(c.x) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(c.y);
      h ^= h >> 31;
      h *= 0xBF58476D1CE4E5B9ull;
      h ^= h >> 27;
      return static_cast<std::size_t>(h);
    }
  };
  static bool cellOf(double x, double y, Cell& cell);

  std::unordered_map<Cell, std::vector<Entry>, CellHash> cells_;
};

}  // namespace zr
