// The catalogue tree's menu loaders (BDZR joined with BDMENUS) on both
// drivers, and the tree itself served by the catalogue database.

#include <zrui/testing.h>

#include "catalog/DatabaseMenuCatalogue.h"
#include "catalogue_fixture.h"
#include "controls/CITreeConectores.h"

namespace {

using zrtest::CatalogueTest;
using Strings = std::vector<std::string>;

class MenuLoaders : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    if (IsSkipped()) return;
    OpenCatalogue();
    todos.m_key = u"-1";
    todos.m_nome = u"Todos";
  }
  static Strings Keys(const zr::CELstSimbolos& map) {
    Strings out;
    for (const auto& [key, s] : map) out.push_back(key.ToUtf8());
    return out;
  }
  static Strings Names(const zr::CELstItens& list) {
    Strings out;
    for (const auto& r : list.Itens()) out.push_back(r->m_nome.ToUtf8());
    return out;
  }
  zr::CESimbolo todos;
};

TEST_P(MenuLoaders, ComponentsOfALevelCarryTheirDrawingUnderTheStandardMinusOne) {
  std::unique_ptr<zr::CELstSimbolos> map = bd().GetSimbolosNivel(todos, u"101");
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(Keys(*map), (Strings{"CI03F", "CI03M", "CI04A", "CI04F", "CI04M", "CI05F", "CI05M", "CI08F", "CI08M"}));
  const zr::CESimbolo& adapter = *map->at(u"CI04A");
  EXPECT_EQ(adapter.m_key, u"CI04A");
  EXPECT_EQ(adapter.m_folha, 1);
  ASSERT_NE(adapter.GetRep(u"-1"), nullptr);
  EXPECT_EQ(adapter.GetRep(u"-1")->m_dwg, u"ADP-CI04A");
  EXPECT_EQ(adapter.m_reps.size(), 1u) << "the row's own standard is not used";
  // The pseudo-standard record knows the same representation by component key.
  EXPECT_EQ(todos.m_reps.at(u"CI04A").get(), adapter.GetRep(u"-1"));
  EXPECT_EQ(todos.m_reps.size(), map->size());
}

TEST_P(MenuLoaders, TheLastRowOfAComponentGivesItsRepresentation) {
  // AP12F has two rows for the standard in use and one more for another.
  std::unique_ptr<zr::CELstSimbolos> map = bd().GetSimbolosNivel(todos, u"");
  ASSERT_NE(map, nullptr);
  // Without a level every component comes, whatever its menu.
  EXPECT_EQ(map->size(), static_cast<size_t>(std::stoi(ColumnDirect(u"SELECT COUNT(DISTINCT ZR_KEY) FROM BDZR")[0])));
  // The statement's own order decides: the representation is that of its last AP12F row.
  std::string last;
  for (const std::string& r : ColumnDirect(u"select ZR_KEY || '|' || ZR_DWG from BDZR order by ZR_KEY"))
    if (r.rfind("AP12F|", 0) == 0) last = r.substr(6);
  ASSERT_FALSE(last.empty());
  ASSERT_NE(map->at(u"AP12F")->GetRep(u"-1"), nullptr);
  EXPECT_EQ(map->at(u"AP12F")->GetRep(u"-1")->m_dwg.ToUtf8(), last);
}

TEST_P(MenuLoaders, ALevelWithoutComponentsGivesNone) {
  EXPECT_EQ(bd().GetSimbolosNivel(todos, u"0"), nullptr);
  EXPECT_EQ(bd().GetSimbolosNivel(todos, u"nada"), nullptr);
  EXPECT_TRUE(todos.m_reps.empty());
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_P(MenuLoaders, MenuRowsOfALevelAreFoldersOrKnownComponents) {
  zr::CELstSimbolos none;
  std::unique_ptr<zr::CELstItens> top = bd().GetItensNivel(none, todos, u"0");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(Names(*top), (Strings{"Componentes auxiliares", "Conectores"})) << "ordered by description";
  for (const auto& r : top->Itens()) {
    EXPECT_EQ(r->m_folha, 0);
    EXPECT_EQ(r->m_nivel, u"0");
  }
  EXPECT_EQ(top->Itens()[1]->m_key, u"1");

  std::unique_ptr<zr::CELstSimbolos> map = bd().GetSimbolosNivel(todos, u"101");
  ASSERT_NE(map, nullptr);
  std::unique_ptr<zr::CELstItens> level = bd().GetItensNivel(*map, todos, u"101");
  ASSERT_NE(level, nullptr);
  ASSERT_EQ(level->GetCount(), 9);
  for (const auto& r : level->Itens()) {
    EXPECT_EQ(r->m_folha, 1);
    EXPECT_EQ(r->m_nivel, u"101");
    EXPECT_EQ(r.get(), map->at(r->m_key).get()) << "the map's record takes the row";
  }
  EXPECT_EQ(map->at(u"CI04A")->m_nome, u"Adaptador M12 4 vias para painel");
}

TEST_P(MenuLoaders, AComponentThePseudoStandardDoesNotKnowIsDropped) {
  std::unique_ptr<zr::CELstSimbolos> map = bd().GetSimbolosNivel(todos, u"101");
  ASSERT_NE(map, nullptr);
  zr::CESimbolo other;
  other.m_reps[u"CI04M"] = std::make_shared<zr::CESimboloVisual>(u"CON-CI04M");
  std::unique_ptr<zr::CELstItens> level = bd().GetItensNivel(*map, other, u"101");
  ASSERT_NE(level, nullptr);
  ASSERT_EQ(level->GetCount(), 1);
  EXPECT_EQ(level->Itens()[0]->m_key, u"CI04M");
}

TEST_P(MenuLoaders, WithoutALevelEveryMenuRowComes) {
  zr::CELstSimbolos none;
  std::unique_ptr<zr::CELstItens> all = bd().GetItensNivel(none, todos, u"");
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->GetCount(), std::stoi(ColumnDirect(u"SELECT COUNT(*) FROM BDMENUS")[0]));
  EXPECT_EQ(bd().GetItensNivel(none, todos, u"nada"), nullptr);
}

TEST_P(MenuLoaders, TheStatementsAreSentAsTheyAreWritten) {
  // A quote makes each statement fail, so its box shows the exact text.
  EXPECT_EQ(bd().GetSimbolosNivel(todos, u"X'"), nullptr);
  zr::CELstSimbolos none;
  EXPECT_EQ(bd().GetItensNivel(none, todos, u"X'"), nullptr);
  EXPECT_EQ(BoxTexts(), (Strings{"SQL ERROR: select ZR_KEY, ZR_KEY_NOR, ZR_DWG  from BDZR, BDMENUS  where "
                                 "ZR_KEY=MENU_KEY  and   MENU_NIVEL='X'' order by ZR_KEY",
                                 "SQL ERROR: select * from BDMENUS where MENU_NIVEL='X'' order by MENU_NIVEL, "
                                 "MENU_DESCR "}));
}

TEST_P(MenuLoaders, WithoutAConnectionTheLoadersGiveNone) {
  CIBancoDados::ResetInstanceForTesting();
  zr::CELstSimbolos none;
  EXPECT_EQ(bd().GetSimbolosNivel(todos, u"101"), nullptr);
  EXPECT_EQ(bd().GetItensNivel(none, todos, u"0"), nullptr);
  EXPECT_TRUE(boxes.shown().empty());
}

// The tree as the creation tab fills it, from this driver's catalogue.
constexpr int IDC_TREE = 123;

class TreeHost : public CDialog {
 public:
  TreeHost() : CDialog(&Shared()), tree(zr::DatabaseMenuCatalogue(), u"Carregando...") {}
  static const DialogTemplate& Shared() {
    static const DialogTemplate t = [] {
      DialogTemplate d;
      d.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
      d.cx = 200;
      d.cy = 200;
      d.items = {zrui::rc::CONTROL(u"", IDC_TREE, WC_TREEVIEWW, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 0,
                                   0, 200, 200)};
      return d;
    }();
    return t;
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    tree.SubclassDlgItem(IDC_TREE, this);
    return TRUE;
  }
  void OnExpanded(NMHDR* hdr, LRESULT* result) {
    tree.OnItemExpanded(reinterpret_cast<NMTREEVIEW*>(hdr)->itemNew.hItem);
    *result = 0;
  }
  CITreeConectores tree;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TreeHost, CDialog)
  ON_NOTIFY(TVN_ITEMEXPANDED, IDC_TREE, &TreeHost::OnExpanded)
END_MESSAGE_MAP()

TEST_P(MenuLoaders, TheCatalogueServesTheTreeDownToOneCandidate) {
  TreeHost host;
  ASSERT_TRUE(host.CreateIndirect(host.m_lpDialogTemplate));
  CStringList filtro, candidatos;
  filtro.AddTail(u"M16");
  candidatos.AddTail(u"CI04M");
  host.tree.SetFiltroPinos(&filtro);
  host.tree.SetCandidatos(&candidatos);
  zr::CESimbolo root;
  root.m_key = u"-1";
  std::unique_ptr<zr::CELstSimbolos> map = bd().GetSimbolosNivel(root, u"0");
  if (!map) map = std::make_unique<zr::CELstSimbolos>();
  ASSERT_TRUE(host.tree.Load(bd().GetItensNivel(*map, root, u"0")));
  HTREEITEM selected = host.tree.GetSelectedItem();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(host.tree.GetItemText(selected), u"Circular M12 4 vias macho (plugue)");
  HTREEITEM folder = host.tree.GetParentItem(selected);
  EXPECT_EQ(host.tree.GetItemText(folder), u"Circulares industriais M12");
  EXPECT_EQ(host.tree.GetItemText(host.tree.GetParentItem(folder)), u"Circulares");
  EXPECT_EQ(host.tree.GetChildItem(folder), selected) << "the only candidate is the only component";
  EXPECT_EQ(host.tree.GetNextSiblingItem(selected), nullptr);
  EXPECT_TRUE(boxes.shown().empty());
  host.DestroyWindow();
}

TEST_P(MenuLoaders, AccessoriesAmongTheConnectorsAreLeftOut) {
  TreeHost host;
  ASSERT_TRUE(host.CreateIndirect(host.m_lpDialogTemplate));
  CStringList filtro;
  filtro.AddTail(u"M16");
  filtro.AddTail(u"F16");
  host.tree.SetFiltroPinos(&filtro);
  auto list = std::make_unique<zr::CELstItens>();
  auto m12 = std::make_shared<zr::CEPasta>();
  m12->m_nome = u"M12";
  m12->m_key = u"101";
  m12->m_nivel = u"0";
  list->Add(m12);
  ASSERT_TRUE(host.tree.Load(std::move(list)));
  HTREEITEM item = host.tree.GetRootItem();
  host.tree.Expand(item, TVE_EXPAND);
  Strings shown;
  for (HTREEITEM c = host.tree.GetChildItem(item); c; c = host.tree.GetNextSiblingItem(c))
    shown.push_back(host.tree.GetNode(c)->m_key.ToUtf8());
  EXPECT_EQ(shown, (Strings{"CI03F", "CI03M", "CI04F", "CI04M", "CI05F", "CI05M", "CI08F", "CI08M"}))
      << "CI04A carries M16 pins but its drawing is no connector's";
  host.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Drivers, MenuLoaders, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
