// Codes with quotes in them: every read's statement fails with exactly one
// box naming the statement as it was built, the read gives its failure
// result, and no second statement ever runs (every table keeps its rows).

#include <functional>

#include "catalogue_fixture.h"

namespace {

using zrtest::CatalogueTest;
using zrtest::ComErrorOf;
using zrtest::Entries;

using Statement = std::function<std::u16string(const std::u16string& x)>;
// Runs the read with x and says how it ended: "empty list", "E_POINTER",
// "false and untouched", or what else happened.
using Read = std::function<std::string(CIBancoDados& bd, const std::u16string& x)>;

std::string EmptyList(CStringList* list) {
  if (!list) return "null list";
  std::string outcome = list->GetCount() == 0 ? "empty list" : "list of " + std::to_string(list->GetCount());
  delete list;
  return outcome;
}

template <class F>
std::string PointerError(F&& f) {
  HRESULT hr = ComErrorOf(std::forward<F>(f));
  return hr == E_POINTER ? "E_POINTER" : "HRESULT " + std::to_string(hr);
}

std::string Dados(CIBancoDados& bd, const std::u16string& x, const std::u16string& y) {
  CString o[12];
  for (CString& s : o) s = u"antes";
  bool result = bd.GetDadosComponente(x.c_str(), y.c_str(), o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7], o[8],
                                      o[9], o[10], o[11]);
  for (const CString& s : o)
    if (s != u"antes") return "an output changed";
  return result ? "true" : "false and untouched";
}

struct Case {
  const char* read;
  Read run;
  const char* outcome;
  Statement statement;  // the exact text the read sends
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"GetPinosConector", [](CIBancoDados& bd, const std::u16string& x) { return EmptyList(bd.GetPinosConector(x.c_str())); },
       "empty list", [](const std::u16string& x) { return u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='" + x + u"'"; }},
      {"GetLinhasPinosConector",
       [](CIBancoDados& bd, const std::u16string& x) { return EmptyList(bd.GetLinhasPinosConector(x.c_str())); },
       "empty list",
       [](const std::u16string& x) {
         return u"SELECT PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS WHERE PINO_CONECTOR='" + x + u"'";
       }},
      {"GetIdPino",
       [](CIBancoDados& bd, const std::u16string& x) { return PointerError([&] { bd.GetIdPino(x.c_str()); }); },
       "E_POINTER", [](const std::u16string& x) { return u"select PINO_ID from BDPINOS where PINO_KEY = '" + x + u"'"; }},
      {"GetNomePino",
       [](CIBancoDados& bd, const std::u16string& x) { return PointerError([&] { bd.GetNomePino(x.c_str()); }); },
       "E_POINTER", [](const std::u16string& x) { return u"select PINO_PINO from BDPINOS where PINO_KEY='" + x + u"'"; }},
      {"GetContraPecas",
       [](CIBancoDados& bd, const std::u16string& x) {
         return PointerError([&] { delete bd.GetContraPecas(x.c_str()); });
       },
       "E_POINTER",
       [](const std::u16string& x) {
         return u"SELECT CONTRA_CON_B FROM BDCONTRAPECAS WHERE CONTRA_CON_A = '" + x +
                u"' UNION SELECT CONTRA_CON_A FROM BDCONTRAPECAS WHERE CONTRA_CON_B = '" + x + u"'";
       }},
      {"GetPinosContraPecas",
       [](CIBancoDados& bd, const std::u16string& x) {
         return PointerError([&] { delete bd.GetPinosContraPecas(x.c_str()); });
       },
       "E_POINTER",
       [](const std::u16string& x) {
         return u" SELECT DISTINCT BDPINOS.PINO_PINO  FROM  BDPINOS, BDCONTRAPECAS  WHERE "
                u"((BDCONTRAPECAS.CONTRA_CON_A = '" +
                x + u"') OR (BDCONTRAPECAS.CONTRA_CON_B = '" + x + u"')) AND  (BDPINOS.PINO_CONECTOR <> '" + x +
                u"')";
       }},
      {"GetDadosComponente (component)",
       [](CIBancoDados& bd, const std::u16string& x) { return Dados(bd, x, u"IEC"); }, "false and untouched",
       [](const std::u16string& x) {
         return u"SELECT ZR_KEY_TAG, ZR_KEY_OLD, ZR_DWG, ZR_DWG_2D, ZR_DWG_3D, ZR_DWG_UN, ZR_WIDTH, ZR_EXPLODE, "
                u"ZR_LISTA, ZR_CONSIST, ZR_ROTA_AT, ZR_EQUIPO FROM BDZR  WHERE ZR_KEY = '" +
                x + u"' AND ZR_KEY_NOR = 'IEC'";
       }},
      {"GetDadosComponente (standard)",
       [](CIBancoDados& bd, const std::u16string& x) { return Dados(bd, u"C1", x); }, "false and untouched",
       [](const std::u16string& x) {
         return u"SELECT ZR_KEY_TAG, ZR_KEY_OLD, ZR_DWG, ZR_DWG_2D, ZR_DWG_3D, ZR_DWG_UN, ZR_WIDTH, ZR_EXPLODE, "
                u"ZR_LISTA, ZR_CONSIST, ZR_ROTA_AT, ZR_EQUIPO FROM BDZR  WHERE ZR_KEY = 'C1' AND ZR_KEY_NOR = '" +
                x + u"'";
       }},
      {"GetDwgComponente",
       [](CIBancoDados& bd, const std::u16string& x) {
         return PointerError([&] { bd.GetDwgComponente(x.c_str(), u"IEC"); });
       },
       "E_POINTER",
       [](const std::u16string& x) {
         return u"select ZR_DWG from BDZR where ZR_KEY = '" + x + u"' and ZR_KEY_NOR = 'IEC'";
       }},
      {"GetDescricaoMenu",
       [](CIBancoDados& bd, const std::u16string& x) { return PointerError([&] { bd.GetDescricaoMenu(x.c_str()); }); },
       "E_POINTER",
       [](const std::u16string& x) { return u"select MENU_DESCR from BDMENUS where MENU_KEY = '" + x + u"'"; }},
      {"GetNivelMenu",
       [](CIBancoDados& bd, const std::u16string& x) { return PointerError([&] { bd.GetNivelMenu(x.c_str()); }); },
       "E_POINTER",
       [](const std::u16string& x) { return u"select MENU_NIVEL from BDMENUS where MENU_KEY = '" + x + u"'"; }},
  };
  return cases;
}

// Each makes every statement above fail. (A lone quote does not: in the
// statements that hold the code twice, ''' ... ''' reads as one string.)
const char16_t* const kHostile[] = {
    u"X'; DROP TABLE BDPINOS; --",
    u"X';DELETE FROM BDZR;--",
    u"X'; DROP TABLE BDCONTRAPECAS",
    u"X' /* */ ; /* */ DROP TABLE BDMENUS --",
    u"d'água",
};

class HostileValues : public CatalogueTest {};

TEST_P(HostileValues, EveryReadFailsWithOneBoxAndRunsNothingElse) {
  OpenCatalogue();
  const auto before = RowCounts();
  ASSERT_GE(before.size(), 7u);
  for (const char16_t* hostile : kHostile) {
    const std::u16string x(hostile);
    for (const Case& c : Cases()) {
      SCOPED_TRACE(std::string(c.read) + " with " + ZrUtf16ToUtf8(x));
      const size_t shown = boxes.shown().size();
      EXPECT_EQ(c.run(bd(), x), c.outcome);
      ASSERT_EQ(boxes.shown().size(), shown + 1);
      EXPECT_EQ(ZrUtf16ToUtf8(boxes.shown().back().text), "SQL ERROR: " + ZrUtf16ToUtf8(c.statement(x)));
    }
  }
  // Every table of the catalogue keeps its rows (the first failure's upgrade
  // may have added tables of its own).
  const auto after = RowCounts();
  for (const auto& [table, rows] : before) {
    ASSERT_EQ(after.count(table), 1u) << table << " is gone";
    EXPECT_EQ(after.at(table), rows) << table;
  }
  // The connection is still good.
  EXPECT_EQ(bd().GetDescricaoMenu(u"1").ToUtf8(), "Conectores");
}

INSTANTIATE_TEST_SUITE_P(Drivers, HostileValues, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
