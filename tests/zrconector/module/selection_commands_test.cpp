// SelecaoConector and PerguntaInserirPinoConectado as the host calls them, on
// a copy of the example catalogue, with the user's part played through the
// toolkit's input: a missing pin of a placed connector, a new instance from
// the catalogue tree, cancelled dialogs, the question and the notice.
#include <chrono>
#include <cstring>

#include <zrui/testing.h>

#include "command_fixture.h"
#include "dialogs/Resource.h"

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

using Kind = CFxFunctionInterface::CallResult::Kind;
using Strings = std::vector<std::string>;

class SelectionCommands : public zrtest::CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    env->host().script().setString("*NORMA_UTILIZADA*", "IEC");
    env->host().script().defineFunction("buscaProximaRelAuto", [this](const resbuf* args) {
      asked.push_back(chainStrings(args));
      resbuf* r = fxNewNode(RTSTR);
      r->resval.rstring = fxNewString(OdString::fromUtf8(chainStrings(args).at(0) + "7"));
      return r;
    });
  }
  Strings list(const CFxFunctionInterface::CallResult& r) {
    Strings out = chainStrings(r.list);
    fxReleaseChain(r.list);
    return out;
  }
  static HWND item(HWND page, int id) { return ::GetDlgItem(page, id); }
  // The page (child dialog) of the selection dialog that holds a visible control id.
  static HWND visiblePage(HWND dialog) {
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
      if (::IsWindowVisible(c) && ::GetDlgItem(c, IDC_SEL_OK)) return c;
    return nullptr;
  }
  static HTREEITEM next(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  }
  static HTREEITEM findItem(HWND tree, HTREEITEM parent, const std::u16string& text) {
    HTREEITEM it = parent ? next(tree, parent, TVGN_CHILD) : next(tree, nullptr, TVGN_ROOT);
    for (; it; it = next(tree, it, TVGN_NEXT)) {
      char16_t buf[256] = {};
      TVITEMW tv;
      tv.mask = TVIF_TEXT;
      tv.hItem = it;
      tv.pszText = buf;
      tv.cchTextMax = 256;
      ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
      if (text == buf) return it;
    }
    return nullptr;
  }
  static void clickItem(HWND tree, HTREEITEM item) {
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    RECT r{};
    std::memcpy(static_cast<void*>(&r), &item, sizeof item);
    ASSERT_TRUE(::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    ASSERT_TRUE(zrui::ClickAt(tree, POINT{r.left + 2, (r.top + r.bottom) / 2}));
  }
  static void clickTab(HWND dialog, int tab) {
    HWND tabs = ::GetDlgItem(dialog, IDC_SEL_TAB);
    RECT r;
    ASSERT_TRUE(::SendMessageW(tabs, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&r)));
    ASSERT_TRUE(zrui::ClickAt(tabs, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  }

  std::vector<Strings> asked;
};

TEST_F(SelectionCommands, WithoutAStringFirstTheHostGetsNoResult) {
  EXPECT_EQ(call("SelecaoConector").kind, Kind::kNone);
  resbuf* number = fxNewNode(RTSHORT);
  number->resval.rint = 3;
  number->rbnext = fxNewNode(RTSTR);
  number->rbnext->resval.rstring = fxNewString(OdString(u"M12"));
  EXPECT_EQ(doc->GetFunctionInterface()->CallFunction(OdString(u"SelecaoConector"), number).kind, Kind::kNone);
  fxReleaseChain(number);
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(zrui::PendingModalScripts(), 0u);
}

TEST_F(SelectionCommands, AMissingPinOfAPlacedConnectorIsChosen) {
  pin("X1", "AM04M", "1", 0, 0);
  zrui::OnNextModal([&](HWND dialog) {
    HWND page = visiblePage(dialog);
    ASSERT_NE(page, nullptr);
    HWND tree = item(page, IDC_SEL_ARVORE);
    HTREEITEM x1 = findItem(tree, nullptr, u"X1");
    ASSERT_NE(x1, nullptr);
    ASSERT_NE(findItem(tree, x1, u"2"), nullptr);
    EXPECT_EQ(findItem(tree, x1, u"1"), nullptr) << "pin 1 is placed";
    clickItem(tree, findItem(tree, x1, u"3"));
    ASSERT_TRUE(zrui::Click(item(page, IDC_SEL_OK)));
  });
  auto r = call("SelecaoConector", {"M12"});
  ASSERT_EQ(r.kind, Kind::kList);
  EXPECT_EQ(list(r), (Strings{"X1", "AM04M", "3", "AM04M"}));
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(SelectionCommands, ASecondArgumentThatIsNoStringIsIgnored) {
  pin("X1", "AM04M", "1", 0, 0);
  resbuf* args = stringChain({"M12"});
  args->rbnext = fxNewNode(RTREAL);
  args->rbnext->resval.rreal = 2.0;
  zrui::OnNextModal([&](HWND dialog) {
    HWND tree = item(visiblePage(dialog), IDC_SEL_ARVORE);
    EXPECT_NE(findItem(tree, nullptr, u"X1"), nullptr) << "the dialog over the pin code M12";
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(doc->GetFunctionInterface()->CallFunction(OdString(u"SelecaoConector"), args).kind, Kind::kNil);
  fxReleaseChain(args);
}

TEST_F(SelectionCommands, ANewInstanceFromTheCatalogueWithTheProposedName) {
  zrui::OnNextModal([&](HWND dialog) {
    clickTab(dialog, 1);
    HWND page = visiblePage(dialog);
    ASSERT_NE(page, nullptr);
    HWND tree = item(page, IDC_SEL_ARVORE);
    ASSERT_TRUE(zrui::PumpUntil([&] { return ::IsWindowEnabled(page) && next(tree, nullptr, TVGN_ROOT); }, 20s));
    // Conectores > Circulares > Circulares industriais M12 > the 4-way plug.
    HTREEITEM level = nullptr;
    for (const char16_t* name : {u"Conectores", u"Circulares", u"Circulares industriais M12"}) {
      level = findItem(tree, level, name);
      ASSERT_NE(level, nullptr) << CString(name).ToUtf8();
      clickItem(tree, level);
    }
    EXPECT_EQ(findItem(tree, level, u"Adaptador M12 4 vias para painel"), nullptr) << "no connector drawing";
    HTREEITEM plug = findItem(tree, level, u"Circular M12 4 vias macho (plugue)");
    ASSERT_NE(plug, nullptr);
    clickItem(tree, plug);
    ASSERT_TRUE(zrui::ChooseComboItem(item(page, IDC_SEL_NOME), 1));
    ASSERT_TRUE(zrui::ChooseComboItem(item(page, IDC_SEL_PINO), 1));
    ASSERT_TRUE(zrui::Click(item(page, IDC_SEL_OK)));
  });
  auto r = call("SelecaoConector", {"M16"});
  ASSERT_EQ(r.kind, Kind::kList);
  EXPECT_EQ(list(r), (Strings{"XC7", "CI04M", "2", "S"}));
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back(), Strings{"XC"}) << "the component's ZR_KEY_TAG for the standard in use";
  EXPECT_TRUE(boxes.shown().empty()) << boxTexts().front();
}

TEST_F(SelectionCommands, TheMatingPinOfAConnectorIsAskedForAndChosen) {
  pin("X1", "AM04M", "1", 0, 0);
  pin("J1", "CI04F", "1", 50, 0);
  boxes.answer(IDYES);
  zrui::OnNextModal([&](HWND dialog) {
    HWND tree = item(visiblePage(dialog), IDC_SEL_ARVORE);
    EXPECT_EQ(findItem(tree, nullptr, u"J1"), nullptr) << "CI04F does not mate with itself";
    HTREEITEM x1 = findItem(tree, nullptr, u"X1");
    ASSERT_NE(x1, nullptr);
    clickItem(tree, findItem(tree, x1, u"4"));
    ASSERT_TRUE(zrui::Click(item(visiblePage(dialog), IDC_SEL_OK)));
  });
  auto r = call("PerguntaInserirPinoConectado", {"A", "CI04F"});
  ASSERT_EQ(r.kind, Kind::kList);
  EXPECT_EQ(list(r), (Strings{"X1", "AM04M", "4", "M12"}));
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxTexts()[0], "Deseja inserir também o pino conectado a este, em um conector de contrapeça?");
  EXPECT_EQ(boxes.shown()[0].buttons(), MB_YESNO);
}

TEST_F(SelectionCommands, NoAndEmptyArgumentsGiveNil) {
  boxes.answer(IDNO);
  EXPECT_EQ(call("PerguntaInserirPinoConectado", {"A", "CI04F"}).kind, Kind::kNil);
  EXPECT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(call("PerguntaInserirPinoConectado", {"", "CI04F"}).kind, Kind::kNil);
  EXPECT_EQ(call("PerguntaInserirPinoConectado", {"A"}).kind, Kind::kNil);
  EXPECT_EQ(call("PerguntaInserirPinoConectado").kind, Kind::kNil);
  EXPECT_EQ(boxes.shown().size(), 1u) << "no question without both arguments";
}

TEST_F(SelectionCommands, AConnectorWithoutMatingPartsGetsTheNotice) {
  boxes.answer(IDYES);
  EXPECT_EQ(call("PerguntaInserirPinoConectado", {"A", "REL001"}).kind, Kind::kNil);
  EXPECT_EQ(boxTexts(), (Strings{"Deseja inserir também o pino conectado a este, em um conector de contrapeça?",
                                 "Nenhum pino de contrapeça foi encontrado no catálogo para este conector."}));
  EXPECT_EQ(boxes.shown()[1].buttons(), MB_OK);
}

TEST_F(SelectionCommands, CancelledDialogsYieldNil) {
  boxes.answer(IDYES);
  zrui::OnNextModal([](HWND dialog) { zrui::CloseByTitleBar(dialog); });
  EXPECT_EQ(call("PerguntaInserirPinoConectado", {"A", "CI04F"}).kind, Kind::kNil);
  zrui::OnNextModal([](HWND dialog) {
    ASSERT_TRUE(zrui::Click(::GetDlgItem(visiblePage(dialog), IDC_SEL_CANCELAR)));
  });
  EXPECT_EQ(call("SelecaoConector", {"M12", "CI04F"}).kind, Kind::kNil);
}

}  // namespace
