// Message boxes and the file dialog as real modal dialogs, when the policy
// says something will answer them: driven with keys and clicks.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "ui_test_support.h"
#include "zrui/afx.h"
#include "zrui/commctrl.h"
#include "zrui/metrics.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

namespace fs = std::filesystem;
using zrui::IDC_FILE_LIST;
using zrui::IDC_FILE_NAME;
using zrui::IDC_FILE_READONLY;
using zrui::IDC_MESSAGE_TEXT;
using zrui::test::Narrow;

namespace {

class RealDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    zrui::SetRealDialogPolicy([] { return true; });
    zrui::TakeShownMessageBoxes();
  }
  void TearDown() override { zrui::SetRealDialogPolicy(nullptr); }
};

TEST_F(RealDialogs, ABoxShowsItsTextAndButtonsWithTheDefaultFocusedAndRecordsItself) {
  std::u16string text, focusText;
  std::vector<int> buttons;
  zrui::OnNextModal([&](HWND box) {
    text = GetWindowTextString(GetDlgItem(box, IDC_MESSAGE_TEXT));
    for (int id : {IDYES, IDNO, IDCANCEL, IDOK})
      if (GetDlgItem(box, id)) buttons.push_back(id);
    focusText = GetWindowTextString(GetFocus());
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(MessageBoxW(nullptr, u"Save the changes?\nThey are lost otherwise.", u"Connectors",
                        MB_YESNOCANCEL | MB_DEFBUTTON2),
            IDNO);
  EXPECT_EQ(text, u"Save the changes?\nThey are lost otherwise.");
  EXPECT_EQ(buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(focusText, u"&No");
  EXPECT_EQ(zrui::TakeShownMessageBoxes().size(), 1u);
}

TEST_F(RealDialogs, EscapeAndTheCloseBoxAnswerOnlyWhereTheBoxAllowsIt) {
  struct Case {
    UINT type;
    int expected;  // after Escape, or after Escape then a click on the first button
  };
  const Case cases[] = {{MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNOCANCEL, IDCANCEL}, {MB_YESNO, IDYES}};
  for (const Case& c : cases) {
    zrui::OnNextModal([&](HWND box) {
      zrui::PressKey(VK_ESCAPE);
      if (IsWindow(box) && !zrui::IsDialogEnded(box)) zrui::Click(GetDlgItem(box, IDYES));
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"c", c.type), c.expected) << "type " << c.type;
  }
  zrui::OnNextModal([&](HWND box) { zrui::CloseByTitleBar(box); });
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"c", MB_RETRYCANCEL), IDCANCEL);
}

TEST_F(RealDialogs, TheFileDialogOpensFoldersRefusesMissingFilesAndReturnsTheChosenPath) {
  fs::path root = fs::temp_directory_path() / ("zrui-files-" + std::to_string(getpid()));
  fs::create_directories(root / "blocks");
  std::ofstream(root / "blocks" / "relay.dwg") << "x";
  std::ofstream(root / "blocks" / "notes.txt") << "x";
  std::vector<std::u16string> listed;
  std::u16string refusal;
  zrui::OnNextModal([&](HWND dlg) {
    zrui::Type(u"blocks");
    zrui::PressKey(VK_RETURN);  // a folder's name opens it
    HWND list = GetDlgItem(dlg, IDC_FILE_LIST);
    for (int i = 0; i < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++i) {
      char16_t buf[64] = {0};
      LVITEMW item;
      item.pszText = buf;
      item.cchTextMax = 64;
      SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      listed.push_back(buf);
    }
    zrui::OnNextModal([&](HWND box) {
      refusal = GetWindowTextString(GetDlgItem(box, IDC_MESSAGE_TEXT));
      zrui::PressKey(VK_RETURN);
    });
    zrui::Type(u"missing");
    zrui::PressKey(VK_RETURN);  // refused: the dialog stays
    // The file chosen in the list comes into the name field.
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    zrui::ClickAt(list, POINT{r.left + 1, r.top + 1});
    zrui::Click(GetDlgItem(dlg, IDOK));
  });
  CFileDialog dlg(TRUE, u"dwg", nullptr, OFN_FILEMUSTEXIST, u"Drawings (*.dwg)|*.dwg|All files|*.*||");
  std::u16string start = root.u16string();
  dlg.m_ofn.lpstrInitialDir = start.c_str();
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.GetPathName(), CString((root / "blocks" / "relay.dwg").u16string()));
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"../", u"relay.dwg"})) << "only the filter's files";
  EXPECT_NE(refusal.find(u"missing.dwg\nFile not found."), std::u16string::npos) << Narrow(refusal);
  fs::remove_all(root);
}

TEST_F(RealDialogs, TheReadOnlyBoxIsOfferedOnlyWithoutHideReadOnlyAndItsCheckIsAnswered) {
  fs::path root = fs::temp_directory_path() / ("zrui-readonly-" + std::to_string(getpid()));
  fs::create_directories(root);
  std::ofstream(root / "relay.dwg") << "x";
  std::u16string start = root.u16string();
  struct Case {
    DWORD flags;
    bool check;  // the user clicks the box
    bool shown, checkedAtStart, answered;
  };
  const Case cases[] = {
      {OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, false, false, false, false},
      {0, true, true, false, true},
      {OFN_READONLY, false, true, true, true},
      {OFN_READONLY, true, true, true, false},
  };
  for (const Case& c : cases) {
    bool shown = false, checkedAtStart = false;
    zrui::OnNextModal([&](HWND dlg) {
      HWND box = GetDlgItem(dlg, IDC_FILE_READONLY);
      shown = IsWindowVisible(box);
      checkedAtStart = IsDlgButtonChecked(dlg, IDC_FILE_READONLY) == BST_CHECKED;
      if (c.check) zrui::Click(box);
      zrui::Click(GetDlgItem(dlg, IDC_FILE_NAME));
      zrui::Type(u"relay.dwg");
      zrui::Click(GetDlgItem(dlg, IDOK));
    });
    CFileDialog dlg(TRUE, nullptr, nullptr, c.flags, u"Drawings|*.dwg");
    dlg.m_ofn.lpstrInitialDir = start.c_str();
    ASSERT_EQ(dlg.DoModal(), IDOK) << "flags " << c.flags;
    EXPECT_EQ(shown, c.shown) << "flags " << c.flags;
    EXPECT_EQ(checkedAtStart, c.checkedAtStart) << "flags " << c.flags;
    EXPECT_EQ(dlg.GetReadOnlyPref() != FALSE, c.answered) << "flags " << c.flags;
    EXPECT_EQ(dlg.GetFileTitle(), u"relay");
  }
  fs::remove_all(root);
}

// A screen of 80 x 24 cells for the boxes laid out on the character grid.
class BoxesOnASmallScreen : public RealDialogs {
 protected:
  void SetUp() override {
    RealDialogs::SetUp();
    SetScreenSize(80 * kCharWidth, 24 * kCharHeight);
  }
  void TearDown() override {
    SetScreenSize(1280, 1024);
    zrui::SetMessageBoxLocale("");
    RealDialogs::TearDown();
  }
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Text};
};

TEST_F(BoxesOnASmallScreen, ALongTextWrapsAtTwoThirdsOfTheScreenWithEveryWordInOrder) {
  const std::u16string question =
      u"Os pinos do conector X1 foram alterados no desenho. Deseja atualizar todos os pinos segundo o "
      u"cat\u00E1logo agora, mantendo os nomes e os identificadores que j\u00E1 foram dados aos s\u00EDmbolos?";
  std::u16string shown;
  zrui::TextGrid grid(0, 0);
  RECT box{};
  zrui::OnNextModal([&](HWND h) {
    shown = GetWindowTextString(GetDlgItem(h, IDC_MESSAGE_TEXT));
    grid = zrui::RenderWindow(h);
    GetWindowRect(h, &box);
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(MessageBoxW(nullptr, question.c_str(), u"Conectores", MB_YESNO), IDYES);
  // At most about two thirds of the 80 columns, inside the screen.
  EXPECT_LE(grid.width(), 80 * 2 / 3 + 4) << grid.utf8();
  EXPECT_GE(box.left, 0);
  EXPECT_LE(box.right, 80 * kCharWidth);
  // Broken between words only, every word kept.
  std::u16string joined = shown;
  std::replace(joined.begin(), joined.end(), u'\n', u' ');
  EXPECT_EQ(joined, question);
  EXPECT_GE(std::count(shown.begin(), shown.end(), u'\n'), 2) << Narrow(shown);
  // Every line shows whole on the grid.
  std::size_t from = 0;
  for (std::size_t end = shown.find(u'\n'); from != std::u16string::npos;
       from = end == std::u16string::npos ? end : end + 1, end = shown.find(u'\n', from)) {
    const std::u16string line = shown.substr(from, end == std::u16string::npos ? end : end - from);
    EXPECT_NE(grid.text().find(line), std::u16string::npos) << Narrow(line) << "\n" << grid.utf8();
  }
}

TEST_F(BoxesOnASmallScreen, ATextTallerThanTheScreenScrollsInTheBox) {
  std::u16string text;
  for (int i = 1; i <= 40; ++i) {
    const std::string n = std::to_string(i);
    text += u"Linha " + std::u16string(n.begin(), n.end()) + (i < 40 ? u"\n" : u"");
  }
  zrui::TextGrid first(0, 0), last(0, 0);
  zrui::OnNextModal([&](HWND h) {
    first = zrui::RenderWindow(h);
    // The lines take the focus by a click and scroll to the end.
    zrui::Click(GetDlgItem(h, IDC_MESSAGE_TEXT));
    zrui::PressKey(VK_END);
    last = zrui::RenderWindow(h);
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(MessageBoxW(nullptr, text.c_str(), u"Lista", MB_OK), IDOK);
  EXPECT_LE(first.height(), 24) << first.utf8();
  EXPECT_NE(first.text().find(u"Linha 1 "), std::u16string::npos) << first.utf8();
  EXPECT_EQ(first.text().find(u"Linha 40"), std::u16string::npos) << first.utf8();
  EXPECT_NE(first.text().find(u"OK"), std::u16string::npos) << first.utf8();
  EXPECT_NE(last.text().find(u"Linha 40"), std::u16string::npos) << last.utf8();
}

struct Captions {
  const char* locale;
  std::vector<std::u16string> buttons;  // Yes, No, Cancel
};

TEST_F(BoxesOnASmallScreen, ButtonCaptionsFollowTheLanguageOfTheLocaleWithEnglishOtherwise) {
  const Captions cases[] = {
      {"pt_BR.UTF-8", {u"&Sim", u"&N\u00E3o", u"Cancelar"}},
      {"pt_PT", {u"&Sim", u"&N\u00E3o", u"Cancelar"}},
      {"pt", {u"&Sim", u"&N\u00E3o", u"Cancelar"}},
      {"en_GB.UTF-8", {u"&Yes", u"&No", u"Cancel"}},
      {"C.UTF-8", {u"&Yes", u"&No", u"Cancel"}},
      {"ptx_XX", {u"&Yes", u"&No", u"Cancel"}},
      {"", {u"&Yes", u"&No", u"Cancel"}},
  };
  for (const Captions& c : cases) {
    zrui::SetMessageBoxLocale(c.locale);
    std::vector<std::u16string> buttons;
    zrui::OnNextModal([&](HWND h) {
      for (int id : {IDYES, IDNO, IDCANCEL}) buttons.push_back(GetWindowTextString(GetDlgItem(h, id)));
      zrui::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Salvar?", u"zrhost", MB_YESNOCANCEL), IDCANCEL) << c.locale;
    EXPECT_EQ(buttons, c.buttons) << c.locale;
  }
  // LC_ALL before LC_MESSAGES before LANG; an empty one does not count.
  EXPECT_EQ(zrui::MessagesLocale("pt_BR", "en_US", "de_DE"), "pt_BR");
  EXPECT_EQ(zrui::MessagesLocale("", "en_US", "pt_BR"), "en_US");
  EXPECT_EQ(zrui::MessagesLocale(nullptr, nullptr, "pt_BR"), "pt_BR");
  EXPECT_EQ(zrui::MessagesLocale(nullptr, "", nullptr), "");
}

TEST_F(RealDialogs, WithoutAPolicyTheRespondersAnswerAsBefore) {
  zrui::SetRealDialogPolicy(nullptr);
  zrui::ScriptedMessageBoxes boxes;
  boxes.answer(IDNO);
  // A real box left alone would end with its default, Yes.
  EXPECT_EQ(MessageBoxW(nullptr, u"q", u"c", MB_YESNO), IDNO);
}

}  // namespace
