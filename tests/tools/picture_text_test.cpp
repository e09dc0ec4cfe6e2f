// The text a picture is made of: drawing texts made safe for XML, numbers,
// element ids from fingerprints, and the picture files of several drawings.
#include <gtest/gtest.h>

#include "drawing_picture.h"
#include "finding_marks.h"
#include "svg_text.h"

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(PictureText, DrawingTextsReachTheDocumentEscapedAndValid) {
  const struct {
    const char* what;
    std::string in, out;
  } cases[] = {
      {"markup", "<a href=\"x\">&'", "&lt;a href=&quot;x&quot;&gt;&amp;&#39;"},
      {"accents and emoji", "Conexão \xF0\x9F\x94\x8C", "Conexão \xF0\x9F\x94\x8C"},
      {"tab and line breaks", "a\tb\nc\r", "a\tb\nc\r"},
      {"C0 controls and escape", std::string("a\x01\x1b[31m", 7), "a" + kReplacement + kReplacement + "[31m"},
      {"NUL", std::string("a\0b", 3), "a" + kReplacement + "b"},
      {"a sequence cut short", "ab\xC3", "ab" + kReplacement},
      {"an overlong slash", "\xC0\xAF", kReplacement + kReplacement},
      {"a lone surrogate", "\xED\xA0\x80", kReplacement + kReplacement + kReplacement},
      {"a non-character", "\xEF\xBF\xBE", kReplacement},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},
  };
  for (const auto& c : cases) EXPECT_EQ(picture::xmlText(c.in), c.out) << c.what;
}

TEST(PictureText, NumbersReadBackAsWrittenAndNeverAsNanOrMinusZero) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0.1, "0.1"}, {-12.5, "-12.5"}, {-0.0, "0"}, {1e300, "1e+300"}, {NAN, "0"}, {INFINITY, "0"}};
  for (const auto& c : cases) EXPECT_EQ(picture::number(c.value), c.text) << c.value;
  std::string pixels;
  picture::appendPixels(pixels, 12.3456);
  EXPECT_EQ(pixels, "12.35");
}

TEST(PictureText, EveryFindingGetsItsOwnIdFromItsFingerprint) {
  Findings findings(4);
  findings[0].fingerprint = "0c5e";
  findings[1].fingerprint = "0c5e";  // two symbols of one pin: the same fingerprint
  findings[2].fingerprint = "";
  findings[3].fingerprint = "a b\"<";
  EXPECT_EQ(picture::findingIds(findings), (std::vector<std::string>{"f-0c5e", "f-0c5e-2", "f-3", "f-a_b__"}));
}

TEST(PictureText, SeveralDrawingsAddTheirStemsToThePictureFile) {
  const struct {
    const char* path;
    const char* drawing;
    std::size_t count;
    const char* file;
  } cases[] = {
      {"out/report.svg", "sheets/s1.dxf", 1, "out/report.svg"},
      {"out/report.svg", "sheets/s1.dxf", 2, "out/report-s1.svg"},
      {"report.html", "/abs/Sheet Two.DXF", 3, "report-Sheet Two.html"},
      {"report.html", "-", 2, "report-stdin.html"},
      {"noextension", "a.dxf", 2, "noextension-a"},
  };
  for (const auto& c : cases) EXPECT_EQ(picture::picturePathFor(c.path, c.drawing, c.count), c.file) << c.path;
  EXPECT_EQ(picture::formatOf("x.HTM"), picture::PictureFormat::kHtml);
  EXPECT_EQ(picture::formatOf("x.html.svg"), picture::PictureFormat::kSvg);
}

}  // namespace
