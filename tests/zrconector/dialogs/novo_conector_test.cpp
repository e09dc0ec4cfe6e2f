// CINovoConector as a user drives it: the proposal, typing, choosing from the
// combo, Enter, Escape, the title-bar close and resizing, with the names in
// use refused and the texts taken from the texts service.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <string>

#include "dialogs/CINovoConector.h"
#include "dialogs/NovoConectorResources.h"
#include "dialogs/Resource.h"
#include "program_environment.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

namespace {

CStringList* Names(std::initializer_list<const char16_t*> names) {
  auto* list = new CStringList(10);
  for (const char16_t* n : names) list->AddTail(CString(n));
  return list;
}

std::u16string Text(HWND h) { return GetWindowTextString(h); }

class NovoConectorDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    zr::RegisterNovoConectorResources();
    zrui::SetModalIdleTimeout(std::chrono::seconds(5));
  }
  void TearDown() override {
    zrui::ClearModalScripts();
    CoUninitialize();
  }

  // Runs the dialog with a proposal and names in use (null: none handed
  // over); `user` acts inside the modal loop.
  INT_PTR Run(const char16_t* proposal, CStringList* inUse, zrui::ModalScript user) {
    dialog = std::make_unique<CINovoConector>(CString(proposal));
    if (inUse) dialog->SetNomesEmUso(inUse);
    zrui::OnNextModal([&, user](HWND dlg) {
      this->dlg = dlg;
      combo = GetDlgItem(dlg, IDC_NOVO_CONECTOR_NOME);
      ok = GetDlgItem(dlg, IDOK);
      user(dlg);
    });
    return dialog->DoModal();
  }

  // The combo's entries as "text|second text".
  std::vector<std::u16string> Entries() {
    std::vector<std::u16string> out;
    int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      std::u16string text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), u' ');
      SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      auto* second = reinterpret_cast<CString*>(SendMessageW(combo, CB_GETITEMDATA, i, 0));
      out.push_back(text + u"|" + (second ? second->str() : u"<none>"));
    }
    return out;
  }

  // The dialog as the user sees it, and where text starts in it (-1: absent).
  zrui::TextGrid Screen() { return zrui::RenderWindow(dlg); }
  static std::pair<int, int> Find(const zrui::TextGrid& grid, const std::u16string& text) {
    for (int row = 0; row < grid.height(); ++row) {
      size_t col = grid.line(row).find(text);
      if (col != std::u16string::npos) return {static_cast<int>(col), row};
    }
    return {-1, -1};
  }
  bool TooltipShown() { return Find(Screen(), kInUse).first >= 0; }

  // The start of text 30 as shipped.
  static constexpr const char16_t* kInUse = u"Este nome já está em uso";
  zrtest::ProgramEnvironment env{"zrnovo-test"};
  std::unique_ptr<CINovoConector> dialog;
  HWND dlg = nullptr, combo = nullptr, ok = nullptr;
};

TEST_F(NovoConectorDialog, AcceptingAFreeProposalWithEnterReturnsItAsAutomatic) {
  INT_PTR result = Run(u"X3", Names({u"X1", u"X2"}), [&](HWND) {
    EXPECT_EQ(Text(combo), u"X3");
    EXPECT_TRUE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"X3|(nome sugerido)"}));
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog->GetNome(), u"X3");
  EXPECT_TRUE(dialog->IsNomeAutomatico());
}

TEST_F(NovoConectorDialog, AProposalInUseKeepsOkDisabledAndShowsTheTooltipAtOnce) {
  INT_PTR result = Run(u"X1", Names({u"X1", u"X2"}), [&](HWND) {
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_TRUE(TooltipShown()) << Screen().utf8();
    // Asked for at the combo's left edge + 10 pixels and its top edge, it
    // shows just below the combo, never over the name: from that column, or
    // further left so as to stay inside the dialog (from its left edge when
    // it is wider).
    RECT cr, tr;
    GetWindowRect(combo, &cr);
    HWND over = WindowFromPoint(POINT{cr.left + 10, cr.top});
    EXPECT_TRUE(over == combo || GetParent(over) == combo);
    HWND tip = WindowFromPoint(POINT{cr.left + 10, cr.bottom});
    ASSERT_NE(tip, combo);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), dlg);
    GetWindowRect(tip, &tr);
    RECT inside;
    GetClientRect(dlg, &inside);
    MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    EXPECT_EQ(tr.left, std::max(inside.left, std::min(cr.left + 10, inside.right - (tr.right - tr.left))));
    EXPECT_EQ(tr.top, cr.bottom);
    zrui::PressKey(VK_RETURN);  // nothing while OK is disabled
    EXPECT_FALSE(zrui::Click(ok));
    EXPECT_FALSE(zrui::IsDialogEnded(dlg));
    zrui::Type(u"X7");
    EXPECT_TRUE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog->GetNome(), u"X7");
  EXPECT_FALSE(dialog->IsNomeAutomatico());
}

TEST_F(NovoConectorDialog, AnEmptyProposalKeepsOkDisabledUntilSomethingIsTyped) {
  INT_PTR result = Run(u"", Names({u"X1"}), [&](HWND) {
    EXPECT_EQ(Text(combo), u"");
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    EXPECT_TRUE(Entries().empty());
    zrui::PressKey(VK_RETURN);
    EXPECT_FALSE(zrui::IsDialogEnded(dlg));
    zrui::Type(u"J");
    EXPECT_TRUE(IsWindowEnabled(ok));
    EXPECT_TRUE(Entries().empty()) << "without a proposal there is nothing to list";
    EXPECT_TRUE(zrui::Click(ok));
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog->GetNome(), u"J");
  EXPECT_FALSE(dialog->IsNomeAutomatico()) << "an empty proposal is never the name";
}

TEST_F(NovoConectorDialog, NamesAreComparedWithTheirCase) {
  // A name in use in another case is free; the proposal in another case is
  // not the proposal.
  INT_PTR result = Run(u"X3", Names({u"X1"}), [&](HWND) {
    zrui::Type(u"x1");
    EXPECT_TRUE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
    zrui::Type(u"x3");
    EXPECT_TRUE(IsWindowEnabled(ok));
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog->GetNome(), u"x3");
  EXPECT_FALSE(dialog->IsNomeAutomatico());
}

TEST_F(NovoConectorDialog, EveryEditIsCheckedAndClearingTheNameDisablesOk) {
  Run(u"X3", Names({u"X1", u"X12"}), [&](HWND) {
    zrui::Type(u"X1");
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_TRUE(TooltipShown());
    zrui::Type(u"1");  // "X11" is free
    EXPECT_TRUE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    zrui::PressKey(VK_BACK);  // back to "X1"
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_TRUE(TooltipShown());
    zrui::PressKey(VK_BACK);
    zrui::PressKey(VK_BACK);
    EXPECT_EQ(Text(combo), u"");
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(NovoConectorDialog, TheListHoldsWhatWasTypedAndTheProposal) {
  INT_PTR result = Run(u"X3", Names({u"X1"}), [&](HWND) {
    zrui::Type(u"X8");
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"X8|", u"X3|(nome sugerido)"}));
    zrui::Type(u"0");
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"X80|", u"X3|(nome sugerido)"}));
    zrui::PressKey(VK_BACK);
    zrui::PressKey(VK_BACK);
    zrui::PressKey(VK_BACK);
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"X|", u"X3|(nome sugerido)"}));
    // An empty text leaves the typed entry as it was.
    zrui::PressKey(VK_BACK);
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"X|", u"X3|(nome sugerido)"}));
    // The dropped list shows the proposal's mark beside it.
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    zrui::TextGrid grid = Screen();
    auto [col, row] = Find(grid, u"(nome sugerido)");
    ASSERT_GE(row, 0) << grid.utf8();
    EXPECT_NE(grid.line(row).find(u"X3"), std::u16string::npos) << grid.utf8();
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    zrui::Type(u"X1");
    EXPECT_FALSE(IsWindowEnabled(ok));
    // Choosing the proposal from the list makes it the name again.
    ASSERT_TRUE(zrui::ChooseComboItem(combo, 1));
    EXPECT_EQ(Text(combo), u"X3");
    EXPECT_TRUE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog->GetNome(), u"X3");
  EXPECT_TRUE(dialog->IsNomeAutomatico());
}

TEST_F(NovoConectorDialog, ChoosingANameInUseFromTheListIsRefused) {
  INT_PTR result = Run(u"X3", Names({u"X9"}), [&](HWND) {
    zrui::Type(u"X9");
    zrui::Type(u"5");
    ASSERT_TRUE(zrui::ChooseComboItem(combo, 1));
    EXPECT_TRUE(IsWindowEnabled(ok));
    SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
    zrui::Type(u"X9");
    ASSERT_TRUE(zrui::ChooseComboItem(combo, 0));
    EXPECT_EQ(Text(combo), u"X9");
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_TRUE(TooltipShown());
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(result, IDCANCEL);
}

// The tip for a name in use stays clear of the name's list: below it while
// it is dropped, back below the combo once it closes, inside the dialog.
TEST_F(NovoConectorDialog, TheTipForANameInUseStaysClearOfTheDroppedList) {
  Run(u"X3", Names({u"X1"}), [&](HWND) {
    zrui::Type(u"X1");
    ASSERT_TRUE(TooltipShown());
    RECT field, tip, inside, dropped;
    GetWindowRect(combo, &field);
    HWND tipWindow = WindowFromPoint(POINT{field.left + 10, field.bottom});
    ASSERT_EQ(GetWindow(tipWindow, GW_OWNER), dlg);
    GetClientRect(dlg, &inside);
    MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    GetWindowRect(tipWindow, &tip);
    EXPECT_EQ(tip.top, field.bottom);
    // Inside the dialog's frame, or from its left edge when wider.
    EXPECT_TRUE(tip.right <= inside.right || tip.left == inside.left) << Screen().utf8();
    EXPECT_GE(tip.left, inside.left);
    zrui::PressKey(VK_F4);
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)));
    GetWindowRect(tipWindow, &tip);
    EXPECT_EQ(tip.top, dropped.bottom) << Screen().utf8();
    EXPECT_TRUE(TooltipShown());
    zrui::PressKey(VK_F4);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    GetWindowRect(tipWindow, &tip);
    EXPECT_EQ(tip.top, field.bottom);
    EXPECT_FALSE(IsWindowEnabled(ok));
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(NovoConectorDialog, EscapeAndTheTitleBarCloseCancel) {
  EXPECT_EQ(Run(u"X3", Names({}), [&](HWND) { zrui::PressKey(VK_ESCAPE); }), IDCANCEL);
  EXPECT_EQ(Run(u"X3", Names({}), [&](HWND d) { zrui::CloseByTitleBar(d); }), IDCANCEL);
}

TEST_F(NovoConectorDialog, ResizingHidesTheTooltipAndActivationChecksAgain) {
  Run(u"X1", Names({u"X1"}), [&](HWND) {
    ASSERT_TRUE(TooltipShown());
    RECT r;
    GetWindowRect(dlg, &r);
    ASSERT_TRUE(zrui::DragResize(dlg, WMSZ_BOTTOMRIGHT, r.right - r.left + 70, r.bottom - r.top + 26));
    EXPECT_FALSE(TooltipShown());
    EXPECT_FALSE(IsWindowEnabled(ok));
    // The user turns to another window: deactivation checks the name.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, u"Static", u"", WS_POPUP | WS_VISIBLE, CRect(400, 400, 500, 450), nullptr, 0));
    zrui::FocusByClick(other.m_hWnd);
    EXPECT_TRUE(TooltipShown());
    zrui::DragResize(dlg, WMSZ_RIGHT, r.right - r.left, r.bottom - r.top);
    EXPECT_FALSE(TooltipShown());
    // And back: activation checks it again.
    zrui::FocusByClick(combo);
    EXPECT_TRUE(TooltipShown());
    other.DestroyWindow();
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(NovoConectorDialog, WithoutNamesInUseOkKeepsItsState) {
  Run(u"X3", nullptr, [&](HWND) {
    EXPECT_FALSE(IsWindowEnabled(ok)) << "created disabled, and nothing to check against";
    zrui::Type(u"X4");
    EXPECT_FALSE(IsWindowEnabled(ok));
    EXPECT_FALSE(TooltipShown());
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(NovoConectorDialog, CaptionsComeFromTheirTextCodes) {
  std::ofstream(env.settingsFolder() / "textos.ini") << "[ZRCONECTOR]\n"
                                                        "16 = Aceitar\n17 = Desistir\n30 = Ocupado\n"
                                                        "33 = Titulo\n34 = Rotulo\n44 = sugestao\n";
  Run(u"X1", Names({u"X1"}), [&](HWND) {
    EXPECT_EQ(Text(dlg), u"Titulo");
    EXPECT_EQ(Text(GetDlgItem(dlg, IDC_NOVO_CONECTOR_ROTULO)), u"Rotulo");
    EXPECT_EQ(Text(ok), u"Aceitar");
    EXPECT_EQ(Text(GetDlgItem(dlg, IDCANCEL)), u"Desistir");
    EXPECT_GE(Find(Screen(), u"Ocupado").first, 0) << Screen().utf8();
    zrui::Type(u"Y");
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"Y|", u"X1|sugestao"}));
    zrui::PressKey(VK_ESCAPE);
  });
}

TEST_F(NovoConectorDialog, TheDialogAsTheUserSeesIt) {
  // 182 x 78 dialog units in a one-cell frame: the label over the combo,
  // OK (default, enabled for the free proposal) and cancel at the bottom right.
  const std::u16string expected =
      u"+- Novo conector ---------------------------[x]+\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|        Nome do novo conector:                |\n"
      u"|        X3___________________________v        |\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|                  <    OK     >[  Cancelar ]  |\n"
      u"|                                              |\n"
      u"+----------------------------------------------+";
  Run(u"X3", Names({u"X1"}), [&](HWND) {
    zrui::TextGrid grid = Screen();
    EXPECT_EQ(grid.text(), expected) << grid.utf8();
    // A name in use: OK greyed, the tooltip under the field, moved left to
    // lie whole inside the dialog's frame; the name typed stays in sight.
    zrui::Type(u"X1");
    grid = Screen();
    EXPECT_EQ(grid.line(4), u"|        X1___________________________v        |") << grid.utf8();
    EXPECT_EQ(grid.line(6), u"| Este nome já está em uso por outro conector. |") << grid.utf8();
    auto okAt = Find(grid, u"OK");
    EXPECT_EQ(grid.at(okAt.first, okAt.second).fg, GetSysColor(COLOR_GRAYTEXT)) << grid.utf8();
    zrui::PressKey(VK_ESCAPE);
  });
}

}  // namespace
