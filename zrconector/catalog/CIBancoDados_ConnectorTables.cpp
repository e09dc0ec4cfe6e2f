// Reads of the connector tables: pins (BDPINOS) and mating pairs
// (BDCONTRAPECAS). Codes go into the statements unchanged.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "catalog/CIBancoDados.h"
#include "zrui/afx/cmisc.h"

namespace {

// Ends every field of a packed pin row.
constexpr char16_t kFieldEnd = u'\x000C';

CString Quoted(LPCTSTR value) { return CString(value ? value : u""); }

// Takes fields 0 to count - 1 of a recordset once: each follows the cursor
// from row to row. None when it has no row; throws what the recordset throws.
void TakeFields(_Recordset* recordset, FieldPtr* fields, int count) {
  if (recordset->GetadoEOF()) return;
  FieldsPtr all = recordset->GetFields();
  for (int field = 0; field < count; ++field) fields[field] = all->GetItem(_variant_t(static_cast<short>(field)));
}

// text without the blanks at either end that CString::Trim takes off.
std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && CString::IsTrimSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && CString::IsTrimSpace(text.back())) text.remove_suffix(1);
  return text;
}

// A field's text as CIBancoDados::FieldText reads it (trimmed; empty for
// NULL or when it cannot be read), viewed in the value it holds: a
// catalogue's rows are read by the ten thousand, and a copy of each field
// on the way would be an allocation each.
class FieldView {
 public:
  explicit FieldView(Field* field) {
    if (!field) return;
    try {
      value_ = field->GetValue();
      if (value_.vt == VT_BSTR) {
        text_ = Trimmed(ZrBstrView(value_.bstrVal));
      } else if (value_.vt != VT_NULL) {
        converted_ = CIBancoDados::FieldText(field);
        text_ = converted_.str();
      }
    } catch (CException* e) {
      e->Delete();
    } catch (...) {
    }
  }
  std::u16string_view text() const { return text_; }

 private:
  _variant_t value_;
  CString converted_;  // a value other than text, as FieldText gives it
  std::u16string_view text_;
};

// The current row's PINO_KEY, PINO_ID and PINO_PINO (the three fields from
// `fields` on), packed: each trimmed and ended by kFieldEnd.
CString PackedPinRow(const FieldPtr* fields) {
  const FieldView key(fields[0]), id(fields[1]), pin(fields[2]);
  std::u16string row;
  row.reserve(key.text().size() + id.text().size() + pin.text().size() + 3);
  for (const FieldView* field : {&key, &id, &pin}) (row += field->text()) += kFieldEnd;
  return CString(std::move(row));
}

// The codes as the list of an IN (...): "'A', 'B', ...", and at which index
// each code was given. False when a code holds a quote (its own statement
// fails with its box; in a list it could end the list) or comes twice.
bool InList(const std::vector<LPCTSTR>& codes, CString& list,
            std::unordered_map<std::u16string_view, std::size_t>& indexOf) {
  indexOf.reserve(codes.size());
  for (std::size_t c = 0; c < codes.size(); ++c) {
    const std::u16string_view code(codes[c] ? codes[c] : u"");
    if (code.find(u'\'') != std::u16string_view::npos || !indexOf.emplace(code, c).second) return false;
    list += (c ? u", '" : u"'") + CString(code) + u"'";
  }
  return true;
}

// Walks a statement's rows whose field 0 is the code a row answers, read
// trimmed, handing add(index of that code in listOf, the fields from 1 on).
// False when a row's code is not exactly one asked (a catalogue comparing
// codes regardless of case or blanks), or the walk threw.
template <class Add>
bool EachRowOfACode(_Recordset* recordset, int count, const std::unordered_map<std::u16string_view, std::size_t>& listOf,
                    Add add) {
  FieldPtr fields[4];
  try {
    TakeFields(recordset, fields, count);
    while (!recordset->GetadoEOF()) {
      const auto list = listOf.find(FieldView(fields[0]).text());
      if (list == listOf.end()) return false;
      add(list->second, fields + 1);
      recordset->MoveNext();
    }
  } catch (CException* e) {
    e->Delete();
    return false;
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace

CStringList* CIBancoDados::ReadList(const CString& sql, bool packed, bool failedIsError) {
  auto list = std::make_unique<CStringList>(10);
  _RecordsetPtr recordset = OpenRecordset(sql, true);
  if (!recordset) {
    if (failedIsError) RaiseNoRecordset();
    return list.release();
  }
  FieldPtr fields[3];
  try {
    TakeFields(recordset, fields, packed ? 3 : 1);
  } catch (CException* e) {
    e->Delete();  // a field that cannot be taken reads as empty, as FieldAsText gives it
  } catch (...) {
  }
  while (!recordset->GetadoEOF()) {
    list->AddTail(packed ? PackedPinRow(fields) : FieldText(fields[0]));
    recordset->MoveNext();
  }
  if (failedIsError) recordset->Close();
  return list.release();
}

CStringList* CIBancoDados::GetPinosConector(LPCTSTR conector) {
  const CString x = Quoted(conector);
  return ReadList(u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='" + x + u"'", false, false);
}

CStringList* CIBancoDados::GetLinhasPinosConector(LPCTSTR conector) {
  const CString x = Quoted(conector);
  return ReadList(u"SELECT PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS WHERE PINO_CONECTOR='" + x + u"'", true, false);
}

_RecordsetPtr CIBancoDados::QuietRecordset(LPCTSTR sql) {
  try {
    return TryRecordset(sql);
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return nullptr;
}

bool CIBancoDados::GetLinhasPinosConectores(const std::vector<LPCTSTR>& conectores,
                                           std::vector<std::unique_ptr<CStringList>>& linhas) {
  if (!m_connection) return false;
  // Which list a row's code goes to.
  std::unordered_map<std::u16string_view, std::size_t> listOf;
  CString in;
  if (!InList(conectores, in, listOf)) return false;
  const CString sql = u"SELECT PINO_CONECTOR, PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS WHERE PINO_CONECTOR IN (" + in + u")";
  linhas.clear();
  for (std::size_t c = 0; c < conectores.size(); ++c) linhas.push_back(std::make_unique<CStringList>(10));
  const _RecordsetPtr recordset = QuietRecordset(sql);
  // PINO_CONECTOR, then the packed row's three.
  return recordset && EachRowOfACode(recordset, 4, listOf, [&](std::size_t list, const FieldPtr* row) {
           linhas[list]->AddTail(PackedPinRow(row));
         });
}

CString CIBancoDados::GetIdPino(LPCTSTR pino) {
  const CString x = Quoted(pino);
  return QueryValue(u"select PINO_ID from BDPINOS where PINO_KEY = '" + x + u"'");
}

CString CIBancoDados::GetNomePino(LPCTSTR pino) {
  const CString x = Quoted(pino);
  return QueryValue(u"select PINO_PINO from BDPINOS where PINO_KEY='" + x + u"'");
}

CStringList* CIBancoDados::GetContraPecas(LPCTSTR conector) {
  const CString x = Quoted(conector);
  return ReadList(u"SELECT CONTRA_CON_B FROM BDCONTRAPECAS WHERE CONTRA_CON_A = '" + x + u"'" + u" UNION " +
                      u"SELECT CONTRA_CON_A FROM BDCONTRAPECAS WHERE CONTRA_CON_B = '" + x + u"'",
                  false, true);
}

bool CIBancoDados::GetContraPecasConectores(const std::vector<LPCTSTR>& conectores,
                                           std::vector<std::unique_ptr<CStringList>>& listas) {
  if (!m_connection) return false;
  std::unordered_map<std::u16string_view, std::size_t> listOf;
  CString in;
  if (!InList(conectores, in, listOf)) return false;
  // Every pair both ways: the code asked, then the code that mates with it.
  const CString sql = u"SELECT CONTRA_CON_A, CONTRA_CON_B FROM BDCONTRAPECAS WHERE CONTRA_CON_A IN (" + in +
                      u") UNION ALL SELECT CONTRA_CON_B, CONTRA_CON_A FROM BDCONTRAPECAS WHERE CONTRA_CON_B IN (" +
                      in + u")";
  listas.clear();
  for (std::size_t c = 0; c < conectores.size(); ++c) listas.push_back(std::make_unique<CStringList>(10));
  // Each list's codes so far: a code mating both ways comes once.
  std::vector<std::unordered_set<std::u16string>> listed(conectores.size());
  const _RecordsetPtr recordset = QuietRecordset(sql);
  return recordset && EachRowOfACode(recordset, 2, listOf, [&](std::size_t list, const FieldPtr* row) {
           const CString mate = FieldText(row[0]);
           if (listed[list].insert(mate.str()).second) listas[list]->AddTail(mate);
         });
}

CStringList* CIBancoDados::GetPinosContraPecas(LPCTSTR conector) {
  const CString x = Quoted(conector);
  return ReadList(CString(u" SELECT DISTINCT BDPINOS.PINO_PINO ") + u" FROM  BDPINOS, BDCONTRAPECAS " + u" WHERE " +
                      u"((BDCONTRAPECAS.CONTRA_CON_A = '" + x + u"') OR (BDCONTRAPECAS.CONTRA_CON_B = '" + x +
                      u"')) AND  (BDPINOS.PINO_CONECTOR <> '" + x + u"')",
                  false, true);
}
