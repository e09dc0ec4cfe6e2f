// The connector dialogs' templates on the character grid (text profile) and
// in pictures (pixel profile): every frame edge shows, the state lights keep
// their colours, images stay on their labels' rows.
//
// Snapshots live in snapshots/*.txt; run with ZR_UPDATE_SNAPSHOTS=1 to
// rewrite them (and the pictures in docs/pictures) after a metrics change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <png.h>

#include "connector_templates.h"
#include "ui_test_support.h"
#include "zrui/metrics.h"
#include "zrui/picture.h"
#include "zrui/textrender.h"

namespace zrui::test {
namespace {

bool Updating() { return std::getenv("ZR_UPDATE_SNAPSHOTS") != nullptr; }

std::string SnapshotPath(const std::string& name) { return std::string(ZR_UI_TEST_DIR) + "/snapshots/" + name + ".txt"; }

// Compares a rendering with its stored snapshot, or stores it when updating.
void ExpectSnapshot(const TextGrid& grid, const std::string& name) {
  std::string text = grid.utf8() + "\n";
  std::string path = SnapshotPath(name);
  if (Updating()) {
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no snapshot " << path << " (run with ZR_UPDATE_SNAPSHOTS=1)";
  std::stringstream stored;
  stored << in.rdbuf();
  EXPECT_EQ(text, stored.str()) << "snapshot " << name << " differs; rendering:\n" << text;
}

// The cell of the grid (relative to the window's top-left) at a window's
// top-left corner.
POINT CellOf(HWND root, HWND h) {
  RECT rr, r;
  GetWindowRect(root, &rr);
  GetWindowRect(h, &r);
  return POINT{(r.left - rr.left + kCharWidth / 2) / kCharWidth, (r.top - rr.top + kCharHeight / 2) / kCharHeight};
}

// The cell rectangle of a window within the grid of its root.
RECT CellsOf(HWND root, HWND h) {
  RECT rr, r;
  GetWindowRect(root, &rr);
  GetWindowRect(h, &r);
  auto c = [](LONG v, int u) { return static_cast<LONG>((v + u / 2) / u); };
  return RECT{c(r.left - rr.left, kCharWidth), c(r.top - rr.top, kCharHeight), c(r.right - rr.left, kCharWidth),
              c(r.bottom - rr.top, kCharHeight)};
}

// Every edge of a frame drawn on the window's own cells shows.
void ExpectFrame(const TextGrid& g, RECT cells, const std::string& what) {
  int l = cells.left, t = cells.top, r = cells.right - 1, b = cells.bottom - 1;
  EXPECT_EQ(g.at(l, t).ch, u'+') << what << " top-left corner";
  EXPECT_EQ(g.at(r, b).ch, u'+') << what << " bottom-right corner";
  for (int x = l + 1; x < r; ++x) {
    EXPECT_TRUE(g.at(x, b).ch == u'-') << what << " bottom edge at column " << x;
  }
  for (int y = t + 1; y < b; ++y) {
    EXPECT_EQ(g.at(l, y).ch, u'|') << what << " left edge at row " << y;
    // The right edge carries the scroll indicator of a list that scrolls.
    EXPECT_NE(std::u16string(u"|^v#").find(g.at(r, y).ch), std::u16string::npos) << what << " right edge at row " << y;
  }
}

class ConnectorTemplates : public ::testing::Test {
 protected:
  ScopedMetricsProfile profile{MetricsProfile::Text};
  HWND dlg = nullptr;
  void TearDown() override {
    if (dlg) DestroyWindow(dlg);
  }
};

TEST_F(ConnectorTemplates, ConnectorsScreenShowsEveryFrameAndColouredLights) {
  dlg = CreateConnectorsScreen();
  ASSERT_TRUE(dlg);
  TextGrid g = RenderWindow(dlg);
  ExpectSnapshot(g, "50103_connectors_screen");
  EXPECT_EQ(g.width(), 364 / 4 + 2) << "four horizontal dialog units per cell, a frame cell each side";
  EXPECT_EQ(g.height(), (233 + 7) / 8 + 2) << "eight vertical dialog units per cell, the client area rounded up";
  ExpectFrame(g, CellsOf(dlg, GetDlgItem(dlg, 50107)), "properties group");
  ExpectFrame(g, CellsOf(dlg, GetDlgItem(dlg, 50108)), "summary group");
  for (int id : {50102, 50101, 50111}) ExpectFrame(g, CellsOf(dlg, GetDlgItem(dlg, id)), "list " + std::to_string(id));

  // The lights: each on its label's row, in its image's colour.
  HWND connectors = GetDlgItem(dlg, 50102);
  RECT c = CellsOf(dlg, connectors);
  int x = c.left + 1, y = c.top + 1;  // inside the border
  EXPECT_EQ(Narrow(g.line(y).substr(static_cast<size_t>(x), 4)), "o J1");
  EXPECT_EQ(g.at(x, y).fg, kGreen);
  EXPECT_EQ(g.at(x, y + 1).fg, kRed) << "J2 is in error";
  EXPECT_EQ(g.at(x + 2, y + 1).ch, u'J') << "the label follows its light on the same row";
  RECT p = CellsOf(dlg, GetDlgItem(dlg, 50101));
  EXPECT_EQ(g.at(p.left + 1, p.top + 2).fg, kGrey) << "a missing pin is grey";
  POINT light = CellOf(dlg, GetDlgItem(dlg, 50118));
  EXPECT_EQ(g.at(light.x, light.y).fg, kGreen) << "the state picture";

  // Disabled buttons are dimmed; the cancel button is not.
  POINT apply = CellOf(dlg, GetDlgItem(dlg, 50114));
  std::u16string row = g.line(apply.y);
  size_t at = row.find(u"Apply");
  ASSERT_NE(at, std::u16string::npos);
  EXPECT_TRUE(g.at(static_cast<int>(at), apply.y).dim);
  POINT cancel = CellOf(dlg, GetDlgItem(dlg, IDCANCEL));
  at = g.line(cancel.y).find(u"Cancel");
  ASSERT_NE(at, std::u16string::npos);
  EXPECT_FALSE(g.at(static_cast<int>(at), cancel.y).dim);
}

TEST_F(ConnectorTemplates, SelectionDialogTabsShowTheirPageFrameAndTree) {
  for (bool creation : {false, true}) {
    dlg = CreateSelectionDialog(creation);
    ASSERT_TRUE(dlg);
    TextGrid g = RenderWindow(dlg);
    ExpectSnapshot(g, creation ? "50109_creation_page" : "50112_selection_page");
    // The page frame of the tab control: all four edges below the tabs.
    RECT tab = CellsOf(dlg, GetDlgItem(dlg, 50121));
    tab.top += 1;
    ExpectFrame(g, tab, "tab page frame");
    DestroyWindow(dlg);
    dlg = nullptr;
  }
}

TEST_F(ConnectorTemplates, TreeStateImagesShowBeforeTheItemImage) {
  dlg = CreateSelectionDialog(false);
  TextGrid g = RenderWindow(dlg);
  std::u16string text = g.text();
  // Pin 4 carries state image 1 (the pin glyph) before its own pin image.
  EXPECT_NE(text.find(u"P P 4"), std::u16string::npos) << Narrow(text);
  EXPECT_NE(text.find(u"  P 5"), std::u16string::npos);
  EXPECT_EQ(text.find(u"P P 5"), std::u16string::npos) << "items without a state image make no room for one";
}

TEST_F(ConnectorTemplates, NewConnectorDialog) {
  dlg = CreateNewConnectorDialog();
  ASSERT_TRUE(dlg);
  TextGrid g = RenderWindow(dlg);
  ExpectSnapshot(g, "108_new_connector");
  RECT ok = CellsOf(dlg, GetDlgItem(dlg, IDOK));
  EXPECT_EQ(g.at(ok.left, ok.top).ch, u'<') << "the default button is marked";
  EXPECT_EQ(g.at(ok.right - 1, ok.top).ch, u'>');
  EXPECT_EQ(g.at(CellsOf(dlg, GetDlgItem(dlg, IDCANCEL)).left, ok.top).ch, u'[');
  EXPECT_NE(g.text().find(u"J3"), std::u16string::npos) << "the owner-drawn combo shows its text";
}

// ---- pictures ----

struct Decoded {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  COLORREF at(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
  }
};

Decoded ReadPng(const std::string& path) {
  Decoded d;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return d;
  img.format = PNG_FORMAT_RGB;
  d.rgb.resize(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, d.rgb.data(), 0, nullptr)) return d;
  d.width = static_cast<int>(img.width);
  d.height = static_cast<int>(img.height);
  return d;
}

std::string TempPng(const char* name) { return ::testing::TempDir() + name; }

// Writes the picture to docs/pictures too when the snapshots are being updated.
void KeepPicture(HWND dlg, const char* name) {
  if (!Updating()) return;
  std::string path = std::string(ZR_UI_TEST_DIR) + "/../../../docs/pictures/" + name;
  ASSERT_TRUE(SaveWindowPng(dlg, path).ok) << path;
}

TEST(ConnectorPictures, WindowPictureShowsTheLightsInTheirColours) {
  ScopedMetricsProfile profile{MetricsProfile::Pixel};
  HWND dlg = CreateConnectorsScreen();
  std::string path = TempPng("screen.png");
  PictureStatus st = SaveWindowPng(dlg, path, PictureOptions{2});
  ASSERT_TRUE(st.ok) << st.error;
  Decoded d = ReadPng(path);
  RECT wr;
  GetWindowRect(dlg, &wr);
  ASSERT_EQ(d.width, (wr.right - wr.left) * 2);
  ASSERT_EQ(d.height, (wr.bottom - wr.top) * 2);
  // The centre of the state picture's light, and of the first connector's.
  RECT pr;
  GetWindowRect(GetDlgItem(dlg, 50118), &pr);
  EXPECT_EQ(d.at((pr.left - wr.left + 8) * 2, (pr.top - wr.top + 8) * 2), kGreen);
  RECT lr;
  GetWindowRect(GetDlgItem(dlg, 50102), &lr);
  POINT row1{lr.left - wr.left + 8 + 1, lr.top - wr.top + 16 + 8 + 1};  // inside the border, second row
  EXPECT_EQ(d.at(row1.x * 2, row1.y * 2), kRed);
  // Text is drawn: some pixels of the caption row are neither face nor frame.
  int inked = 0;
  for (int x = 0; x < d.width; ++x) inked += d.at(x, 6) != d.at(0, 6);
  EXPECT_GT(inked, 10) << "the caption is drawn in the font";
  KeepPicture(dlg, "50103_connectors_screen.png");
  DestroyWindow(dlg);
}

// In the text profile an image has two cells and one row: a picture of the
// layout draws each light inside that slot, clear of its label and of the
// rows above and below.
TEST(ConnectorPictures, TextLayoutPictureKeepsEachLightInsideItsSlot) {
  ScopedMetricsProfile profile{MetricsProfile::Text};
  HWND dlg = CreateConnectorsScreen();
  HWND list = GetDlgItem(dlg, 50102);
  // Lights that fill their whole 16 x 16 image, larger than a slot.
  // Images 0 and 2, as J1 and J2 have them.
  std::vector<COLORREF> squares(16 * 48);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) squares[static_cast<size_t>(y * 48 + x)] = x < 16 ? kGreen : x < 32 ? kGrey : kRed;
  HBITMAP strip = CreateBitmap(48, 16, 1, 32, squares.data());
  HIMAGELIST big = ImageList_Create(16, 16, ILC_COLOR32, 0, 3);
  ImageList_Add(big, strip, nullptr);
  DeleteObject(strip);
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(big)));
  Picture p;
  ASSERT_TRUE(RenderWindowPicture(dlg, &p, PictureOptions{1}).ok);
  RECT wr;
  GetWindowRect(dlg, &wr);
  // Pixels of a colour inside [left, right) x [top, bottom) of the picture.
  auto count = [&](COLORREF colour, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = std::max(0, top); y < std::min(p.height, bottom); ++y)
      for (int x = std::max(0, left); x < std::min(p.width, right); ++x) n += p.At(x, y) == colour;
    return n;
  };
  const COLORREF lights[] = {kGreen, kRed};  // J1, then J2 in error
  for (int item = 0; item < 2; ++item) {
    RECT icon{LVIR_ICON, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&icon)));
    POINT corner{icon.left, icon.top};
    ClientToScreen(list, &corner);
    const int left = corner.x - wr.left, top = corner.y - wr.top;
    const int slot = GetMetrics().ImageSlotWidth(16), row = GetMetrics().ImageRowHeight(16);
    const COLORREF light = lights[item];
    EXPECT_GT(count(light, left, top, left + slot, top + row), 20) << "item " << item << ": the light is drawn";
    EXPECT_EQ(count(light, left + slot, top, left + slot + 4 * kCharWidth, top + row), 0)
        << "item " << item << ": the light stays off its label";
    EXPECT_EQ(count(light, left, top - row, left + slot, top), 0) << "item " << item << ": nothing on the row above";
    EXPECT_EQ(count(light, left, top + row, left + slot, top + 2 * row), 0) << "item " << item << ": nor below";
  }
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(old));
  ImageList_Destroy(big);
  DestroyWindow(dlg);
}

// In pixel pictures push buttons are framed (raised, the default one inside
// a dark line), so that buttons a dialog unit apart stay apart; on the
// character grid they keep their brackets.
TEST(ConnectorPictures, PushButtonsAreFramedInPixelPicturesAndBracketedOnTheGrid) {
  ScopedMetricsProfile profile{MetricsProfile::Pixel};
  HWND dlg = CreateNewConnectorDialog();
  Picture p;
  ASSERT_TRUE(RenderWindowPicture(dlg, &p, PictureOptions{1}).ok);
  RECT wr;
  GetWindowRect(dlg, &wr);
  auto at = [&](HWND control, int dx, int dy) {
    RECT r;
    GetWindowRect(control, &r);
    const int x = dx >= 0 ? r.left + dx : r.right + dx, y = dy >= 0 ? r.top + dy : r.bottom + dy;
    return p.At(x - wr.left, y - wr.top);
  };
  HWND ok = GetDlgItem(dlg, IDOK), cancel = GetDlgItem(dlg, IDCANCEL);
  ASSERT_EQ(static_cast<DWORD>(GetWindowLongW(ok, GWL_STYLE)) & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(at(cancel, 2, 0), GetSysColor(COLOR_BTNHIGHLIGHT)) << "a raised top edge";
  EXPECT_EQ(at(cancel, 2, -1), GetSysColor(COLOR_BTNSHADOW)) << "a shadowed bottom edge";
  EXPECT_EQ(at(ok, 2, 0), GetSysColor(COLOR_WINDOWFRAME)) << "the default button's dark line";
  EXPECT_EQ(at(ok, 2, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  const TextGrid g = RenderWindow(dlg);
  std::u16string row;
  for (int y = 0; y < g.height() && row.empty(); ++y)
    if (g.line(y).find(u"Cancel") != std::u16string::npos) row = g.line(y);
  EXPECT_NE(row.find(u"<    OK     >[   Cancel  ]"), std::u16string::npos) << Narrow(row);
  DestroyWindow(dlg);
}

TEST(ConnectorPictures, ScreenPictureHoldsNestedDialogs) {
  ScopedMetricsProfile profile{MetricsProfile::Pixel};
  HWND sel = CreateSelectionDialog(true);
  HWND box = CreateNewConnectorDialog();
  Picture p;
  PictureStatus st = RenderScreenPicture(&p, PictureOptions{1});
  ASSERT_TRUE(st.ok) << st.error;
  RECT a, b;
  GetWindowRect(sel, &a);
  GetWindowRect(box, &b);
  RECT all;
  UnionRect(&all, &a, &b);
  EXPECT_EQ(p.width, all.right - all.left + 2 * kCharWidth);
  // The later dialog lies on top: its face colour where it overlaps.
  POINT inBox{b.left - all.left + kCharWidth + 20, b.top - all.top + kCharHeight + 30};
  EXPECT_EQ(p.At(inBox.x, inBox.y), GetSysColor(COLOR_BTNFACE));
  std::string path = TempPng("all.png");
  ASSERT_TRUE(SaveScreenPng(path).ok);
  EXPECT_EQ(ReadPng(path).width, p.width * 2);
  KeepPicture(sel, "50109_creation_page.png");
  DestroyWindow(box);
  DestroyWindow(sel);
  if (Updating()) {
    HWND s2 = CreateSelectionDialog(false);
    KeepPicture(s2, "50112_selection_page.png");
    DestroyWindow(s2);
    HWND n = CreateNewConnectorDialog();
    KeepPicture(n, "108_new_connector.png");
    DestroyWindow(n);
  }
}

TEST(ConnectorPictures, FailuresSayWhatFailed) {
  PictureStatus st = SaveWindowPng(nullptr, TempPng("none.png"));
  EXPECT_FALSE(st.ok);
  EXPECT_EQ(st.error, "no such window");
  ScopedMetricsProfile profile{MetricsProfile::Pixel};
  HWND dlg = CreateNewConnectorDialog();
  st = SaveWindowPng(dlg, "/nonexistent-dir/x.png");
  EXPECT_FALSE(st.ok);
  EXPECT_NE(st.error.find("/nonexistent-dir/x.png"), std::string::npos) << st.error;
  DestroyWindow(dlg);
}

}  // namespace
}  // namespace zrui::test
