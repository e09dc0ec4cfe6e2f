// DrawTextW: alignment, line breaks, word wrap, end ellipsis and '&' prefixes.
#include <algorithm>
#include <vector>

#include "gdi/gdi_objects.h"
#include "zrui/cellwidth.h"
#include "zrui/winapi.h"

namespace {

// Removes the '&' prefixes ("&&" is one '&'); *mnemonic is the index in the
// result of the character a single '&' marks (the first one), else npos.
std::u16string StripPrefixes(std::u16string_view s, size_t* mnemonic) {
  std::u16string out;
  *mnemonic = std::u16string::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'&') {
      if (i + 1 < s.size() && s[i + 1] == u'&') {
        out += u'&';
        ++i;
      } else if (i + 1 < s.size() && *mnemonic == std::u16string::npos) {
        *mnemonic = out.size();
      }
      continue;
    }
    out += s[i];
  }
  return out;
}

// Draws one character in the DC's font underlined: the mnemonic of a caption.
void TextOutUnderlined(HDC dc, int x, int y, char16_t ch) {
  LOGFONTW lf;
  HGDIOBJ current = GetCurrentObject(dc, OBJ_FONT);
  if (current) GetObjectW(current, sizeof lf, &lf);
  lf.lfUnderline = 1;
  HFONT underlined = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, underlined);
  TextOutW(dc, x, y, &ch, 1);
  SelectObject(dc, old);
  DeleteObject(underlined);
}

std::vector<std::u16string> SplitLines(const std::u16string& s, bool single) {
  std::vector<std::u16string> lines;
  std::u16string cur;
  for (char16_t c : s) {
    if (c == u'\r') continue;
    if (c == u'\n' && !single) {
      lines.push_back(cur);
      cur.clear();
      continue;
    }
    cur += c;
  }
  lines.push_back(cur);
  return lines;
}

// Breaks lines longer than maxCells cells at the last space that lets the
// start fit, else (one long word) where the cells run out.
std::vector<std::u16string> Wrap(const std::vector<std::u16string>& lines, int maxCells) {
  if (maxCells <= 0) return lines;
  std::vector<std::u16string> out;
  for (const auto& line : lines) {
    std::u16string rest = line;
    while (zrui::TextCells(rest) > maxCells) {
      const size_t fits = zrui::FitCells(rest, maxCells);
      size_t cut = rest.rfind(u' ', fits);
      if (cut == std::u16string::npos || cut == 0) cut = std::max<size_t>(fits, 1);
      out.push_back(rest.substr(0, cut));
      rest = rest.substr(cut);
      if (!rest.empty() && rest[0] == u' ') rest.erase(0, 1);
    }
    out.push_back(rest);
  }
  return out;
}

}  // namespace

int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* r, UINT format) {
  if (!text || !r) return 0;
  std::u16string_view raw(text, count < 0 ? std::char_traits<char16_t>::length(text) : static_cast<size_t>(count));
  size_t mnemonic = std::u16string::npos;
  std::u16string s = (format & DT_NOPREFIX) ? std::u16string(raw) : StripPrefixes(raw, &mnemonic);
  bool single = (format & DT_SINGLELINE) != 0;
  // The mnemonic rides through the line breaks and the wrapping as a mark in
  // its place (a private-use character, as wide as any other), so that its
  // line and column are found where the lines end up. A space or a line
  // break stays as it is: it decides where lines break.
  constexpr char16_t kMark = u'\uE000';
  char16_t marked = 0;
  if (mnemonic != std::u16string::npos && s[mnemonic] > u' ') {
    marked = s[mnemonic];
    s[mnemonic] = kMark;
  }
  auto lines = SplitLines(s, single);
  int width = r->right - r->left;
  if ((format & DT_WORDBREAK) && !single) lines = Wrap(lines, width / kCharWidth);
  size_t mnemonicLine = 0;
  mnemonic = std::u16string::npos;
  for (size_t n = 0; marked && n < lines.size() && mnemonic == std::u16string::npos; ++n) {
    const size_t at = lines[n].find(kMark);
    if (at == std::u16string::npos) continue;
    lines[n][at] = marked;
    mnemonic = at;
    mnemonicLine = n;
  }
  int textHeight = static_cast<int>(lines.size()) * kCharHeight;

  if (format & DT_CALCRECT) {
    int longest = 0;
    for (const auto& l : lines) longest = std::max(longest, zrui::TextCells(l));
    r->right = r->left + static_cast<LONG>(longest) * kCharWidth;
    r->bottom = r->top + textHeight;
    return textHeight;
  }

  int y = r->top;
  if (single && (format & DT_VCENTER)) y = r->top + (r->bottom - r->top - kCharHeight) / 2;
  else if (single && (format & DT_BOTTOM)) y = r->bottom - kCharHeight;

  int saved = SaveDC(dc);
  if (!(format & DT_NOCLIP)) IntersectClipRect(dc, r->left, r->top, r->right, r->bottom);
  for (size_t n = 0; n < lines.size(); ++n) {
    std::u16string line = lines[n];
    int maxCells = width / kCharWidth;
    size_t shown = line.size();
    if ((format & DT_END_ELLIPSIS) && zrui::TextCells(line) > maxCells) {
      shown = zrui::FitCells(line, std::max(maxCells - 3, 0));
      line = line.substr(0, shown) + u"...";
    }
    int tw = zrui::TextCells(line) * kCharWidth;
    int x = r->left;
    if (format & DT_CENTER) x = r->left + (width - tw) / 2;
    else if (format & DT_RIGHT) x = r->right - tw;
    TextOutW(dc, x, y, line.c_str(), static_cast<int>(line.size()));
    if (n == mnemonicLine && mnemonic < shown)
      TextOutUnderlined(dc, x + zrui::TextCells(std::u16string_view(line).substr(0, mnemonic)) * kCharWidth, y,
                        line[mnemonic]);
    y += kCharHeight;
  }
  RestoreDC(dc, saved);
  return textHeight;
}
