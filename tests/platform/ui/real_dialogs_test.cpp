// Message boxes and the file dialog as real modal dialogs, when the policy
// says something will answer them: driven with keys and clicks.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ui_test_support.h"
#include "zrui/afx.h"
#include "zrui/commctrl.h"
#include "zrui/testing.h"

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

TEST_F(RealDialogs, WithoutAPolicyTheRespondersAnswerAsBefore) {
  zrui::SetRealDialogPolicy(nullptr);
  zrui::ScriptedMessageBoxes boxes;
  boxes.answer(IDNO);
  // A real box left alone would end with its default, Yes.
  EXPECT_EQ(MessageBoxW(nullptr, u"q", u"c", MB_YESNO), IDNO);
}

}  // namespace
