// Device contexts: text layout, colours, fonts, saved states, bitmaps and
// the lifetime of GDI objects.
#include <algorithm>

#include "ui_test_support.h"
#include "zrui/afx.h"
#include "zrui/drawrecord.h"

namespace {

TEST(DrawText, AlignsClipsAndShortensSingleLines) {
  zrui::DrawRecorder rec;
  RECT r{0, 0, 70, 26};  // ten cells, two rows
  DrawTextW(rec.dc(), u"OK", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  DrawTextW(rec.dc(), u"OK", -1, &r, DT_RIGHT | DT_SINGLELINE);
  DrawTextW(rec.dc(), u"Conector muito longo", -1, &r, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
  DrawTextW(rec.dc(), u"&Aplicar && sair", -1, &r, DT_LEFT | DT_SINGLELINE);
  auto t = rec.texts();
  ASSERT_EQ(t.size(), 5u) << "the line, then its mnemonic again, underlined";
  EXPECT_EQ(t[0].rect.left, (70 - 14) / 2);
  EXPECT_EQ(t[0].rect.top, (26 - 13) / 2);
  EXPECT_EQ(t[1].rect.left, 70 - 14);
  EXPECT_EQ(t[2].text, u"Conecto...");
  EXPECT_EQ(t[3].text, u"Aplicar & sair") << "'&' marks a mnemonic, '&&' is one '&'";
  EXPECT_FALSE(t[3].underline);
  EXPECT_EQ(t[4].text, u"A");
  EXPECT_TRUE(t[4].underline);
  EXPECT_EQ(t[4].rect.left, t[3].rect.left);
}

TEST(DrawText, WrapsWordsAndMeasures) {
  zrui::DrawRecorder rec;
  RECT r{0, 0, 70, 100};
  int h = DrawTextW(rec.dc(), u"um dois tres quatro", -1, &r, DT_WORDBREAK);
  auto t = rec.texts();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].text, u"um dois");
  EXPECT_EQ(t[1].text, u"tres");
  EXPECT_EQ(t[2].text, u"quatro");
  EXPECT_EQ(t[1].rect.top, 13);
  EXPECT_EQ(h, 3 * 13);
  RECT calc{0, 0, 0, 0};
  DrawTextW(rec.dc(), u"abc\nabcdef", -1, &calc, DT_CALCRECT);
  EXPECT_EQ(calc.right, 6 * kCharWidth);
  EXPECT_EQ(calc.bottom, 2 * kCharHeight);
}

// The underlined letter of a caption that breaks over lines stays under its
// letter, wherever the line it lands on starts.
TEST(DrawText, TheMnemonicFollowsItsLetterOntoItsLine) {
  struct Case {
    const char16_t* text;
    UINT format;
    std::u16string line;  // the line with the letter
    int column;           // of the letter on it
  };
  const Case cases[] = {
      {u"um dois tres &quatro", DT_WORDBREAK, u"quatro", 0},
      {u"um dois tr&es", DT_WORDBREAK, u"tres", 2},
      {u"um\r\nd&ois", 0, u"dois", 1},
      {u"&&um &dois", DT_WORDBREAK, u"&um dois", 4},
  };
  for (const Case& c : cases) {
    zrui::DrawRecorder rec;
    RECT r{0, 0, 70, 100};
    DrawTextW(rec.dc(), c.text, -1, &r, c.format);
    const auto t = rec.texts();
    ASSERT_GE(t.size(), 2u);
    const auto& letter = t.back();
    EXPECT_TRUE(letter.underline);
    EXPECT_EQ(letter.text, c.line.substr(static_cast<size_t>(c.column), 1));
    auto on = std::find_if(t.begin(), t.end(), [&](const auto& x) { return x.text == c.line; });
    ASSERT_NE(on, t.end()) << "no line " << std::string(c.line.begin(), c.line.end());
    EXPECT_EQ(letter.rect.top, on->rect.top);
    EXPECT_EQ(letter.rect.left, on->rect.left + c.column * kCharWidth);
  }
  // No mnemonic, nothing underlined.
  zrui::DrawRecorder rec;
  RECT r{0, 0, 70, 100};
  DrawTextW(rec.dc(), u"um dois && tres", -1, &r, DT_WORDBREAK);
  for (const auto& x : rec.texts()) EXPECT_FALSE(x.underline);
}

TEST(DeviceContext, StateIsSavedRestoredAndCarriedByTextOps) {
  zrui::DrawRecorder rec;
  CDC* dc = CDC::FromHandle(rec.dc());
  CFont bold;
  bold.CreateFont(-13, 0, 0, 0, FW_BOLD, 0, 1, 0, 0, 0, 0, 0, 0, u"x");
  int saved = dc->SaveDC();
  dc->SelectObject(&bold);
  dc->SetTextColor(RGB(1, 2, 3));
  dc->SetBkMode(TRANSPARENT);
  dc->TextOut(5, 6, CString(u"a"));
  dc->RestoreDC(saved);
  dc->TextOut(5, 6, CString(u"b"));
  auto t = rec.texts();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_TRUE(t[0].bold);
  EXPECT_TRUE(t[0].underline);
  EXPECT_FALSE(t[0].opaque);
  EXPECT_EQ(t[0].color, RGB(1, 2, 3));
  EXPECT_FALSE(t[1].bold);
  EXPECT_TRUE(t[1].opaque);
  EXPECT_EQ(t[1].color, RGB(0, 0, 0));
  // FillSolidRect paints through the background colour, which it changes.
  dc->FillSolidRect(CRect(0, 0, 10, 10), RGB(9, 9, 9));
  EXPECT_EQ(dc->GetBkColor(), RGB(9, 9, 9));
  EXPECT_EQ(rec.fills().back().color, RGB(9, 9, 9));
  EXPECT_EQ(dc->GetTextExtent(CString(u"abcd")), CSize(28, 13));
}

TEST(DeviceContext, ViewportOriginAndClippingApplyToDrawing) {
  zrui::DrawRecorder rec;
  SetViewportOrgEx(rec.dc(), 100, 50, nullptr);
  IntersectClipRect(rec.dc(), 0, 0, 20, 20);
  RECT big{-10, -10, 40, 40};
  FillRect(rec.dc(), &big, GetSysColorBrush(COLOR_WINDOW));
  TextOutW(rec.dc(), 3, 4, u"x", 1);
  auto f = rec.fills();
  ASSERT_EQ(f.size(), 1u);
  EXPECT_EQ(f[0].rect.left, 100);
  EXPECT_EQ(f[0].rect.right, 120);
  EXPECT_EQ(rec.texts()[0].rect.left, 103);
}

TEST(GdiObjects, ObjectsAreReleasedWithTheirOwnersAndBadHandlesRefused) {
  int before = LiveGdiObjectCount();
  {
    CFont f;
    f.CreatePointFont(80, u"Mono");
    CBrush b(RGB(1, 1, 1));
    CBitmap bm;
    bm.CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(LiveGdiObjectCount(), before + 3);
    CFont* wrapper = CFont::FromHandle(f);
    EXPECT_EQ(static_cast<HFONT>(*wrapper), static_cast<HFONT>(f));
  }
  EXPECT_EQ(LiveGdiObjectCount(), before) << "wrappers do not own, owners delete";
  HGDIOBJ stale = CreateSolidBrush(0);
  EXPECT_TRUE(DeleteObject(stale));
  EXPECT_FALSE(DeleteObject(stale));
  EXPECT_EQ(BrushColor(static_cast<HBRUSH>(stale)), CLR_INVALID);
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))) << "stock objects ignore deletion";
  EXPECT_NE(BrushColor(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), CLR_INVALID);
}

TEST(Bitmaps, MemoryDcsDrawOnSelectedBitmapsAndCopyThem) {
  CDC mem;
  ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
  CBitmap a, b;
  a.CreateBitmap(3, 2, 1, 32, nullptr);
  b.CreateBitmap(3, 2, 1, 32, nullptr);
  CBitmap* old = mem.SelectObject(&a);
  mem.FillSolidRect(CRect(0, 0, 3, 2), RGB(10, 20, 30));
  mem.SetPixel(1, 1, RGB(255, 0, 0));
  CDC other;
  other.CreateCompatibleDC(nullptr);
  other.SelectObject(&b);
  other.BitBlt(0, 0, 3, 2, &mem, 0, 0, SRCCOPY);
  mem.SelectObject(old);
  EXPECT_EQ(GetBitmapPixel(b, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(GetBitmapPixel(b, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(b.GetBitmapDimension(), CSize(3, 2));
  auto px = PixelsFromArt({u"RG", u"GR"}, {{u'R', RGB(255, 0, 0)}, {u'G', RGB(0, 255, 0)}});
  ASSERT_EQ(px.size(), 4u);
  EXPECT_EQ(px[3], RGB(255, 0, 0));
}

}  // namespace
