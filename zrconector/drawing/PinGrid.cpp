#include "drawing/PinGrid.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace zr {

namespace {
// How many pins ahead the table is fetched: enough for a fetch from memory to
// arrive before its pin's turn, and half as many for the fetch that needs the
// first one's answer.
constexpr std::size_t kAhead = 16;
// Fetching ahead pays once what the grid reads (the pins' records, its table
// and entries, some 200 bytes a pin) outgrows the caches near the processor;
// up to this many pins it measured no gain.
constexpr std::size_t kFetchAheadAbove = std::size_t(1) << 15;
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

uint64_t PinGrid::hashOf(const Cell& cell) {
  // Neighbouring cells must spread over the table: both indices are mixed.
  uint64_t h = static_cast<uint64_t>(cell.x) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(cell.y);
  h ^= h >> 31;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 27;
  return h;
}

std::size_t PinGrid::slotOf(const Cell& cell, const LargeArray<Entry>& entries) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = static_cast<std::size_t>(hashOf(cell)) & mask;
  while (slots_[i].count != 0 && !(entries[slots_[i].first].cell == cell)) i = (i + 1) & mask;
  return i;
}

PinGrid::PinGrid(const ConectoresPinos& records) {
  // The pins that can be found (those with a symbol), in check order, with
  // their cells.
  std::size_t pins = 0;
  for (const auto& record : records) pins += record->GetPinos().size();
  // Positions in check order and within the entries are 32-bit.
  if (pins >= std::numeric_limits<uint32_t>::max()) throw std::length_error("too many pins to pair");
  pins_.reserve(pins);
  for (const auto& record : records)
    for (const auto& pin : record->GetPinos()) pins_.push_back(pin.get());
  // A large drawing's records lie apart in memory: the pins ahead are fetched
  // while the current one is read.
  const bool fetchAhead = pins > kFetchAheadAbove;
  LargeArray<Entry> placed;
  placed.reserve(pins);
  for (std::size_t i = 0; i < pins_.size(); ++i) {
    if (fetchAhead && i + 2 * kAhead < pins_.size()) __builtin_prefetch(&pins_[i + 2 * kAhead]->x);
    CEPino* pin = pins_[i];
    Cell cell;
    if (!pin->handle.isEmpty() && cellOf(pin->x, pin->y, cell)) placed.push_back(Entry{cell, pin, static_cast<uint32_t>(i)});
  }
  std::size_t size = 16;
  while (size < 2 * placed.size()) size *= 2;
  slots_.resize(size);
  // Counted per cell (a slot's first entry names its cell meanwhile), then
  // laid out cell after cell: each pin goes to the end of its cell's group
  // in check order, so a group stays in check order without sorting.
  LargeArray<uint32_t> slotOfPin(placed.size());
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    // The slots of the pins ahead, and the entries those name, on their way.
    if (fetchAhead && i + kAhead < placed.size()) __builtin_prefetch(&slots_[hashOf(placed[i + kAhead].cell) & mask]);
    if (fetchAhead && i + kAhead / 2 < placed.size()) {
      const Slot& next = slots_[hashOf(placed[i + kAhead / 2].cell) & mask];
      if (next.count != 0) __builtin_prefetch(&placed[next.first]);
    }
    const std::size_t s = slotOf(placed[i].cell, placed);
    if (slots_[s].count++ == 0) slots_[s].first = static_cast<uint32_t>(i);
    slotOfPin[i] = static_cast<uint32_t>(s);
  }
  uint32_t next = 0;
  for (Slot& slot : slots_) {
    slot.first = next;
    next += slot.count;
  }
  entries_.resize(placed.size());
  LargeArray<uint32_t> filled(slots_.size(), 0);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (fetchAhead && i + kAhead < placed.size()) {
      __builtin_prefetch(&slots_[slotOfPin[i + kAhead]]);
      __builtin_prefetch(&filled[slotOfPin[i + kAhead]], 1);
    }
    if (fetchAhead && i + kAhead / 2 < placed.size()) {
      const uint32_t next = slotOfPin[i + kAhead / 2];
      __builtin_prefetch(&entries_[slots_[next].first + filled[next]], 1);
    }
    const uint32_t s = slotOfPin[i];
    entries_[slots_[s].first + filled[s]++] = placed[i];
  }
}

LargeArray<CEPino*> PinGrid::FindEach() const {
  const LargeArray<CEPino*>& pins = pins_;
  LargeArray<CEPino*> found(pins.size());
  const std::size_t mask = slots_.size() - 1;
  // The slot where the search for a pin's own cell starts (the cells a
  // question looks at are that one, and rarely its neighbours).
  auto startOf = [&](const CEPino* pin, std::size_t& slot) {
    Cell cell;
    if (!cellOf(pin->x, pin->y, cell)) return false;
    slot = static_cast<std::size_t>(hashOf(cell)) & mask;
    return true;
  };
  const bool fetchAhead = pins.size() > kFetchAheadAbove;
  for (std::size_t i = 0; i < pins.size(); ++i) {
    std::size_t slot;
    // The pin itself first (a large drawing's records lie apart in memory),
    // then its slot, then the entries the slot names.
    if (fetchAhead && i + 2 * kAhead < pins.size()) __builtin_prefetch(&pins[i + 2 * kAhead]->x);
    if (fetchAhead && i + kAhead < pins.size() && startOf(pins[i + kAhead], slot)) __builtin_prefetch(&slots_[slot]);
    if (fetchAhead && i + kAhead / 2 < pins.size() && startOf(pins[i + kAhead / 2], slot) &&
        slots_[slot].count != 0)
      __builtin_prefetch(&entries_[slots_[slot].first]);
    found[i] = Find(pins[i]);
  }
  return found;
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
  uint32_t bestOrder = std::numeric_limits<uint32_t>::max();
  for (int64_t cx = x0; cx <= x1; ++cx) {
    for (int64_t cy = y0; cy <= y1; ++cy) {
      const Slot& slot = slots_[slotOf(Cell{cx, cy}, entries_)];
      // A cell's entries are in check order: the first that qualifies is the cell's answer.
      for (std::size_t k = slot.first; k < slot.first + slot.count; ++k) {
        const Entry& e = entries_[k];
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
