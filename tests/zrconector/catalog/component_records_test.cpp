// Reads of components (BDZR) and menus (BDMENUS).

#include <array>

#include "catalogue_fixture.h"

namespace {

using zrtest::CatalogueTest;
using Fields = std::array<std::string, 12>;

class ComponentRecords : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    if (IsSkipped()) return;
    const std::u16string columns =
        u"INSERT INTO BDZR (ZR_KEY, ZR_KEY_NOR, ZR_KEY_TAG, ZR_KEY_OLD, ZR_DWG, ZR_DWG_2D, ZR_DWG_3D, ZR_DWG_UN, "
        u"ZR_WIDTH, ZR_EXPLODE, ZR_LISTA, ZR_CONSIST, ZR_ROTA_AT, ZR_EQUIPO) VALUES ";
    RunDirect(columns +
              u"('TZ1', 'TN', 'X', 'OLD1', '  CON-TZ1  ', 'CON-TZ1-2D', 'CON-TZ1-3D', 'mm', '12.5', 'S', 'N', 'S', "
              u"'N', 'EQ1'), "
              u"('TZ1', 'OUTRA', 'Y', '', 'CON-OUTRA', '', '', 'in', '1', 'N', 'S', 'N', 'S', ''), "
              u"('TZ2', 'TN', 'P', '', 'PRIMEIRO', '', '', '', '', '', '', '', '', ''), "
              u"('TZ2', 'TN', 'S', '', 'SEGUNDO', '', '', '', '', '', '', '', '', ''), "
              u"('TZ3', 'TN', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    OpenCatalogue();
  }
  void TearDown() override {
    EXPECT_TRUE(boxes.shown().empty()) << "unexpected box: " << BoxTexts().front();
    CatalogueTest::TearDown();
  }

  // GetDadosComponente into outputs that start as `start`.
  bool Dados(const char16_t* component, const char16_t* standard, Fields* out, const std::string& start = "antes") {
    std::array<CString, 12> o;
    for (CString& s : o) s = CString::FromUtf8(start);
    bool result = bd().GetDadosComponente(component, standard, o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7], o[8],
                                          o[9], o[10], o[11]);
    for (size_t i = 0; i < o.size(); ++i) (*out)[i] = o[i].ToUtf8();
    return result;
  }
};

TEST_P(ComponentRecords, TwelveFieldsOfTheKeyPairInTheirOrder) {
  Fields f;
  ASSERT_TRUE(Dados(u"TZ1", u"TN", &f));
  EXPECT_EQ(f, (Fields{"X", "OLD1", "CON-TZ1", "CON-TZ1-2D", "CON-TZ1-3D", "mm", "12.5", "S", "N", "S", "N", "EQ1"}));
  ASSERT_TRUE(Dados(u"TZ1", u"OUTRA", &f));  // the standard selects the row
  EXPECT_EQ(f, (Fields{"Y", "", "CON-OUTRA", "", "", "in", "1", "N", "S", "N", "S", ""}));
}

TEST_P(ComponentRecords, NullFieldsReadAsEmptyText) {
  Fields f;
  ASSERT_TRUE(Dados(u"TZ3", u"TN", &f));
  EXPECT_EQ(f, Fields{});
}

TEST_P(ComponentRecords, AComponentWithoutARowGivesTrueAndLeavesTheOutputs) {
  Fields f;
  for (auto [component, standard] : {std::pair{u"NADA", u"TN"}, std::pair{u"TZ1", u"XX"}, std::pair{u"tz1", u"TN"}}) {
    ASSERT_TRUE(Dados(component, standard, &f, "antes"));
    Fields untouched;
    untouched.fill("antes");
    EXPECT_EQ(f, untouched);
  }
}

TEST_P(ComponentRecords, DuplicateKeyPairsUseTheFirstRowTheDatabaseGives) {
  const std::vector<std::string> order = ColumnDirect(
      u"SELECT ZR_DWG, ZR_KEY_TAG FROM BDZR WHERE ZR_KEY = 'TZ2' AND ZR_KEY_NOR = 'TN'");
  ASSERT_EQ(order.size(), 2u);
  Fields f;
  ASSERT_TRUE(Dados(u"TZ2", u"TN", &f));
  EXPECT_EQ(f[2], order[0]);
  EXPECT_EQ(f[0], order[0] == "PRIMEIRO" ? "P" : "S");  // every field from that same row
  EXPECT_EQ(bd().GetDwgComponente(u"TZ2", u"TN").ToUtf8(), order[0]);
}

TEST_P(ComponentRecords, DrawingOfAComponent) {
  EXPECT_EQ(bd().GetDwgComponente(u"TZ1", u"TN").ToUtf8(), "CON-TZ1");
  EXPECT_EQ(bd().GetDwgComponente(u"TZ1", u"OUTRA").ToUtf8(), "CON-OUTRA");
  EXPECT_EQ(bd().GetDwgComponente(u"TZ3", u"TN").ToUtf8(), "");
  EXPECT_EQ(bd().GetDwgComponente(u"NADA", u"TN").ToUtf8(), "");
}

TEST_P(ComponentRecords, DescriptionAndLevelOfAMenu) {
  EXPECT_EQ(bd().GetDescricaoMenu(u"1").ToUtf8(), "Conectores");
  EXPECT_EQ(bd().GetNivelMenu(u"1").ToUtf8(), "0");
  EXPECT_EQ(bd().GetDescricaoMenu(u"100").ToUtf8(), "Circulares militares");
  EXPECT_EQ(bd().GetNivelMenu(u"100").ToUtf8(), "10");
  EXPECT_EQ(bd().GetDescricaoMenu(u"nada").ToUtf8(), "");
  EXPECT_EQ(bd().GetNivelMenu(u"nada").ToUtf8(), "");
}

INSTANTIATE_TEST_SUITE_P(Drivers, ComponentRecords, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
