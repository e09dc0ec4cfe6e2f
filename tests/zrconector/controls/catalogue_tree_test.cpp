// The catalogue tree and its base layers, driven as a user drives them:
// items inserted from records, folders loaded on their first expansion, the
// connector and pin filters, and the preselected path.
#include <gtest/gtest.h>

#include <zrui/testing.h>
#include <zrui/textrender.h>

#include "controls/CITreeConectores.h"
#include "fake_menu_catalogue.h"

using namespace zrui::rc;

namespace {

constexpr int IDC_TREE = 123;

DialogTemplate HostTemplate() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  t.cx = 160;
  t.cy = 160;
  t.items = {CONTROL(u"", IDC_TREE, WC_TREEVIEWW,
                     TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP, 4, 4, 150,
                     150)};
  return t;
}

// The tree's owner: forwards the expansions to the tree, as the creation tab does.
class TreeHost : public CDialog {
 public:
  TreeHost(zr::MenuCatalogue& catalogue) : CDialog(&Shared()), tree(catalogue, u"Carregando...") {}
  static const DialogTemplate& Shared() {
    static const DialogTemplate t = HostTemplate();
    return t;
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    tree.SubclassDlgItem(IDC_TREE, this);
    return TRUE;
  }
  void OnExpanded(NMHDR* hdr, LRESULT* result) {
    ++expansions;
    tree.OnItemExpanded(reinterpret_cast<NMTREEVIEW*>(hdr)->itemNew.hItem);
    *result = 0;
  }
  CITreeConectores tree;
  int expansions = 0;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TreeHost, CDialog)
  ON_NOTIFY(TVN_ITEMEXPANDED, IDC_TREE, &TreeHost::OnExpanded)
END_MESSAGE_MAP()

class CatalogueTree : public ::testing::Test {
 protected:
  void SetUp() override {
    // Folders 1 > 10 > 100 with connectors; folder 2 with subfolders only;
    // folder 3 whose components all fail the filters.
    cat.menu("0", "1", "Conectores");
    cat.menu("0", "2", "Auxiliares");
    cat.menu("0", "3", "Vazia");
    cat.menu("1", "10", "Circulares");
    cat.component("10", "CM02M", "Circular 2 vias", "CON-CM02M");
    cat.component("10", "CM03M", "Circular 3 vias", "con-CM03M");
    cat.component("10", "AD01", "Adaptador", "ADP-CON-01");
    cat.component("10", "CM04F", "Circular 4 vias femea", "Con-CM04F");
    cat.menu("2", "20", "Reles");
    cat.menu("2", "21", "Bornes");
    cat.component("3", "XX01", "Sem pino procurado", "CON-XX01");
    for (const char* c : {"CM02M", "CM03M", "AD01"}) cat.pin(c, std::string(c) + "-1", "M20");
    cat.pin("CM04F", "CM04F-1", "F20");
    cat.pin("XX01", "XX01-2", "F99");
    filtro.AddTail(u"M20");
    host = std::make_unique<TreeHost>(cat);
    ASSERT_TRUE(host->CreateIndirect(host->m_lpDialogTemplate));
    tree().SetFiltroPinos(&filtro);
  }
  void TearDown() override {
    if (host && host->m_hWnd) host->DestroyWindow();
  }
  CITreeConectores& tree() { return host->tree; }
  bool load() { return tree().Load(cat.topLevel()); }
  // The item among item's children (the top level for null) whose text is text.
  HTREEITEM child(HTREEITEM parent, const char16_t* text) {
    for (HTREEITEM it = parent ? tree().GetChildItem(parent) : tree().GetRootItem(); it;
         it = tree().GetNextSiblingItem(it))
      if (tree().GetItemText(it) == text) return it;
    return nullptr;
  }
  std::vector<std::string> children(HTREEITEM parent) {
    std::vector<std::string> out;
    for (HTREEITEM it = parent ? tree().GetChildItem(parent) : tree().GetRootItem(); it;
         it = tree().GetNextSiblingItem(it))
      out.push_back(tree().GetItemText(it).ToUtf8());
    return out;
  }
  POINT labelCentre(HTREEITEM item) {
    CRect r;
    tree().GetItemRect(item, &r, TRUE);
    return POINT{r.left + 2, (r.top + r.bottom) / 2};
  }
  // A user opens or closes a folder by double-clicking its label.
  void toggleByUser(HTREEITEM item) { ASSERT_TRUE(zrui::DoubleClickAt(tree().m_hWnd, labelCentre(item))); }

  FakeMenuCatalogue cat;
  CStringList filtro;
  std::unique_ptr<TreeHost> host;
};

TEST_F(CatalogueTree, EveryTreeOfTheModuleRunsWithSingleSelection) {
  CMultiTree base;
  EXPECT_EQ(base.GetMultiSelect(), 1);
  EXPECT_EQ(tree().GetMultiSelect(), 0);
  EXPECT_EQ(tree().m_nImagemFolha, 3);
}

TEST_F(CatalogueTree, InsertedRecordsTakeTheirImagesAndLinks) {
  zr::CEPasta top1, top2, folder, leaf;
  top1.m_nome = u"A";
  top2.m_nome = u"B";
  folder.m_nome = u"C";
  leaf.m_nome = u"D";
  leaf.m_folha = 1;
  tree().InsertNode(nullptr, &top1);
  tree().InsertNode(nullptr, &top2);
  tree().InsertNode(&top1, &folder);
  tree().InsertNode(&folder, &leaf);
  EXPECT_EQ(children(nullptr), (std::vector<std::string>{"A", "B"})) << "a top-level record goes last";
  int image = -1, selected = -1;
  tree().GetItemImage(leaf.m_item, image, selected);
  EXPECT_EQ(image, 3);
  EXPECT_EQ(selected, 3);
  tree().GetItemImage(folder.m_item, image, selected);
  EXPECT_EQ(image, 0);
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(leaf.m_pai, &folder);
  EXPECT_EQ(folder.m_filhos, std::vector<zr::CEPasta*>{&leaf});
  EXPECT_EQ(top1.m_pai, nullptr);
  EXPECT_EQ(tree().GetNode(folder.m_item), &folder);
  EXPECT_EQ(tree().GetParentItem(leaf.m_item), folder.m_item);
  EXPECT_TRUE(tree().DeleteAll());
  EXPECT_EQ(tree().GetCount(), 0u);
}

TEST_F(CatalogueTree, AClickTakesTheFocusAndSelects) {
  ASSERT_TRUE(load());
  HTREEITEM aux = child(nullptr, u"Auxiliares");
  ASSERT_NE(aux, nullptr);
  ::SetFocus(host->m_hWnd);
  ASSERT_TRUE(zrui::ClickAt(tree().m_hWnd, labelCentre(aux)));
  EXPECT_EQ(::GetFocus(), tree().m_hWnd);
  EXPECT_EQ(tree().GetSelectedItem(), aux);
  ASSERT_TRUE(zrui::RightClickAt(tree().m_hWnd, labelCentre(child(nullptr, u"Vazia"))));
  EXPECT_EQ(tree().GetSelectedItem(), aux) << "a right click only takes the focus";
}

TEST_F(CatalogueTree, FoldersStartWithOnePlaceholderChild) {
  EXPECT_FALSE(tree().Load(nullptr));
  ASSERT_TRUE(load());
  EXPECT_EQ(children(nullptr), (std::vector<std::string>{"Conectores", "Auxiliares", "Vazia"}));
  HTREEITEM folder = child(nullptr, u"Conectores");
  EXPECT_EQ(children(folder), std::vector<std::string>{"Carregando..."});
  HTREEITEM placeholder = tree().GetChildItem(folder);
  EXPECT_TRUE(tree().IsPlaceholder(placeholder));
  int image = -1, selected = -1;
  tree().GetItemImage(placeholder, image, selected);
  EXPECT_EQ(image, 4);
  EXPECT_EQ(selected, 4);
}

TEST_F(CatalogueTree, AFolderLoadsOnItsFirstExpansionOnly) {
  ASSERT_TRUE(load());
  HTREEITEM folder = child(nullptr, u"Conectores");
  toggleByUser(folder);
  EXPECT_EQ(host->expansions, 1);
  EXPECT_EQ(children(folder), std::vector<std::string>{"Circulares"});
  HTREEITEM circulares = child(folder, u"Circulares");
  toggleByUser(circulares);
  // Components with a "CON-" drawing in any case and a pin of the filter.
  EXPECT_EQ(children(circulares), (std::vector<std::string>{"Circular 2 vias", "Circular 3 vias"}));
  // Collapse and expand again: no query.
  const int levels = cat.levelQueries, pins = cat.pinQueries;
  toggleByUser(circulares);
  toggleByUser(circulares);
  EXPECT_EQ(host->expansions, 4);
  EXPECT_EQ(cat.levelQueries, levels);
  EXPECT_EQ(cat.pinQueries, pins);
  EXPECT_EQ(children(circulares).size(), 2u);
  EXPECT_TRUE(host->IsWindowEnabled());
  EXPECT_EQ(CITreeConectores::ReentrancyFlag(), 1);
}

TEST_F(CatalogueTree, TheParentWindowIsDisabledWhileAFolderLoads) {
  struct Probe : FakeMenuCatalogue {
    HWND parent = nullptr;
    int enabledWhileReading = -1;
    CString NomePino(const CString& pin) override {
      enabledWhileReading = ::IsWindowEnabled(parent);
      return FakeMenuCatalogue::NomePino(pin);
    }
  };
  Probe probe;
  probe.menu("0", "1", "Conectores");
  probe.component("1", "CM02M", "Circular", "CON-CM02M");
  probe.pin("CM02M", "P1", "M20");
  host->DestroyWindow();
  host = std::make_unique<TreeHost>(probe);
  ASSERT_TRUE(host->CreateIndirect(host->m_lpDialogTemplate));
  probe.parent = host->m_hWnd;
  tree().SetFiltroPinos(&filtro);
  ASSERT_TRUE(tree().Load(probe.topLevel()));
  toggleByUser(child(nullptr, u"Conectores"));
  EXPECT_EQ(probe.enabledWhileReading, FALSE);
  EXPECT_TRUE(host->IsWindowEnabled());
}

TEST_F(CatalogueTree, AFolderOfSubfoldersOnlyShowsThem) {
  ASSERT_TRUE(load());
  HTREEITEM aux = child(nullptr, u"Auxiliares");
  toggleByUser(aux);
  EXPECT_EQ(children(aux), (std::vector<std::string>{"Reles", "Bornes"}));
  EXPECT_TRUE(tree().IsPlaceholder(tree().GetChildItem(child(aux, u"Reles"))));
}

TEST_F(CatalogueTree, AFolderThatEndsUpEmptyLosesItsPlaceholder) {
  ASSERT_TRUE(load());
  HTREEITEM vazia = child(nullptr, u"Vazia");
  toggleByUser(vazia);
  EXPECT_EQ(tree().GetChildItem(vazia), nullptr) << "XX01 has no pin of the filter";
  EXPECT_FALSE(tree().ItemHasChildren(vazia));
  // Its record is loaded, not shown.
  bool known = false;
  for (const auto& r : tree().GetItens()->Itens()) known |= r->m_key == u"XX01";
  EXPECT_TRUE(known);
}

TEST_F(CatalogueTree, ALoaderThatFailsEndsTheExpansionCleanly) {
  cat.failLevel("1");
  ASSERT_TRUE(load());
  HTREEITEM folder = child(nullptr, u"Conectores");
  toggleByUser(folder);
  EXPECT_EQ(tree().GetChildItem(folder), nullptr);
  EXPECT_TRUE(host->IsWindowEnabled());
  EXPECT_EQ(CITreeConectores::ReentrancyFlag(), 1);
  // The next folder loads as usual.
  HTREEITEM aux = child(nullptr, u"Auxiliares");
  toggleByUser(aux);
  EXPECT_EQ(children(aux).size(), 2u);
}

TEST_F(CatalogueTree, WithoutAPinFilterEveryConnectorIsShown) {
  tree().SetFiltroPinos(nullptr);
  ASSERT_TRUE(load());
  HTREEITEM folder = child(nullptr, u"Conectores");
  toggleByUser(folder);
  HTREEITEM circulares = child(folder, u"Circulares");
  toggleByUser(circulares);
  EXPECT_EQ(children(circulares),
            (std::vector<std::string>{"Circular 2 vias", "Circular 3 vias", "Circular 4 vias femea"}))
      << "the adapter's drawing does not start with CON-";
}

TEST_F(CatalogueTree, TheConnectorTestLooksAtTheStartOfTheDrawingNameInAnyCase) {
  for (const char16_t* yes : {u"CON-X", u"con-x", u"Con-", u"cOn-AB12"})
    EXPECT_TRUE(CITreeConectores::IsConector(yes)) << CString(yes).ToUtf8();
  for (const char16_t* no : {u"XBOR-CON-T", u"CON", u"CONX", u" CON-X", u"", u"REL-2C"})
    EXPECT_FALSE(CITreeConectores::IsConector(no)) << CString(no).ToUtf8();
}

TEST_F(CatalogueTree, APinFilterAndACandidateListDecideWhichComponentsPass) {
  EXPECT_TRUE(tree().PassaFiltroPinos(u"CM02M", &filtro));
  EXPECT_FALSE(tree().PassaFiltroPinos(u"CM04F", &filtro));
  EXPECT_FALSE(tree().PassaFiltroPinos(u"NADA", &filtro)) << "no pins, nothing to match";
  CStringList candidatos;
  candidatos.AddTail(u"CM03M");
  tree().SetCandidatos(&candidatos);
  EXPECT_FALSE(tree().PassaFiltroPinos(u"CM02M", &filtro));
  EXPECT_TRUE(tree().PassaFiltroPinos(u"CM03M", &filtro));
  EXPECT_TRUE(tree().PassaFiltroPinos(u"CM03M", nullptr));
}

TEST_F(CatalogueTree, OneCandidateOpensItsFoldersAndIsSelected) {
  CStringList candidatos;
  candidatos.AddTail(u"CM03M");
  tree().SetCandidatos(&candidatos);
  ASSERT_TRUE(load());
  HTREEITEM selected = tree().GetSelectedItem();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(tree().GetItemText(selected), u"Circular 3 vias");
  EXPECT_EQ(tree().GetNode(selected)->m_key, u"CM03M");
  // Folders 1 and then 10 were expanded, in that order.
  ASSERT_EQ(host->expansions, 2);
  HTREEITEM conectores = child(nullptr, u"Conectores");
  HTREEITEM circulares = child(conectores, u"Circulares");
  EXPECT_EQ(tree().GetItemState(conectores, TVIS_EXPANDED) & TVIS_EXPANDED, TVIS_EXPANDED);
  EXPECT_EQ(tree().GetParentItem(selected), circulares);
  EXPECT_EQ(children(circulares), std::vector<std::string>{"Circular 3 vias"}) << "only the candidate passes";
  EXPECT_TRUE(tree().IsPlaceholder(tree().GetChildItem(child(nullptr, u"Auxiliares"))))
      << "folders off the path stay unloaded";
}

TEST_F(CatalogueTree, TwoCandidatesOrOneOutsideTheMenusSelectNothing) {
  for (const std::vector<const char16_t*>& codes : {std::vector<const char16_t*>{u"CM03M", u"CM02M"}, {u"FORA"}}) {
    CStringList candidatos;
    for (const char16_t* code : codes) candidatos.AddTail(code);
    tree().SetCandidatos(&candidatos);
    host->expansions = 0;
    ASSERT_TRUE(load());
    EXPECT_EQ(tree().GetSelectedItem(), nullptr) << CString(codes[0]).ToUtf8();
    EXPECT_EQ(host->expansions, 0) << "nothing opened for " << CString(codes[0]).ToUtf8();
  }
}

TEST_F(CatalogueTree, TheTextSnapshotShowsFoldersPlaceholdersAndComponents) {
  ASSERT_TRUE(load());
  HTREEITEM folder = child(nullptr, u"Conectores");
  toggleByUser(folder);
  toggleByUser(child(folder, u"Circulares"));
  zrui::TextGrid grid = zrui::RenderWindow(host->m_hWnd);
  const std::string text = grid.utf8();
  size_t conectores = text.find("- Conectores"), circulares = text.find("- Circulares"),
         dois = text.find("Circular 2 vias"), aux = text.find("+ Auxiliares");
  EXPECT_NE(conectores, std::string::npos) << text;
  EXPECT_LT(conectores, circulares) << text;
  EXPECT_LT(circulares, dois) << text;
  EXPECT_LT(dois, aux) << text;
  EXPECT_EQ(text.find("Carregando"), std::string::npos) << "unexpanded folders show only their button\n" << text;
}

}  // namespace
