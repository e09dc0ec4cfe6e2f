#include "drawing/PinGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zr {

namespace {
// Cells much wider than the tolerance: most questions look at one cell only.
constexpr double kCellSize = 0.001;
constexpr double kMaxIndex = 4.0e18;

int64_t indexOf(double v) {
  // Cells are centred on multiples of their size: drawings put pins on round
  // coordinates, which then sit mid-cell, where one cell answers a question.
  double i = std::floor(v / kCellSize + 0.5);
  // Far out, cells grow; the order of cells stays, so ranges stay exact.
  if (i > kMaxIndex) i = kMaxIndex;
  if (i < -kMaxIndex) i = -kMaxIndex;
  return static_cast<int64_t>(i);
}
}  // namespace

bool PinGrid::cellOf(double x, double y, Cell& cell) {
  // A coordinate that is not finite coincides with nothing.
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  cell = Cell{indexOf(x), indexOf(y)};
  return true;
}

PinGrid::PinGrid(const ConectoresPinos& records) {
  std::size_t pins = 0;
  for (const auto& record : records) pins += record->GetPinos().size();
  entries_.reserve(pins);
  std::size_t order = 0;
  for (const auto& record : records) {
    for (const auto& pin : record->GetPinos()) {
      Cell cell;
      // Only pins with a symbol can be found.
      if (!pin->handle.isEmpty() && cellOf(pin->x, pin->y, cell)) entries_.push_back(Entry{cell, order, pin.get()});
      ++order;
    }
  }
  // One array sorted by cell, then check order: no allocation per cell, and
  // a cell's pins lie side by side.
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    return a.cell < b.cell || (a.cell == b.cell && a.order < b.order);
  });
}

CEPino* PinGrid::Find(const CEPino* pin) const {
  if (!std::isfinite(pin->x) || !std::isfinite(pin->y)) return nullptr;
  // A pin that coincides lies within the tolerance on each axis, so in the
  // cells from that of (x - 2 tolerance) to that of (x + 2 tolerance): division
  // and floor keep the order of values, so no rounding can move it out.
  const double margin = 2 * kTolerance;
  const int64_t x0 = indexOf(pin->x - margin), x1 = indexOf(pin->x + margin);
  const int64_t y0 = indexOf(pin->y - margin), y1 = indexOf(pin->y + margin);
  CEPino* best = nullptr;
  std::size_t bestOrder = std::numeric_limits<std::size_t>::max();
  for (int64_t cx = x0; cx <= x1; ++cx) {
    for (int64_t cy = y0; cy <= y1; ++cy) {
      const Cell cell{cx, cy};
      auto it = std::lower_bound(entries_.begin(), entries_.end(), cell,
                                 [](const Entry& e, const Cell& c) { return e.cell < c; });
      // A cell's entries are in check order: the first that qualifies is the cell's answer.
      for (; it != entries_.end() && it->cell == cell; ++it) {
        const Entry& e = *it;
        if (e.order >= bestOrder) break;
        const CEPino* c = e.pin;
        if (c == pin || c->handle == pin->handle) continue;
        if (std::fabs(c->x - pin->x) < kTolerance && std::fabs(c->y - pin->y) < kTolerance) {
          best = e.pin;
          bestOrder = e.order;
          break;
        }
      }
    }
  }
  return best;
}

}  // namespace zr
