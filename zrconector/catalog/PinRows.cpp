#include "catalog/PinRows.h"

#include <algorithm>

namespace zr {

namespace {

constexpr char16_t kSeparator = u'\f';

// FNV-1a over the code units: identifiers are a few characters long.
std::size_t HashOf(std::u16string_view s) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (char16_t c : s) h = (h ^ c) * 0x100000001b3ull;
  return static_cast<std::size_t>(h ^ (h >> 32));
}

}  // namespace

PinRows::PinRows(const CStringList* rows) {
  if (rows) {
    std::size_t units = 0;
    for (POSITION pos = rows->GetHeadPosition(); pos;) units += rows->GetNext(pos).GetLength();
    m_text.reserve(units);
    m_rows.reserve(static_cast<std::size_t>(rows->GetCount()));
    for (POSITION pos = rows->GetHeadPosition(); pos;) Add(rows->GetNext(pos).str());
  }
  Index();
}

PinRows::PinRows(const std::vector<OdString>& rows) {
  std::size_t units = 0;
  for (const OdString& row : rows) units += row.view().size();
  m_text.reserve(units);
  m_rows.reserve(rows.size());
  for (const OdString& row : rows) Add(row.view());
  Index();
}

void PinRows::Add(std::u16string_view row) {
  RowPlaces places;
  places.start = m_text.size();
  places.length = static_cast<std::uint32_t>(row.size());
  m_text.append(row);
  std::size_t i = 0, n = 0;
  while (i < row.size() && n < 3) {
    while (i < row.size() && row[i] == kSeparator) ++i;
    std::size_t j = i;
    while (j < row.size() && row[j] != kSeparator) ++j;
    if (j > i) places.fields[n++] = Place{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j - i)};
    i = j;
  }
  m_rows.push_back(places);
}

PinRows::Slot PinRows::KeyOf(std::u16string_view id, std::size_t& hash) {
  Slot key;
  key.length = static_cast<std::uint16_t>(std::min<std::size_t>(id.size(), 0xFFFF));
  if (id.size() <= 4) {
    for (std::size_t i = 0; i < id.size(); ++i) key.units |= std::uint64_t(id[i]) << (16 * i);
    // The units and the length mixed (a multiply and a shift spread them
    // over the bits the table's mask keeps).
    std::uint64_t h = (key.units ^ (std::uint64_t(id.size()) << 60)) * 0x9E3779B97F4A7C15ull;
    hash = static_cast<std::size_t>(h ^ (h >> 29));
  } else {
    hash = HashOf(id);
    key.hashBits = static_cast<std::uint16_t>(hash >> 48);
  }
  return key;
}

bool PinRows::Matches(const Slot& slot, const Slot& key, std::u16string_view id) const {
  if (slot.length != key.length) return false;
  if (key.length <= 4) return slot.units == key.units;
  return slot.hashBits == key.hashBits && Field(slot.row, 1) == id;
}

void PinRows::Index() {
  std::size_t size = 4;
  while (size < 2 * m_rows.size()) size *= 2;
  m_index.assign(size, Slot{});
  m_firstOfRow.assign(m_rows.size(), 0);
  for (std::size_t r = 0; r < m_rows.size(); ++r) {
    const std::u16string_view id = Field(r, 1);
    m_firstOfRow[r] = static_cast<std::uint32_t>(r);
    // A row matches only when it has a second field.
    if (id.empty()) continue;
    std::size_t hash = 0;
    const Slot key = KeyOf(id, hash);
    std::size_t i = hash & (size - 1);
    while (m_index[i].row != kEmpty && !Matches(m_index[i], key, id)) i = (i + 1) & (size - 1);
    if (m_index[i].row == kEmpty) {
      m_index[i] = key;
      m_index[i].row = static_cast<std::uint32_t>(r);
    } else {
      m_firstOfRow[r] = m_index[i].row;
    }
  }
}

std::size_t PinRows::FirstRow(std::u16string_view id) const {
  if (id.empty() || m_index.empty()) return kNone;
  std::size_t hash = 0;
  const Slot key = KeyOf(id, hash);
  const std::size_t mask = m_index.size() - 1;
  for (std::size_t i = hash & mask; m_index[i].row != kEmpty; i = (i + 1) & mask)
    if (Matches(m_index[i], key, id)) return m_index[i].row;
  return kNone;
}

}  // namespace zr
