#pragma once
// The pin rows of one catalogue code as the pin check reads them: each row
// split into PINO_KEY, PINO_ID and PINO_PINO once, and the first row of
// each identifier indexed, since a code's rows are searched once for every
// symbol that carries the code. The rows' texts are kept as given, one
// after another in one buffer, and the fields are places in it: a run of
// zrcheck holds the rows of every code of the catalogue it met.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zrdwg/OdString.h"
#include "zrui/afx/coll.h"

namespace zr {

class PinRows {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // No rows.
  PinRows() = default;
  // The rows as PinCatalogue::LinhasPinos gives them ("PINO_KEY\fPINO_ID\f
  // PINO_PINO\f" each; a run of separators counts as one, missing fields
  // are empty), in their order; none when rows is null.
  explicit PinRows(const CStringList* rows);
  // The same from the rows' texts.
  explicit PinRows(const std::vector<OdString>& rows);

  // The number of rows.
  std::size_t Size() const { return m_rows.size(); }
  // Row r (below Size()) as it was given, separators included.
  std::u16string_view Row(std::size_t r) const {
    return std::u16string_view(m_text).substr(m_rows[r].start, m_rows[r].length);
  }
  // Field f of row r: 0 PINO_KEY, 1 PINO_ID, 2 PINO_PINO; empty when the
  // row left it out.
  std::u16string_view Field(std::size_t r, int f) const {
    const RowPlaces& row = m_rows[r];
    return std::u16string_view(m_text).substr(row.start + row.fields[f].offset, row.fields[f].length);
  }
  // The first row whose identifier is id (not empty), or kNone.
  std::size_t FirstRow(std::u16string_view id) const;
  // For row r, the first row of its identifier (r itself when its
  // identifier is empty).
  std::size_t FirstOfRow(std::size_t r) const { return m_firstOfRow[r]; }

 private:
  // Where a row and its fields lie in m_text.
  struct Place {
    std::uint32_t offset = 0;  // from the row's start
    std::uint32_t length = 0;
  };
  struct RowPlaces {
    std::size_t start = 0;
    std::uint32_t length = 0;
    Place fields[3];
  };
  void Add(std::u16string_view row);
  // Indexes the rows once all are added, filling m_firstOfRow.
  void Index();

  // The first row of each non-empty identifier by open addressing: each
  // search starts cold (the codes of consecutive symbols differ: symbols
  // come block by block). A slot holds an identifier of up to four code
  // units itself (most pin identifiers: "1", "A2", "GND"), which then
  // answers from the slot's one cache line without reaching the rows; a
  // longer identifier keeps part of its hash there and is compared with its
  // row.
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  struct Slot {
    std::uint64_t units = 0;     // a short identifier's code units, 16 bits each
    std::uint32_t row = kEmpty;  // the identifier's first row; kEmpty: a free slot
    std::uint16_t length = 0;    // the identifier's length in code units
    std::uint16_t hashBits = 0;  // a long identifier's hash, its top 16 bits
  };
  // Where id's search starts, and its slot's fields but the row.
  static Slot KeyOf(std::u16string_view id, std::size_t& hash);
  bool Matches(const Slot& slot, const Slot& key, std::u16string_view id) const;

  std::u16string m_text;  // the rows' texts, one after another
  std::vector<RowPlaces> m_rows;
  std::vector<Slot> m_index;
  std::vector<std::uint32_t> m_firstOfRow;
};

}  // namespace zr
