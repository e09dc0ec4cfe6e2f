// The connectors screen on drawings built in the test, with a catalogue in
// memory, driven as a user would: clicks on the lists, in-place edits in the
// property grid, apply, and the title-bar close.
#include <gtest/gtest.h>

#include <zrui/afx.h>
#include <zrui/metrics.h>

#include <map>
#include <set>

#include "../drawing/fake_catalogue.h"
#include "zrdwg/OdDbBlockReference.h"
#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditMessages.h"
#include "dialogs/CITelaConectores.h"
#include "dialogs/TelaConectoresResources.h"
#include "dialogs/Resource.h"
#include "drawing_builder.h"
#include "fake_host.h"

using namespace testing_support;

// Failures print the texts.
void PrintTo(const CString& s, std::ostream* os) { *os << '"' << s.ToUtf8() << '"'; }

namespace {

// Texts "T<code>"; text 40 is a format with one string.
class FakeScreenCatalogue : public zr::ScreenCatalogue {
 public:
  CString Texto(int code) override {
    CString t;
    if (code == 40) t = u"ligado a %s";
    else t.Format(u"T%d", code);
    return t;
  }
  CString KeyTag(const CString& componente, const CString&) override { return componente + u"-TAG"; }
  CString DwgComponente(const CString& componente, const CString&) override { return dwg[componente.ToUtf8()]; }
  CString DescricaoMenu(const CString& menu) override { return descricao[menu.ToUtf8()]; }
  zr::PinCatalogue& Pinos() override { return pinos; }

  std::map<std::string, CString> dwg, descricao;
  FakeCatalogue pinos;
};

CString ItemText(HWND list, int item, int sub = 0) {
  char16_t buf[256] = {};
  LVITEMW it;
  it.iSubItem = sub;
  it.pszText = buf;
  it.cchTextMax = 256;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
  return CString(buf);
}

int ItemCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

bool ClickItem(HWND list, int item) {
  RECT r;
  r.left = LVIR_BOUNDS;
  if (!::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r))) return false;
  return zrui::ClickAt(list, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

class Tela : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ListView::RegisterMessages();
    zr::RegisterTelaConectoresResources();
    zrui::SetModalIdleTimeout(std::chrono::seconds(5));
  }
  void SetUp() override {
    db = OdDbDatabase::createNew();
    host.open(db);
    catalogo.pinos.pins("AM04M", {{"k1", "1", "P1"}, {"k2", "2", "P2"}, {"k3", "3", "P3"}, {"k4", "4", "P4"}});
    host.script().defineFunction("buscaProximaRelAuto", [this](const resbuf* args) {
      proposalAsks.push_back(chainStrings(args));
      return stringChain({"X9"});
    });
    host.script().defineFunction("atualizarMacros", [this](const resbuf* args) {
      std::vector<std::string> names;
      for (const resbuf* rb = args; rb; rb = rb->rbnext)
        if (rb->restype == RTENAME) macros.push_back(CFxAPI::GetObjectId(rb->resval.rlname));
      ++macroCalls;
      return nullptr;
    });
  }
  void TearDown() override { tela.reset(); }

  // Placed pins lie away from the origin, where the pins without a symbol are.
  void Open() {
    tela = std::make_unique<CITelaConectores>(nullptr, &catalogo);
    ASSERT_TRUE(tela->Create(IDD_TELA_CONECTORES));
    tela->ShowWindow(SW_SHOW);
    zrui::Pump();
  }
  HWND Item(int id) const { return ::GetDlgItem(tela->m_hWnd, id); }
  ListView::CIListViewEdit& Grade() {
    return *dynamic_cast<ListView::CIListViewEdit*>(CWnd::FromHandlePermanent(Item(IDC_LST_PROPRIEDADES)));
  }
  CString Grid(int row, int col) { return Grade().GetItemText(row, col); }
  bool ApplyEnabled() const { return ::IsWindowEnabled(Item(IDC_BT_APLICAR)); }
  CString StateText() const {
    CString t;
    CWnd::FromHandle(Item(IDC_LBL_ESTADO))->GetWindowText(t);
    return t;
  }
  // Opens the grid's editor on row 0's value, replaces its text and leaves it.
  void TypeName(const std::u16string& name) {
    CRect r;
    Grade().GetSubItemRect(0, 1, LVIR_LABEL, r);
    ASSERT_TRUE(zrui::ClickAt(Grade().m_hWnd, r.CenterPoint()));
    zrui::Keys ctrl;
    ctrl.control = true;
    zrui::PressKey('A', ctrl);
    zrui::Type(name);
    zrui::FocusByClick(Item(IDC_LST_RESUMO));
  }
  std::string Xdata(OdDbObjectId id, int n) {
    OdDbObjectPtr o = id.openObject();
    OdResBufPtr xd = o->xData(OdString(u"ZR_PINO"));
    OdResBuf* rb = xd.get();
    for (int i = 0; i < n && rb; ++i) rb = rb->next().get();
    return rb ? rb->getString().toUtf8() : "";
  }
  std::string Attribute(OdDbObjectId ref, const std::string& tag) {
    OdDbBlockReferencePtr r = ref.openObject();
    for (OdDbObjectIteratorPtr it = r->attributeIterator(); !it->done(); it->step()) {
      OdDbAttributePtr a = it->entity();
      if (a->tag().toUtf8() == tag) return a->textString().toUtf8();
    }
    return "";
  }

  FakeHost host;
  OdDbDatabasePtr db;
  FakeScreenCatalogue catalogo;
  std::unique_ptr<CITelaConectores> tela;
  std::vector<std::vector<std::string>> proposalAsks;
  std::vector<OdDbObjectId> macros;
  int macroCalls = 0;
};

TEST_F(Tela, ADrawingWithoutPinSymbolsShowsEmptyListsAndFourZeros) {
  Open();
  EXPECT_EQ(ItemCount(Item(IDC_LST_CONECTORES)), 0);
  EXPECT_EQ(ItemCount(Item(IDC_LST_PINOS)), 0);
  HWND resumo = Item(IDC_LST_RESUMO);
  ASSERT_EQ(ItemCount(resumo), 4);
  for (int r = 0; r < 4; ++r) {
    CString label;
    label.Format(u"T%d", 18 + r);
    EXPECT_EQ(ItemText(resumo, r, 0), label);
    EXPECT_EQ(ItemText(resumo, r, 1), u"0");
  }
  CString caption;
  tela->GetWindowText(caption);
  EXPECT_EQ(caption, u"T1");
  EXPECT_FALSE(ApplyEnabled());
}

TEST_F(Tela, ConnectorsPinsAndCountsAreListedWithTheirLights) {
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  addPin(*db, "PIN-A", "X1", "AM04M", "2", 110, 100, "S");
  addPin(*db, "PIN-A", "X2", "AM04M", "9", 120, 100, "N");  // unknown pin
  Open();
  HWND conectores = Item(IDC_LST_CONECTORES);
  ASSERT_EQ(ItemCount(conectores), 2);
  EXPECT_EQ(ItemText(conectores, 0), u"X1");
  HWND resumo = Item(IDC_LST_RESUMO);
  EXPECT_EQ(ItemText(resumo, 0, 1), u"2");   // records
  EXPECT_EQ(ItemText(resumo, 1, 1), u"9");   // 4 + 5 pins
  EXPECT_EQ(ItemText(resumo, 2, 1), u"2");   // X2 in state 1, its pin 9
  EXPECT_EQ(ItemText(resumo, 3, 1), u"6");   // missing: 3, 4 of X1; 1-4 of X2

  ASSERT_TRUE(ClickItem(conectores, 0));
  HWND pinos = Item(IDC_LST_PINOS);
  ASSERT_EQ(ItemCount(pinos), 4);
  EXPECT_EQ(ItemText(pinos, 0), u"1");
  EXPECT_EQ(StateText(), u"T24");
  ASSERT_TRUE(ClickItem(conectores, 1));
  EXPECT_EQ(StateText(), u"T25");
  // The summary cannot be selected.
  ASSERT_TRUE(ClickItem(resumo, 1));
  EXPECT_EQ(::SendMessageW(resumo, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
}

TEST_F(Tela, AConnectorWithoutCatalogueRowsShowsTheNameRowThenTheConnectionRow) {
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  ASSERT_EQ(Grade().GetItemCount(), 2);
  EXPECT_EQ(Grid(0, 0), u"T22");
  EXPECT_EQ(Grid(0, 1), u"X1");
  EXPECT_EQ(Grade().GetCellKey(0, 1), u"AM04M");
  EXPECT_EQ(Grade().GetCellKind(0, 1), ListView::kListaEditavel) << "flag S: the name with text 44";
  EXPECT_EQ(Grid(1, 0), u"T39");
  EXPECT_EQ(Grid(1, 1), u"T41");
  EXPECT_TRUE(proposalAsks.empty()) << "a named connector asks for no proposal";

  catalogo.dwg["AM04M"] = u"  conector4  ";
  catalogo.descricao["AM04M"] = u"Conector de 4 pinos";
  // Back to the connector list: it shows its selected connector again.
  ASSERT_TRUE(ClickItem(Item(IDC_LST_PINOS), 0));
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  ASSERT_EQ(Grade().GetItemCount(), 4);
  EXPECT_EQ(Grid(1, 0), u"T42");
  EXPECT_EQ(Grid(1, 1), u"conector4");
  EXPECT_EQ(Grid(2, 1), u"Conector de 4 pinos");
  EXPECT_EQ(Grade().GetCellKey(2, 1), u"ID_INT_DESCR");
}

TEST_F(Tela, RenamingToTheProposalWritesSAndAnyOtherNameN) {
  OdDbObjectId a = addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "N");
  OdDbObjectId b = addPin(*db, "PIN-A", "X1", "AM04M", "2", 110, 100, "N");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  ASSERT_EQ(proposalAsks.size(), 1u);
  EXPECT_EQ(proposalAsks[0], (std::vector<std::string>{"AM04M-TAG"}));
  EXPECT_EQ(tela->GetNomeProposto(), u"X9");
  EXPECT_EQ(Grade().GetCellValue(0, 1, 0), u"X9");
  EXPECT_EQ(Grid(0, 1), u"X1") << "the current name is shown, the proposal offered";
  EXPECT_FALSE(ApplyEnabled());

  TypeName(u"X9");
  EXPECT_TRUE(ApplyEnabled());
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  EXPECT_EQ(Xdata(a, 1), "X9");
  EXPECT_EQ(Xdata(a, 3), "S");
  EXPECT_EQ(Xdata(b, 3), "S");
  EXPECT_EQ(Xdata(b, 2), "AM04M") << "the code stays";
  EXPECT_EQ(tela->GetPinosAlterados(), (std::vector<OdDbObjectId>{a, b}));
  // Shown again from the new records.
  EXPECT_EQ(ItemText(Item(IDC_LST_CONECTORES), 0), u"X9");
  EXPECT_EQ(Grid(0, 1), u"X9");

  TypeName(u"Y7");
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  EXPECT_EQ(Xdata(a, 1), "Y7");
  EXPECT_EQ(Xdata(a, 3), "N");
  EXPECT_EQ(Xdata(b, 3), "N");
}

TEST_F(Tela, TheNameOfAnotherConnectorDisablesApplyAndShowsTheTooltip) {
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  addPin(*db, "PIN-A", "X2", "AM04M", "1", 150, 100, "S");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  TypeName(u"Z1");
  EXPECT_TRUE(ApplyEnabled());
  TypeName(u"X2");
  EXPECT_FALSE(ApplyEnabled());
  zrui::TextGrid g = zrui::RenderWindow(tela->m_hWnd);
  EXPECT_NE(g.text().find(u"T30"), std::u16string::npos) << g.utf8();
  // Typing the former name back changes nothing: apply stays as it was.
  TypeName(u"X1");
  EXPECT_FALSE(ApplyEnabled());
  g = zrui::RenderWindow(tela->m_hWnd);
  EXPECT_EQ(g.text().find(u"T30"), std::u16string::npos) << "the start of the edit hid the tooltip";
}

TEST_F(Tela, AGreyPinShowsOneReadOnlyRowAndApplyWritesNothing) {
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  HWND pinos = Item(IDC_LST_PINOS);
  ASSERT_EQ(ItemText(pinos, 2), u"3");
  ASSERT_TRUE(ClickItem(pinos, 2));
  ASSERT_EQ(Grade().GetItemCount(), 1);
  EXPECT_EQ(Grid(0, 0), u"T23");
  EXPECT_EQ(Grid(0, 1), u"3");
  EXPECT_FALSE(Grade().IsCellEditable(0, 1));
  EXPECT_EQ(StateText(), u"T27");
  EXPECT_TRUE(ApplyEnabled());
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  EXPECT_TRUE(tela->GetPinosAlterados().empty());
  EXPECT_EQ(Grade().GetItemCount(), 0) << "nothing is shown again";
  EXPECT_EQ(ItemCount(Item(IDC_LST_CONECTORES)), 1);
}

// After an apply the pin list keeps the items it had; each shows its pin as
// the records built by that apply hold it. Clicking them used to read the
// records the apply had discarded.
TEST_F(Tela, APinClickedAfterApplyOnAGreyPinShowsThePinAsItStandsNow) {
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  OdDbObjectId dois = addPin(*db, "PIN-A", "X1", "AM04M", "2", 110, 100, "S");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  HWND pinos = Item(IDC_LST_PINOS);
  ASSERT_EQ(ItemText(pinos, 2), u"3");
  ASSERT_TRUE(ClickItem(pinos, 2));  // grey: no symbol
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  ASSERT_EQ(Grade().GetItemCount(), 0) << "nothing is shown again";
  ASSERT_EQ(ItemCount(pinos), 4) << "the pin list keeps its items";

  // Each pin of the list, clicked in turn: the grey ones by their one
  // read-only row, the placed ones by their symbol's attributes.
  const struct {
    int item;
    const char16_t* state;
    bool placed;
  } casos[] = {{3, u"T27", false}, {1, u"T26", true}, {2, u"T27", false}, {0, u"T26", true}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.item);
    ASSERT_TRUE(ClickItem(pinos, caso.item));
    EXPECT_EQ(StateText(), caso.state);
    EXPECT_TRUE(ApplyEnabled());
    if (caso.placed) {
      ASSERT_GT(Grade().GetItemCount(), 1);
      bool temId = false;
      for (int r = 0; r < Grade().GetItemCount(); ++r) temId |= Grade().GetCellKey(r, 1) == u"ID_PINO";
      EXPECT_TRUE(temId);
    } else {
      ASSERT_EQ(Grade().GetItemCount(), 1);
      EXPECT_EQ(Grid(0, 0), u"T23");
      EXPECT_EQ(Grid(0, 1), ItemText(pinos, caso.item));
    }
  }

  // The focus coming back to the list shows its selected pin again, also
  // after a second apply; the placed pin's edit still reaches its symbol.
  ASSERT_TRUE(ClickItem(pinos, 1));
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  zrui::FocusByClick(Item(IDC_LST_CONECTORES));
  zrui::FocusByClick(pinos);
  EXPECT_EQ(tela->GetPinosAlterados(), std::vector<OdDbObjectId>{dois});
  EXPECT_EQ(StateText(), u"T26");
}

// A pin whose connector an apply has removed shows nothing: the grid empty,
// no state text, apply disabled.
TEST_F(Tela, APinOfAConnectorGoneSinceTheApplyShowsNothing) {
  OdDbObjectId um = addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  addPin(*db, "PIN-A", "X2", "AM04M", "1", 200, 100, "S");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  HWND pinos = Item(IDC_LST_PINOS);
  ASSERT_TRUE(ClickItem(pinos, 3));  // grey
  {
    // The suite erases X1's one symbol while the screen is open.
    OdDbObjectPtr o = um.openObject(OdDb::kForWrite);
    o->erase();
  }
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  ASSERT_EQ(ItemCount(Item(IDC_LST_CONECTORES)), 1);
  ASSERT_EQ(ItemCount(pinos), 4);
  for (int item : {0, 3}) {
    SCOPED_TRACE(item);
    ASSERT_TRUE(ClickItem(pinos, item));
    EXPECT_EQ(Grade().GetItemCount(), 0);
    EXPECT_EQ(StateText(), u"");
    EXPECT_FALSE(ApplyEnabled());
  }
  // The remaining connector shows as before.
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  EXPECT_EQ(Grid(0, 1), u"X2");
}

TEST_F(Tela, APinsIdentifierListOffersTheUnplacedPinsAndItsOwn) {
  OdDbObjectId um = addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  addPin(*db, "PIN-A", "X1", "AM04M", "2", 110, 100, "S");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  ASSERT_TRUE(ClickItem(Item(IDC_LST_PINOS), 0));
  EXPECT_EQ(StateText(), u"T26");
  int linha = -1;
  for (int r = 0; r < Grade().GetItemCount(); ++r)
    if (Grade().GetCellKey(r, 1) == u"ID_PINO") linha = r;
  ASSERT_GE(linha, 0);
  EXPECT_EQ(Grid(linha, 0), u"Pino") << "the prompt";
  EXPECT_EQ(Grade().GetCellKind(linha, 1), ListView::kLista);
  CStringList* ids = Grade().GetCellValues(linha, 1);
  std::vector<CString> v;
  for (POSITION p = ids->GetHeadPosition(); p;) v.push_back(ids->GetNext(p));
  EXPECT_EQ(v, (std::vector<CString>{u"1", u"3", u"4"}));
  EXPECT_EQ(Grade().GetCellIndex(linha, 1), 0);

  // Twice: the identifier becomes 3, then 4; the close hands the symbol over twice.
  for (const char16_t* novo : {u"3", u"4"}) {
    int entrada = -1;
    for (int r = 0; r < Grade().GetItemCount(); ++r)
      if (Grade().GetCellKey(r, 1) == u"ID_PINO") linha = r;
    for (int i = 0; i < Grade().GetCellValues(linha, 1)->GetCount(); ++i)
      if (Grade().GetCellValue(linha, 1, i) == novo) entrada = i;
    ASSERT_GE(entrada, 0) << CString(novo).ToUtf8();
    CRect cell;
    Grade().GetSubItemRect(linha, 1, LVIR_LABEL, cell);
    ASSERT_TRUE(zrui::ClickAt(Grade().m_hWnd, cell.CenterPoint()));
    HWND lista = ::GetDlgItem(Grade().m_hWnd, 1020);
    ASSERT_NE(lista, nullptr);
    ASSERT_TRUE(zrui::ChooseComboItem(lista, entrada));
    zrui::FocusByClick(Item(IDC_LST_RESUMO));
    ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
    EXPECT_EQ(Attribute(um, "ID_PINO"), CString(novo).ToUtf8());
    EXPECT_EQ(Grid(linha, 1), novo) << "the pin is shown again under its new identifier";
  }
  zrui::CloseByTitleBar(tela->m_hWnd);
  EXPECT_EQ(macroCalls, 1);
  EXPECT_EQ(macros, (std::vector<OdDbObjectId>{um, um}));
}

TEST_F(Tela, CancelAndEscapeEndWithoutHandingOverTheChangedSymbols) {
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "N");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  TypeName(u"X9");
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  ASSERT_EQ(tela->GetPinosAlterados().size(), 1u);
  ASSERT_TRUE(zrui::Click(Item(IDCANCEL)));
  EXPECT_TRUE(zrui::IsDialogEnded(tela->m_hWnd));
  EXPECT_EQ(macroCalls, 0);

  // Escape, after another apply.
  tela.reset();
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  TypeName(u"X8");
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  zrui::FocusByClick(Item(IDC_LST_CONECTORES));
  zrui::PressKey(VK_ESCAPE);
  EXPECT_TRUE(zrui::IsDialogEnded(tela->m_hWnd));
  EXPECT_EQ(macroCalls, 0);
}

TEST_F(Tela, TheTitleBarCloseWithoutChangesCallsNothing) {
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  zrui::CloseByTitleBar(tela->m_hWnd);
  EXPECT_TRUE(zrui::IsDialogEnded(tela->m_hWnd));
  EXPECT_EQ(macroCalls, 0);
}

TEST_F(Tela, ASymbolErasedWhileTheScreenIsOpenIsPassedOverOnApply) {
  OdDbObjectId a = addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "N");
  OdDbObjectId b = addPin(*db, "PIN-A", "X1", "AM04M", "2", 110, 100, "N");
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  {
    OdDbObjectPtr o = a.openObject(OdDb::kForWrite);
    o->erase();
  }
  TypeName(u"Q5");
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  EXPECT_EQ(Xdata(b, 1), "Q5");
  EXPECT_EQ(ItemText(Item(IDC_LST_CONECTORES), 0), u"Q5");
}

// The screen as a person sees it on the terminal (the text metrics: every
// control on whole cells, frames inside their group boxes), a connector with
// a missing pin shown. The summary list shows all four counts.
TEST_F(Tela, TheScreenAsAPersonSeesIt) {
  zrui::ScopedMetricsProfile texto(zrui::MetricsProfile::Text);
  addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "N");
  addPin(*db, "PIN-A", "X1", "AM04M", "2", 110, 100, "N");
  addPin(*db, "PIN-A", "X1", "AM04M", "3", 120, 100, "N");
  addPin(*db, "PIN-A", "X2", "AM04M", "1", 200, 100, "S");
  catalogo.descricao["AM04M"] = u"Conector de 4 pinos";
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  zrui::TextGrid g = zrui::RenderWindow(tela->m_hWnd);
  const char16_t* const esperado =
      u"+- T1 -----------------------------------------------------------------------------------[x]+\n"
      u"|                                   + T4 -------------------------------------------------+ |\n"
      u"|  T2              T3               |                                                     | |\n"
      u"|  +-------------+ +--------------+ | +-------------------------------------------------+ | |\n"
      u"|  |\u25CF X1         | |\u25CF 1           | | |  T22                X1                          | | |\n"
      u"|  |\u25CF X2         | |\u25CF 2           | | |  T43                Conector de 4 pinos         | | |\n"
      u"|  |             | |\u25CF 3           | | |  T39                T41                         | | |\n"
      u"|  |             | |\u25CB 4           | | |                                                 | | |\n"
      u"|  |             | |              | | |                                                 | | |\n"
      u"|  |             | |              | | |                                                 | | |\n"
      u"|  |             | |              | | |                                                 | | |\n"
      u"|  |             | |              | | |                                                 | | |\n"
      u"|  |             | |              | | |                                                 | | |\n"
      u"|  |             | |              | | |                                                 | | |\n"
      u"|  |             | |              | | +-------------------------------------------------+ | |\n"
      u"|  |             | |              | | \u25CF  T24                                              | |\n"
      u"|  |             | |              | |                                        [    T9    ] | |\n"
      u"|  |             | |              | |                                                     | |\n"
      u"|  |             | |              | +-----------------------------------------------------+ |\n"
      u"|  |             | |              | + T6 -------------------------------------------------+ |\n"
      u"|  |             | |              | | +-------------------------------------------------+ | |\n"
      u"|  |             | |              | | |T18                          2                   | | |\n"
      u"|  |             | |              | | |T19                          8                   | | |\n"
      u"|  |             | |              | | |T20                          0                   | | |\n"
      u"|  |             | |              | | |T21                          4                   | | |\n"
      u"|  |             | |              | | +-------------------------------------------------+ | |\n"
      u"|  +-------------+ +--------------+ +-----------------------------------------------------+ |\n"
      u"|                                                                                           |\n"
      u"|                                                               [    T8     ] [    T7    ]  |\n"
      u"|                                                                                           |\n"
      u"|                                                                                           |\n"
      u"+-------------------------------------------------------------------------------------------+";
  EXPECT_EQ(g.text(), esperado) << g.utf8();
  // The lights: green for placed pins and a connector without problems,
  // grey for the missing pin.
  auto luz = [](HWND list, int item) {
    LVITEMW it;
    it.mask = LVIF_IMAGE;
    it.iItem = item;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    return it.iImage;
  };
  EXPECT_EQ(luz(Item(IDC_LST_CONECTORES), 0), 0);
  EXPECT_EQ(luz(Item(IDC_LST_PINOS), 0), 0);
  EXPECT_EQ(luz(Item(IDC_LST_PINOS), 3), 3);
}

// The drawing written before and after the edits differs in exactly the
// edited values, and reads back with them.
TEST_F(Tela, TheSavedDrawingDiffersInExactlyTheEditedValues) {
  OdDbObjectId a = addPin(*db, "PIN-A", "X1", "AM04M", "1", 100, 100, "S");
  addPin(*db, "PIN-A", "X1", "AM04M", "2", 110, 100, "S");
  addPin(*db, "PIN-A", "X2", "AM04M", "1", 200, 100, "S");
  const std::string antes = db->dxfText();
  Open();
  ASSERT_TRUE(ClickItem(Item(IDC_LST_CONECTORES), 0));
  TypeName(u"K3");
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  ASSERT_TRUE(ClickItem(Item(IDC_LST_PINOS), 0));  // pin 1 of K3
  int linha = -1;
  for (int r = 0; r < Grade().GetItemCount(); ++r)
    if (Grade().GetCellKey(r, 1) == u"ID_PINO") linha = r;
  ASSERT_GE(linha, 0);
  CRect cell;
  Grade().GetSubItemRect(linha, 1, LVIR_LABEL, cell);
  ASSERT_TRUE(zrui::ClickAt(Grade().m_hWnd, cell.CenterPoint()));
  ASSERT_TRUE(zrui::ChooseComboItem(::GetDlgItem(Grade().m_hWnd, 1020), 1));  // "3"
  zrui::FocusByClick(Item(IDC_LST_RESUMO));
  ASSERT_TRUE(zrui::Click(Item(IDC_BT_APLICAR)));
  const std::string depois = db->dxfText();

  auto linhas = [](const std::string& t) {
    std::vector<std::string> v;
    size_t i = 0;
    while (i < t.size()) {
      size_t j = t.find('\n', i);
      if (j == std::string::npos) j = t.size();
      v.push_back(t.substr(i, j - i));
      i = j + 1;
    }
    return v;
  };
  std::vector<std::string> l1 = linhas(antes), l2 = linhas(depois);
  ASSERT_EQ(l1.size(), l2.size());
  std::multiset<std::pair<std::string, std::string>> mudancas;
  for (size_t i = 0; i < l1.size(); ++i)
    if (l1[i] != l2[i]) mudancas.insert({l1[i], l2[i]});
  // Both symbols of X1 renamed (flag stays S: not the proposal, but the
  // record's flag is cleared, so "N"), and pin 1's identifier.
  const std::multiset<std::pair<std::string, std::string>> esperado = {
      {"X1", "K3"}, {"X1", "K3"}, {"S", "N"}, {"S", "N"}, {"1", "3"}};
  EXPECT_EQ(mudancas, esperado);

  OdDbDatabasePtr relido = OdDbDatabase::readDxfText(depois, OdString(u"relido.dxf"));
  OdDbObjectId mesmo = relido->getOdDbObjectId(a.getHandle());
  EXPECT_EQ(Attribute(mesmo, "ID_PINO"), "3");
  EXPECT_EQ(Xdata(mesmo, 1), "K3");
}

}  // namespace
