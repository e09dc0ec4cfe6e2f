// The connector selection dialog driven as a user drives it: the missing
// pins of placed connectors on tab 0, a new instance from the catalogue tree
// on tab 1 (filled on a worker thread), the name check, the results, closing
// and resizing.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include <zrui/metrics.h>
#include <zrui/testing.h>
#include <zrui/textrender.h>

#include "dialogs/CIDlgSelConector.h"
#include "dialogs/Resource.h"
#include "dialogs/SelConectorResources.h"
#include "fake_selecao.h"

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

class SelConector : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSelConectorResources();
    // Menus: Conectores (1) > Circulares (10) > three components; Reles (2).
    f.menus.menu("0", "1", "Conectores");
    f.menus.menu("0", "2", "Reles");
    f.menus.menu("1", "10", "Circulares");
    f.menus.component("10", "CM02M", "Circular 2 vias", "CON-CM02M");
    f.menus.component("10", "CM03M", "Circular 3 vias", "CON-CM03M");
    f.menus.component("10", "CM04F", "Circular 4 vias femea", "CON-CM04F");
    f.pin("CM02M", "P1", "A", "M20");
    f.pin("CM02M", "P2", "B", "M20");
    f.pin("CM03M", "P3", "A", "M20");
    f.pin("CM03M", "P4", "B", "M20");
    f.pin("CM03M", "P5", "C", "M20");
    f.pin("CM04F", "P6", "1", "F20");
    f.pin("CM04F", "P7", "2", "F20");
    f.tag("CM02M", "XC");
    f.tag("CM03M", "XC");
    f.next = [](const std::string& prefix) { return prefix + "3"; };
  }

  // Runs the dialog with script as the user's part; returns its result.
  INT_PTR run(CIDlgSelConector& dialog, std::function<void(HWND)> script) {
    zrui::OnNextModal(std::move(script));
    return dialog.DoModal();
  }
  static POINT centre(const CRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  // The user clicks a tab of the dialog.
  static void clickTab(CIDlgSelConector& d, int tab) {
    CRect r;
    ASSERT_TRUE(d.m_tab.GetItemRect(tab, &r));
    ASSERT_TRUE(zrui::ClickAt(d.m_tab.m_hWnd, centre(r)));
  }
  // Tab 1 clicked and its worker waited for.
  static void openCreationTab(CIDlgSelConector& d) {
    clickTab(d, 1);
    ASSERT_TRUE(zrui::PumpUntil([&] { return !d.TabCriar().FillRunning(); }, 10s));
    ASSERT_TRUE(d.TabCriar().IsLoaded());
  }
  // The user clicks a tree item's label.
  static void clickItem(CTreeCtrl& tree, HTREEITEM item) {
    CRect r;
    ASSERT_TRUE(tree.GetItemRect(item, &r, TRUE));
    ASSERT_TRUE(zrui::ClickAt(tree.m_hWnd, POINT{r.left + 2, (r.top + r.bottom) / 2}));
  }
  static HTREEITEM find(CTreeCtrl& tree, HTREEITEM parent, const char16_t* text) {
    for (HTREEITEM it = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); it; it = tree.GetNextSiblingItem(it))
      if (tree.GetItemText(it) == text) return it;
    return nullptr;
  }
  static Strings texts(CTreeCtrl& tree, HTREEITEM parent) {
    Strings out;
    for (HTREEITEM it = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); it; it = tree.GetNextSiblingItem(it))
      out.push_back(tree.GetItemText(it).ToUtf8());
    return out;
  }
  // Opens Conectores > Circulares on tab 1 and clicks a component. The tree
  // opens one branch at a time: a click on a folder opens it.
  void chooseComponent(CIDlgSelConector& d, const char16_t* component) {
    CITreeConectores& tree = d.TabCriar().m_tree;
    HTREEITEM conectores = find(tree, nullptr, u"Conectores");
    ASSERT_NE(conectores, nullptr);
    clickItem(tree, conectores);
    HTREEITEM circulares = find(tree, conectores, u"Circulares");
    ASSERT_NE(circulares, nullptr);
    clickItem(tree, circulares);
    HTREEITEM item = find(tree, circulares, component);
    ASSERT_NE(item, nullptr) << CString(component).ToUtf8();
    clickItem(tree, item);
  }
  static bool okEnabled(CWnd& page) { return ::IsWindowEnabled(::GetDlgItem(page.m_hWnd, IDC_SEL_OK)); }
  static void clickOk(CWnd& page) { ASSERT_TRUE(zrui::Click(::GetDlgItem(page.m_hWnd, IDC_SEL_OK))); }
  static void typeName(CIDlgSelConector& d, const std::u16string& text) {
    ASSERT_TRUE(zrui::FocusByClick(d.TabCriar().m_combo.m_hWnd));
    zrui::Type(text);
  }

  FakeSelecao f;
};

CStringList* list(std::initializer_list<const char16_t*> values) {
  auto* l = new CStringList(10);
  for (const char16_t* v : values) l->AddTail(v);
  return l;
}

TEST_F(SelConector, OnePinCodeListsOnlyInstancesMissingAPinOfThatCode) {
  f.instance("X1", "CM02M", {{"A", 0}, {"B", 1}});
  f.instance("X2", "CM03M", {{"A", 0}, {"B", 0}, {"C", 0}});  // every pin placed
  f.instance("X3", "CM04F", {{"1", 1}, {"2", 1}});            // missing, but F20
  CIDlgSelConector d(u"M20", nullptr, &f);
  EXPECT_EQ(run(d, [&](HWND) {
              CTreeCtrl& tree = d.TabSelecao().m_tree;
              EXPECT_EQ(texts(tree, nullptr), Strings{"X1"});
              HTREEITEM x1 = tree.GetRootItem();
              EXPECT_EQ(texts(tree, x1), Strings{"B"});
              int image = -1, selected = -1;
              tree.GetItemImage(x1, image, selected);
              EXPECT_EQ(image, 0);
              tree.GetItemImage(tree.GetChildItem(x1), image, selected);
              EXPECT_EQ(image, 1);
              EXPECT_EQ(selected, 1);
              EXPECT_FALSE(okEnabled(d.TabSelecao()));
              clickItem(tree, x1);
              EXPECT_FALSE(okEnabled(d.TabSelecao())) << "a connector is no pin";
              clickItem(tree, tree.GetChildItem(x1));
              EXPECT_TRUE(okEnabled(d.TabSelecao()));
              clickOk(d.TabSelecao());
            }),
            IDOK);
  EXPECT_EQ(d.GetNome(), u"X1");
  EXPECT_EQ(d.GetCodigo(), u"CM02M");
  EXPECT_EQ(d.GetPino(), u"B");
  EXPECT_EQ(d.GetResultado4a(), u"CM02M");
  EXPECT_EQ(d.GetResultado4b(), u"M20") << "the pin code given";
}

TEST_F(SelConector, AMatingListFiltersInstancesAndEqualNamesShareARoot) {
  f.instance("X1", "CM02M", {{"A", 1}, {"B", 0}});
  f.instance("X1", "CM03M", {{"A", 0}, {"C", 1}});
  f.instance("X2", "CM02M", {{"A", 1}, {"B", 1}});
  f.instance("X4", "CM04F", {{"1", 1}});
  CIDlgSelConector d(list({u"M20"}), list({u"CM02M", u"CM03M"}), nullptr, &f);
  EXPECT_EQ(run(d, [&](HWND) {
              CTreeCtrl& tree = d.TabSelecao().m_tree;
              EXPECT_EQ(texts(tree, nullptr), (Strings{"X1", "X2"})) << "X4's code is no mating part";
              HTREEITEM x1 = tree.GetRootItem();
              EXPECT_EQ(texts(tree, x1), (Strings{"A", "C"})) << "both X1 records under one root";
              // Enter on the dialog presses the page's OK once a pin is chosen.
              clickItem(tree, tree.GetChildItem(x1));
              zrui::PressKey(VK_RETURN);
            }),
            IDOK);
  EXPECT_EQ(d.GetNome(), u"X1");
  EXPECT_EQ(d.GetCodigo(), u"CM02M") << "the root's code is its first record's";
  EXPECT_EQ(d.GetPino(), u"A");
  EXPECT_EQ(d.GetResultado4b(), u"M20") << "read back from the catalogue";
}

TEST_F(SelConector, WithoutRecordsTabZeroOffersNothingAndCancelGivesTwo) {
  CIDlgSelConector d(u"M20", nullptr, &f);
  EXPECT_EQ(run(d, [&](HWND) {
              EXPECT_EQ(d.TabSelecao().m_tree.GetCount(), 0u);
              zrui::PressKey(VK_RETURN);  // nothing chosen: Enter does nothing
              EXPECT_FALSE(zrui::IsDialogEnded(d.m_hWnd));
              ASSERT_TRUE(zrui::Click(::GetDlgItem(d.TabSelecao().m_hWnd, IDC_SEL_CANCELAR)));
            }),
            IDCANCEL);
  CIDlgSelConector e(u"M20", nullptr, &f);
  EXPECT_EQ(run(e, [&](HWND h) { zrui::CloseByTitleBar(h); }), IDCANCEL);
  CIDlgSelConector g(u"M20", nullptr, &f);
  EXPECT_EQ(run(g, [&](HWND) { zrui::PressKey(VK_ESCAPE); }), IDCANCEL);
}

TEST_F(SelConector, TheCreationTabIsLoadedOnceOverSeveralSwitches) {
  CIDlgSelConector d(u"M20", nullptr, &f);
  run(d, [&](HWND) {
    EXPECT_FALSE(::IsWindowVisible(d.TabCriar().m_hWnd));
    openCreationTab(d);
    EXPECT_EQ(d.GetAbaAtiva(), 1);
    EXPECT_TRUE(::IsWindowVisible(d.TabCriar().m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(d.TabSelecao().m_hWnd));
    EXPECT_TRUE(d.TabCriar().IsWindowEnabled());
    EXPECT_EQ(texts(d.TabCriar().m_tree, nullptr), (Strings{"Conectores", "Reles"}));
    clickTab(d, 0);
    EXPECT_EQ(d.GetAbaAtiva(), 0);
    EXPECT_TRUE(::IsWindowVisible(d.TabSelecao().m_hWnd));
    openCreationTab(d);
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(f.topLoads(), 1);
}

TEST_F(SelConector, AFolderKeepsOkDisabledWhateverTheName) {
  CIDlgSelConector d(u"M20", nullptr, &f);
  run(d, [&](HWND) {
    openCreationTab(d);
    CITreeConectores& tree = d.TabCriar().m_tree;
    clickItem(tree, find(tree, nullptr, u"Conectores"));
    typeName(d, u"J7");
    EXPECT_FALSE(okEnabled(d.TabCriar()));
    EXPECT_FALSE(d.TabCriar().TooltipShown());
    EXPECT_FALSE(::IsWindowEnabled(d.TabCriar().m_pinos.m_hWnd)) << "a folder has no pins";
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(SelConector, ANameInUseInAnotherCaseKeepsOkDisabledWithTheTooltip) {
  f.instance("XC1", "CM02M", {{"A", 0}, {"B", 0}});
  CIDlgSelConector d(u"M20", nullptr, &f);
  run(d, [&](HWND) {
    openCreationTab(d);
    chooseComponent(d, u"Circular 2 vias");
    typeName(d, u"xc1");
    EXPECT_FALSE(okEnabled(d.TabCriar()));
    EXPECT_TRUE(d.TabCriar().TooltipShown());
    EXPECT_EQ(d.TabCriar().TooltipText(), u"Este nome já está em uso por outro conector.");
    zrui::Type(u"0");  // xc10 is free
    EXPECT_TRUE(okEnabled(d.TabCriar()));
    EXPECT_FALSE(d.TabCriar().TooltipShown());
    zrui::PressKey(VK_ESCAPE);
  });
}

// The tip lies just below the name's combo inside its page (never over
// the name), below the name's list while it is dropped, and back when it
// closes.
TEST_F(SelConector, TheTipForANameInUseStaysClearOfTheNameAndItsList) {
  f.instance("XC1", "CM02M", {{"A", 0}, {"B", 0}});
  CIDlgSelConector d(u"M20", nullptr, &f);
  run(d, [&](HWND) {
    openCreationTab(d);
    chooseComponent(d, u"Circular 2 vias");
    typeName(d, u"XC1");
    ASSERT_TRUE(d.TabCriar().TooltipShown());
    HWND tip = nullptr;
    for (HWND h : zrui::TopLevelWindows())
      if (GetClassNameString(h) == TOOLTIPS_CLASSW && ::IsWindowVisible(h)) tip = h;
    ASSERT_NE(tip, nullptr);
    RECT field, at, dropped;
    d.TabCriar().m_combo.GetWindowRect(&field);
    ::GetWindowRect(tip, &at);
    EXPECT_EQ(at.top, field.bottom);
    zrui::PressKey(VK_F4);
    ASSERT_TRUE(d.TabCriar().m_combo.GetDroppedState());
    d.TabCriar().m_combo.GetDroppedControlRect(&dropped);
    ::GetWindowRect(tip, &at);
    EXPECT_EQ(at.top, dropped.bottom);
    zrui::PressKey(VK_F4);
    ::GetWindowRect(tip, &at);
    EXPECT_EQ(at.top, field.bottom);
    EXPECT_TRUE(d.TabCriar().TooltipShown());
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(SelConector, ChoosingTheProposalGivesSAndChangingItGivesN) {
  f.instance("XC1", "CM02M", {{"A", 0}, {"B", 0}});
  CIDlgSelConector d(u"M20", nullptr, &f);
  EXPECT_EQ(run(d, [&](HWND) {
              openCreationTab(d);
              chooseComponent(d, u"Circular 2 vias");
              ASSERT_FALSE(f.asked.empty());
              EXPECT_EQ(f.asked.back(), "XC") << "the component's tag";
              EXPECT_EQ(f.lastStandard, "IEC");
              CAutoCombo& combo = d.TabCriar().m_combo;
              ASSERT_EQ(combo.GetCount(), 2);
              CString proposta;
              combo.GetLBText(1, proposta);
              EXPECT_EQ(proposta, u"XC3");
              EXPECT_EQ(combo.GetSecondText(1), u"(nome sugerido)");
              ASSERT_TRUE(zrui::ChooseComboItem(combo.m_hWnd, 1));
              EXPECT_TRUE(okEnabled(d.TabCriar()));
              // The pin list: the component's pins of the accepted codes.
              CComboBox& pinos = d.TabCriar().m_pinos;
              EXPECT_TRUE(::IsWindowEnabled(pinos.m_hWnd));
              EXPECT_EQ(pinos.GetCount(), 2);
              ASSERT_TRUE(zrui::ChooseComboItem(pinos.m_hWnd, 1));
              clickOk(d.TabCriar());
            }),
            IDOK);
  EXPECT_EQ(d.GetNome(), u"XC3");
  EXPECT_EQ(d.GetCodigo(), u"CM02M");
  EXPECT_EQ(d.GetPino(), u"B");
  EXPECT_EQ(d.GetResultado4a(), u"S");
  EXPECT_EQ(d.GetResultado4b(), u"M20");

  CIDlgSelConector e(list({u"M20", u"F20"}), nullptr, nullptr, &f);
  EXPECT_EQ(run(e, [&](HWND) {
              openCreationTab(e);
              chooseComponent(e, u"Circular 2 vias");
              ASSERT_TRUE(zrui::ChooseComboItem(e.TabCriar().m_combo.m_hWnd, 1));
              ASSERT_TRUE(zrui::FocusByClick(e.TabCriar().m_combo.m_hWnd));
              zrui::PressKey(VK_END);
              zrui::PressKey(VK_BACK);
              zrui::Type(u"4");  // XC4: one character changed
              EXPECT_TRUE(okEnabled(e.TabCriar()));
              clickOk(e.TabCriar());
            }),
            IDOK);
  EXPECT_EQ(e.GetNome(), u"XC4");
  EXPECT_EQ(e.GetResultado4a(), u"N");
  EXPECT_EQ(e.GetPino(), u"A") << "the first pin of the list";
  EXPECT_EQ(e.GetResultado4b(), u"M20") << "read back through the pin keys of the code";
}

TEST_F(SelConector, WithoutAProposalTheComboOffersOnlyTheTypedText) {
  f.next = nullptr;
  CIDlgSelConector d(u"M20", nullptr, &f);
  run(d, [&](HWND) {
    openCreationTab(d);
    chooseComponent(d, u"Circular 3 vias");
    typeName(d, u"J1");
    EXPECT_TRUE(okEnabled(d.TabCriar()));
    CAutoCombo& combo = d.TabCriar().m_combo;
    for (int i = 0; i < combo.GetCount(); ++i) EXPECT_TRUE(combo.GetSecondText(i).IsEmpty()) << i;
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(SelConector, OneCandidateIsPreselectedWithItsProposal) {
  CIDlgSelConector d(list({u"F20"}), list({u"CM04F"}), nullptr, &f);
  run(d, [&](HWND) {
    openCreationTab(d);
    CITreeConectores& tree = d.TabCriar().m_tree;
    HTREEITEM selected = tree.GetSelectedItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(tree.GetItemText(selected), u"Circular 4 vias femea");
    EXPECT_EQ(d.TabCriar().GetCodigo(), u"CM04F");
    EXPECT_EQ(d.TabCriar().m_pinos.GetCount(), 2);
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(SelConector, ClosingDuringTheFillWaitsForTheWorkerAndCancels) {
  CIDlgSelConector d(u"M20", nullptr, &f);
  f.closeGate();
  EXPECT_EQ(run(d, [&](HWND h) {
              clickTab(d, 1);
              ASSERT_TRUE(zrui::PumpUntil([&] { return f.workerWaiting(); }, 10s));
              EXPECT_TRUE(d.TabCriar().FillRunning());
              EXPECT_FALSE(d.TabCriar().IsWindowEnabled()) << "the page is disabled during the fill";
              // A second switch while the fill runs starts nothing more.
              clickTab(d, 0);
              clickTab(d, 1);
              zrui::CloseByTitleBar(h);
              EXPECT_FALSE(zrui::IsDialogEnded(h)) << "the dialog waits for its worker";
              f.openGate();
            }),
            IDCANCEL);
  EXPECT_FALSE(d.TabCriar().IsLoaded()) << "a cancelled fill leaves the tab unloaded";
  EXPECT_FALSE(CITabCriar::AnyFillRunning());
  EXPECT_EQ(f.topLoads(), 1);
}

TEST_F(SelConector, TheDialogNeverGetsSmallerThanAtTheFirstDrag) {
  CIDlgSelConector::ResetMinimumForTesting();
  CIDlgSelConector d(u"M20", nullptr, &f);
  run(d, [&](HWND h) {
    CRect start, tree0, ok0, combo0;
    ::GetWindowRect(h, &start);
    d.TabSelecao().m_tree.GetWindowRect(&tree0);
    ::GetWindowRect(::GetDlgItem(d.TabSelecao().m_hWnd, IDC_SEL_OK), &ok0);
    d.TabCriar().m_combo.GetWindowRect(&combo0);
    ASSERT_TRUE(zrui::DragResize(h, WMSZ_BOTTOMRIGHT, start.Width() - 70, start.Height() - 52));
    CRect now;
    ::GetWindowRect(h, &now);
    EXPECT_EQ(now.Size(), start.Size()) << "pushed back to the first size";
    ASSERT_TRUE(zrui::DragResize(h, WMSZ_BOTTOMRIGHT, start.Width() + 70, start.Height() + 52));
    CRect tree1, ok1, combo1;
    d.TabSelecao().m_tree.GetWindowRect(&tree1);
    ::GetWindowRect(::GetDlgItem(d.TabSelecao().m_hWnd, IDC_SEL_OK), &ok1);
    d.TabCriar().m_combo.GetWindowRect(&combo1);
    EXPECT_EQ(tree1.Width(), tree0.Width() + 70);
    EXPECT_EQ(tree1.Height(), tree0.Height() + 52);
    EXPECT_EQ(ok1.left, ok0.left + 70);
    EXPECT_EQ(ok1.top, ok0.top + 52);
    EXPECT_EQ(combo1.Width(), combo0.Width() + 70);
    EXPECT_EQ(combo1.Height(), combo0.Height());
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(SelConector, BothTabsRenderAsText) {
  // The terminal's profile: rectangles on cells, image rows one cell high.
  zrui::ScopedMetricsProfile text(zrui::MetricsProfile::Text);
  f.instance("X1", "CM02M", {{"A", 0}, {"B", 1}});
  f.instance("X2", "CM03M", {{"A", 1}, {"B", 0}, {"C", 1}});
  CIDlgSelConector d(u"M20", nullptr, &f);
  run(d, [&](HWND h) {
    CTreeCtrl& tree = d.TabSelecao().m_tree;
    clickItem(tree, tree.GetChildItem(tree.GetRootItem()));
    const std::string zero = zrui::RenderWindow(h).utf8();
    std::cout << zero << "\n";
    EXPECT_NE(zero.find("Seleção de conector"), std::string::npos) << zero;
    EXPECT_NE(zero.find("Selecionar"), std::string::npos) << zero;
    EXPECT_NE(zero.find("Criar"), std::string::npos) << zero;
    EXPECT_NE(zero.find("\u25D8 X1"), std::string::npos) << "connector glyph\n" << zero;
    EXPECT_NE(zero.find("\u25AA B"), std::string::npos) << "pin glyph\n" << zero;
    EXPECT_NE(zero.find("Cancelar"), std::string::npos) << zero;
    openCreationTab(d);
    chooseComponent(d, u"Circular 2 vias");
    const std::string one = zrui::RenderWindow(h).utf8();
    std::cout << one << "\n";
    EXPECT_NE(one.find("Nome:"), std::string::npos) << one;
    EXPECT_NE(one.find("Pino:"), std::string::npos) << one;
    EXPECT_NE(one.find("Conectores do"), std::string::npos) << one;
    EXPECT_NE(one.find("\u25D8 Circular 2 vias"), std::string::npos) << one;
    EXPECT_NE(one.find("\u25AD Reles"), std::string::npos) << "folder glyph\n" << one;
    EXPECT_EQ(zero.find("Nome:"), std::string::npos) << "tab 1 is hidden on tab 0";
    zrui::PressKey(VK_ESCAPE);
  });
}

}  // namespace
