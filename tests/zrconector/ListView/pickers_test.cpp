// The grid's "..." buttons with the dialogs a person meets: the host's colour
// picker (zrhost) behind the colour button, the toolkit's file chooser behind
// the file button. Both are driven through simulated keys and clicks.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <zrui/msgbox.h>

#include "colour_picker.h"
#include "colour_swatches.h"
#include "fake_host.h"
#include "grid_fixture.h"

using namespace ListView;
using namespace listview_test;
namespace fs = std::filesystem;
using zrui::IDC_FILE_FOLDER;
using zrui::IDC_FILE_LIST;
using zrui::IDC_FILE_NAME;
using zrui::IDC_FILE_READONLY;

namespace {

class PickerGrid : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    host.open(OdDbDatabase::createNew());
    host.script().setColourDialog([](int initial, int* chosen) {
      std::optional<int> index = zrhost::runColourPicker(initial);
      if (!index) return RTERROR;
      *chosen = *index;
      return RTNORM;
    });
  }
  // Opens the colour cell's editor and clicks its button; `inPicker` runs in
  // the picker's modal loop and must end it.
  void PickColour(std::function<void(HWND picker, HWND swatches)> inPicker) {
    if (!dlg->Editor()) {
      ASSERT_TRUE(dlg->ClickCell(rCor, 1));
    }
    zrui::OnNextModal([&](HWND picker) { inPicker(picker, ::GetDlgItem(picker, zrhost::kColourPickerSwatches)); });
    ASSERT_TRUE(zrui::Click(dlg->Button()));
  }
  static int Selected(HWND swatches) { return static_cast<int>(::SendMessageW(swatches, zrhost::kSwatchGetSel, 0, 0)); }
  static CPoint SwatchPoint(HWND swatches, int index) {
    RECT r{};
    EXPECT_TRUE(::SendMessageW(swatches, zrhost::kSwatchGetItemRect, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
    return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  static std::u16string Label(HWND picker) {
    return GetWindowTextString(::GetDlgItem(picker, zrhost::kColourPickerLabel));
  }
  testing_support::FakeHost host;
};

TEST_F(PickerGrid, TheColourButtonOpensThePickerClampedAndWritesTheIndexChosenByKeysOrMouse) {
  grid().SetCellText(rCor, 1, u"300");
  ASSERT_TRUE(dlg->ClickCell(rCor, 1));
  HWND editor = dlg->Editor();

  // 300 opens at 256; two steps left and Enter choose 254.
  int opened = -1;
  std::u16string label;
  PickColour([&](HWND, HWND swatches) {
    opened = Selected(swatches);
    EXPECT_EQ(GetFocus(), swatches) << "the swatches take the keys";
    zrui::PressKey(VK_LEFT);
    zrui::PressKey(VK_LEFT);
    EXPECT_TRUE(KeepScreenPicture("colour-picker.png"));
    label = Label(::GetParent(swatches));
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(opened, 256);
  EXPECT_EQ(label, zrhost::colourLabel(254));
  EXPECT_EQ(EditorText(), u"254");
  EXPECT_EQ(dlg->Editor(), editor) << "the editor stays open";
  EXPECT_EQ(GetFocus(), editor);

  // A row up and a click on OK: 238.
  PickColour([&](HWND picker, HWND swatches) {
    opened = Selected(swatches);
    zrui::PressKey(VK_UP);
    zrui::Click(::GetDlgItem(picker, IDOK));
  });
  EXPECT_EQ(opened, 254);
  EXPECT_EQ(EditorText(), u"238");

  // A click on swatch 5, then OK; a double click on swatch 30 chooses at once.
  PickColour([&](HWND picker, HWND swatches) {
    zrui::ClickAt(swatches, SwatchPoint(swatches, 5));
    label = Label(picker);
    zrui::Click(::GetDlgItem(picker, IDOK));
  });
  EXPECT_EQ(label, u"Index 5 (0,0,255)");
  EXPECT_EQ(EditorText(), u"5");
  PickColour([&](HWND, HWND swatches) { zrui::DoubleClickAt(swatches, SwatchPoint(swatches, 30)); });
  EXPECT_EQ(EditorText(), u"30");

  // Cancel, Escape and the title-bar close leave the text as it was.
  PickColour([&](HWND picker, HWND) {
    zrui::PressKey(VK_RIGHT);
    zrui::Click(::GetDlgItem(picker, IDCANCEL));
  });
  PickColour([&](HWND, HWND) {
    zrui::PressKey(VK_HOME);
    zrui::PressKey(VK_ESCAPE);
  });
  PickColour([&](HWND picker, HWND) {
    zrui::PressKey(VK_END);
    zrui::CloseByTitleBar(picker);
  });
  EXPECT_EQ(EditorText(), u"30");
  EXPECT_EQ(dlg->ends, 0);

  ClickElsewhere();
  EXPECT_EQ(dlg->Text(rCor, 1), u"30");
  EXPECT_EQ(dlg->ends, 1);
}

TEST_F(PickerGrid, ArrowsStopAtTheEndsAndByBlockAndByLayerAreChosenToo) {
  grid().SetCellText(rCor, 1, u"-7");
  int first = -1, afterLeft = -1, last = -1;
  PickColour([&](HWND, HWND swatches) {
    first = Selected(swatches);
    zrui::PressKey(VK_UP);
    zrui::PressKey(VK_LEFT);
    afterLeft = Selected(swatches);
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(first, 0);
  EXPECT_EQ(afterLeft, 0);
  EXPECT_EQ(EditorText(), u"0");
  PickColour([&](HWND picker, HWND swatches) {
    for (int i = 0; i < 20; ++i) zrui::PressKey(VK_DOWN);
    last = Selected(swatches);
    EXPECT_EQ(Label(picker), u"Index 256 (by layer)");
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(last, 256);
  EXPECT_EQ(EditorText(), u"256");
}

// ---- the file chooser ----

class FileChooserGrid : public GridTest {
 protected:
  void SetUp() override {
    // The picture kept for the documentation names the folder: a fixed name
    // then, so that it is the same each time it is made.
    const bool picturing = std::getenv("ZR_UPDATE_SNAPSHOTS") != nullptr;
    root = fs::temp_directory_path() / (picturing ? std::string("desenhos") : "zr-pickers-" + std::to_string(getpid()));
    fs::create_directories(root / "blocos");
    for (const char* name : {"relay.dwg", "notes.txt", "plan.dxf", "blocos/contact.DWG", "blocos/relay.dwg"})
      std::ofstream(root / name) << "x";
    zrui::SetRealDialogPolicy([] { return true; });
    GridTest::SetUp();
    grid().m_pastaBase = CString((root.u16string() + u"/").c_str());
    grid().SetCell(rDesenho, 1, u"desenho", u"plug", 20, kArquivo, 1, TRUE);
  }
  void TearDown() override {
    GridTest::TearDown();
    zrui::SetRealDialogPolicy(nullptr);
    fs::remove_all(root);
  }
  static std::vector<std::u16string> Entries(HWND chooser) {
    HWND list = ::GetDlgItem(chooser, IDC_FILE_LIST);
    std::vector<std::u16string> out;
    for (int i = 0; i < ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++i) {
      char16_t buf[128] = {0};
      LVITEMW item;
      item.pszText = buf;
      item.cchTextMax = 128;
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      out.push_back(buf);
    }
    return out;
  }
  static CPoint RowPoint(HWND chooser, int row) {
    HWND list = ::GetDlgItem(chooser, IDC_FILE_LIST);
    RECT r{};
    r.left = LVIR_LABEL;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return CPoint(r.left + 1, (r.top + r.bottom) / 2);
  }
  fs::path root;
};

TEST_F(FileChooserGrid, ChoosingRelayDwgInTheChooserPutsRelayInTheCell) {
  ASSERT_TRUE(dlg->ClickCell(rDesenho, 1));
  HWND editor = dlg->Editor();
  std::vector<std::u16string> listed;
  std::u16string folder, caption;
  bool readOnlyShown = true;
  zrui::OnNextModal([&](HWND chooser) {
    listed = Entries(chooser);
    folder = GetWindowTextString(::GetDlgItem(chooser, IDC_FILE_FOLDER));
    readOnlyShown = ::IsWindowVisible(::GetDlgItem(chooser, IDC_FILE_READONLY));
    EXPECT_TRUE(KeepScreenPicture("file-chooser.png"));
    // relay.dwg is the third entry, after "../" and the folder.
    zrui::ClickAt(::GetDlgItem(chooser, IDC_FILE_LIST), RowPoint(chooser, 2));
    zrui::PressKey(VK_RETURN);
  });
  ASSERT_TRUE(zrui::Click(dlg->Button()));
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"../", u"blocos/", u"relay.dwg"})) << "drawings and folders only";
  EXPECT_EQ(folder, root.u16string() + u"/") << "the grid's current folder";
  EXPECT_FALSE(readOnlyShown) << "the button hides the read-only box";
  EXPECT_EQ(EditorText(), u"relay");
  EXPECT_EQ(dlg->Editor(), editor);
  EXPECT_EQ(GetFocus(), editor);

  // Into the folder by a double click, a drawing there; then a cancelled
  // chooser leaves the text.
  zrui::OnNextModal([&](HWND chooser) {
    zrui::DoubleClickAt(::GetDlgItem(chooser, IDC_FILE_LIST), RowPoint(chooser, 1));
    listed = Entries(chooser);
    zrui::Click(::GetDlgItem(chooser, IDC_FILE_NAME));
    zrui::Type(u"contact.DWG");
    zrui::Click(::GetDlgItem(chooser, IDOK));
  });
  ASSERT_TRUE(zrui::Click(dlg->Button()));
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"../", u"contact.DWG", u"relay.dwg"}));
  EXPECT_EQ(EditorText(), u"contact");

  // Into the folder by typing its name, relay.dwg there chosen with the mouse.
  zrui::OnNextModal([&](HWND chooser) {
    zrui::Type(u"blocos");
    zrui::PressKey(VK_RETURN);
    folder = GetWindowTextString(::GetDlgItem(chooser, IDC_FILE_FOLDER));
    zrui::ClickAt(::GetDlgItem(chooser, IDC_FILE_LIST), RowPoint(chooser, 2));
    zrui::Click(::GetDlgItem(chooser, IDOK));
  });
  ASSERT_TRUE(zrui::Click(dlg->Button()));
  EXPECT_EQ(folder, (root / "blocos").u16string());
  EXPECT_EQ(EditorText(), u"relay");

  zrui::OnNextModal([&](HWND) { zrui::PressKey(VK_ESCAPE); });
  ASSERT_TRUE(zrui::Click(dlg->Button()));
  EXPECT_EQ(EditorText(), u"relay");

  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(dlg->Text(rDesenho, 1), u"relay");
}

}  // namespace
