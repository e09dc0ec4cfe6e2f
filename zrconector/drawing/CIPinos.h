#pragma once
// CIPinos: reads the drawing's pin symbols. A pin symbol is a reference of a
// block whose name starts with "PIN-", with the pin identifier in an attribute
// (tag: host variable "*ZRATTPINO*", default "ID_PINO") and, in extended data
// "ZR_PINO", the connector's name (1), catalogue code (2) and flag (3, "S"/"N").
// Stateless: callers create one, call one operation and delete it.
//
// By default an operation reads the host's active drawing and the tag from
// the active document's scripts. A checker that checks several drawings at
// once, on several threads, names each check's drawing and tag instead;
// operations on different drawings may then run concurrently, given a
// catalogue that serves concurrent callers.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalog/PinCatalogue.h"
#include "drawing/CEPino.h"
#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrui/afx/coll.h"

class CIPinos {
 public:
  // catalogue: where catalogue rows come from (the process's database when null).
  explicit CIPinos(zr::PinCatalogue* catalogue = nullptr);
  // Reads drawing (not null) with pinTag as the identifier attribute's tag,
  // whatever the active document; catalogue as above.
  CIPinos(zr::PinCatalogue* catalogue, OdDbDatabasePtr drawing, const OdString& pinTag);

  // Distinct connector names of the pin symbols in model space, in the order
  // of their first symbol; symbols on layers "0" and "ZR_FREEZE" are left out.
  // The caller owns the list.
  CStringList* GetConectoresDesenho();
  // Empties records, then fills them with the drawing's connector instances:
  // their symbols' pins, the catalogue pins without a symbol, and pairings of
  // coinciding pins checked against the mating parts. Returns records.
  zr::ConectoresPinos& VerificarPinos(zr::ConectoresPinos& records);
  // The same without the pairing: no pin has a mate or status 3, and no
  // record state 2. For a checker that pairs the pins its own way; the
  // drawing is no longer needed once this returns.
  zr::ConectoresPinos& LerPinos(zr::ConectoresPinos& records);
  // LerPinos in its two steps, for a checker that does something else with
  // the drawing meanwhile. LerSimbolos empties records and reads the
  // drawing's symbols into them, as pins not yet compared with the
  // catalogue, asking for their codes' rows (ahead of time when the
  // catalogue can). CompararComCatalogo then completes records as LerPinos
  // does; it reads no drawing, so it may run on another thread while
  // another CIPinos reads the same drawing.
  zr::ConectoresPinos& LerSimbolos(zr::ConectoresPinos& records);
  zr::ConectoresPinos& CompararComCatalogo(zr::ConectoresPinos& records);

 private:
  // The hash of the text keys below. A type of our own on purpose: the
  // standard library treats its own string hash as slow and searches tables
  // of up to 20 keys by comparing every key, and a code's rows (20 pins, say)
  // are searched once for every symbol.
  // FNV-1a over the UTF-16 units, inline: names, codes and identifiers are a
  // few characters long, and a call into the library's byte hash costs more
  // than hashing them.
  // Over the code units of UTF-16 keys, or the bytes of UTF-8 ones (looked
  // up by a view, without a string made for it).
  struct TextHash {
    using is_transparent = void;
    template <class Char>
    std::size_t operator()(std::basic_string_view<Char> s) const noexcept {
      std::uint64_t h = 0xcbf29ce484222325ull;
      for (Char c : s) h = (h ^ static_cast<std::make_unsigned_t<Char>>(c)) * 0x100000001b3ull;
      return static_cast<std::size_t>(h ^ (h >> 32));
    }
    std::size_t operator()(const std::u16string& s) const noexcept { return (*this)(std::u16string_view(s)); }
    std::size_t operator()(const std::string& s) const noexcept { return (*this)(std::string_view(s)); }
  };
  // The ASCII names the listing met, each once (defined with the listing).
  class ListedNames;
  template <class T>
  using TextMap = std::unordered_map<std::u16string, T, TextHash>;
  using TextSet = std::unordered_set<std::u16string, TextHash>;

  // The rows of each code met; they stay where they are while others are
  // added (a record's rows are held by address while another code's are read).
  using RowCache = TextMap<std::shared_ptr<const zr::PinRows>>;
  // The codes that mate with each code met.
  using MatingCache = TextMap<TextSet>;
  // A code's rows, read (and kept in m_rows) the first time they are needed.
  const zr::PinRows& LinhasPinos(const OdString& code);
  // Asks for a code's rows the first time a symbol carries it: of the
  // catalogue ahead of time when it reads beside the check, else now (so the
  // statements run in the order the codes are met either way).
  void PedirLinhas(const OdString& code);
  // Reads the references of db's pin blocks into their records (LerSimbolos),
  // their pins made in m_pinStore and left for ListMadePins to list.
  void ReadPinSymbols(OdDbDatabase& db, zr::ConectoresPinos& records);
  // Reads one symbol into its record, as a pin not yet matched with the
  // catalogue (status PINO_OK, no PINO_PINO).
  void LerSimboloPino(const OdDbBlockReference& reference, zr::ConectoresPinos& records);
  // Matches a record's symbols with its code's rows (or their own code's)
  // and adds the catalogue pins that no symbol carries.
  void CompararRegistro(zr::CEConectorPinos& record);
  void LigarPinos(zr::ConectoresPinos& records);
  void ValidarLigacao(zr::CEPino* pin, MatingCache& matingCache);
  void AtualizarEstado(zr::CEConectorPinos& record);

  // The drawing read: the one named, else the host's active drawing.
  OdDbDatabasePtr Drawing() const;

  zr::PinCatalogue& m_catalogue;
  OdDbDatabasePtr m_drawing;  // null: the active drawing and the scripts' tag
  OdString m_pinTag;  // the tag named, or read once per check; upper-cased
  // The same tag when it is ASCII (as "ID_PINO"): an attribute's ASCII tag
  // is then compared with it as it is, without a UTF-16 string made and
  // upper-cased for each attribute. Empty when m_pinTag is not ASCII.
  std::optional<std::string> m_asciiPinTag;
  std::string m_tagScratch;  // what an attribute's tag had to convert
  // Sets m_pinTag and m_asciiPinTag from the tag named.
  void SetPinTag(const OdString& tag);
  std::vector<OdString> m_values;  // the extended data of the symbol being read
  std::vector<std::string_view> m_views;  // the same as UTF-8
  std::string m_scratch;                  // what m_views had to convert
  // The records of the running check by name (the first record of each
  // name): a drawing's symbols come block by block, so one connector's
  // symbols are far apart and each symbol looks its record up. A flat table
  // by the name's hash (open addressing, at most half full) keeps that to
  // one hash and a compare.
  struct NamedRecord {
    std::size_t hash = 0;
    zr::CEConectorPinos* record = nullptr;  // null: an empty slot
  };
  // name's slot: its record, or the empty slot where it goes (the table
  // grown first if need be).
  NamedRecord& RecordNamed(const OdString& name);
  // The record of an ASCII name given as its bytes, or null when there is
  // none yet; the table is left as it is. Its hash is the name's as text
  // (TextHash hashes ASCII bytes as it hashes their code units).
  zr::CEConectorPinos* RecordNamedAscii(std::string_view name) const;
  std::vector<NamedRecord> m_recordByName;
  std::shared_ptr<zr::PinStore> m_pinStore;  // where the running check's records make their pins
  std::size_t m_namedCount = 0;
  // The symbols whose code is not their record's, with that code (few: the
  // rest take their record's).
  std::unordered_map<const zr::CEPino*, OdString> m_apartCode;
  // The codes asked of the catalogue ahead of time (see PedirLinhas), and
  // the rows read, from LerSimbolos to CompararComCatalogo.
  TextSet m_asked;
  RowCache m_rows;
  // Which rows of its code a record's symbols carry, by the identifier's
  // first row; reused from record to record.
  std::vector<char> m_has;
  // The record of the previous symbol read (null before the first).
  zr::CEConectorPinos* m_lastRecord = nullptr;
};
