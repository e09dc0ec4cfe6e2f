// Reads of the connector tables: pins (BDPINOS) and mating pairs
// (BDCONTRAPECAS). Codes go into the statements unchanged.

#include <memory>
#include <string_view>
#include <unordered_map>
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

// The current row's PINO_KEY, PINO_ID and PINO_PINO (the three fields from
// `fields` on), packed: each trimmed and ended by kFieldEnd.
CString PackedPinRow(const FieldPtr* fields) {
  CString row;
  for (int field = 0; field < 3; ++field) row += CIBancoDados::FieldText(fields[field]) + kFieldEnd;
  return row;
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

bool CIBancoDados::GetLinhasPinosConectores(const std::vector<LPCTSTR>& conectores,
                                           std::vector<std::unique_ptr<CStringList>>& linhas) {
  if (!m_connection) return false;
  // Which list a row's code goes to.
  std::unordered_map<std::u16string_view, std::size_t> listOf;
  listOf.reserve(conectores.size());
  CString sql(u"SELECT PINO_CONECTOR, PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS WHERE PINO_CONECTOR IN (");
  for (std::size_t c = 0; c < conectores.size(); ++c) {
    const std::u16string_view code(conectores[c] ? conectores[c] : u"");
    if (code.find(u'\'') != std::u16string_view::npos || !listOf.emplace(code, c).second) return false;
    sql += (c ? u", '" : u"'") + CString(code) + u"'";
  }
  sql += u")";
  linhas.clear();
  for (std::size_t c = 0; c < conectores.size(); ++c) linhas.push_back(std::make_unique<CStringList>(10));
  try {
    _RecordsetPtr recordset = TryRecordset(sql);
    if (!recordset) return false;
    FieldPtr fields[4];  // PINO_CONECTOR, then the packed row's three
    TakeFields(recordset, fields, 4);
    while (!recordset->GetadoEOF()) {
      const CString code = FieldText(fields[0]);
      const auto list = listOf.find(std::u16string_view(code.str()));
      if (list == listOf.end()) return false;
      linhas[list->second]->AddTail(PackedPinRow(fields + 1));
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

CStringList* CIBancoDados::GetPinosContraPecas(LPCTSTR conector) {
  const CString x = Quoted(conector);
  return ReadList(CString(u" SELECT DISTINCT BDPINOS.PINO_PINO ") + u" FROM  BDPINOS, BDCONTRAPECAS " + u" WHERE " +
                      u"((BDCONTRAPECAS.CONTRA_CON_A = '" + x + u"') OR (BDCONTRAPECAS.CONTRA_CON_B = '" + x +
                      u"')) AND  (BDPINOS.PINO_CONECTOR <> '" + x + u"')",
                  false, true);
}
