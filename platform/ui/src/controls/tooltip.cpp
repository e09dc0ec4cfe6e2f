// The tooltip window class: parses its text as the HTML subset, sizes itself
// to it and paints bold and italic runs.
#include "controls/builtin.h"
#include "zrui/commctrl.h"
#include "zrui/tooltip.h"

namespace zrui {
namespace {

void AppendText(std::vector<HtmlLine>& lines, const std::u16string& text, bool bold, bool italic) {
  if (text.empty()) return;
  HtmlLine& line = lines.back();
  if (!line.empty() && line.back().bold == bold && line.back().italic == italic) line.back().text += text;
  else line.push_back(HtmlRun{text, bold, italic});
}

std::u16string Lower(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

}  // namespace

std::vector<HtmlLine> ParseTooltipHtml(const std::u16string& html) {
  std::vector<HtmlLine> lines(1);
  int bold = 0, italic = 0;
  std::u16string text;
  auto flush = [&] {
    AppendText(lines, text, bold > 0, italic > 0);
    text.clear();
  };
  for (size_t i = 0; i < html.size(); ++i) {
    char16_t c = html[i];
    if (c == u'<') {
      size_t end = html.find(u'>', i);
      if (end == std::u16string::npos) {
        text += html.substr(i);  // an unclosed '<' is text
        break;
      }
      std::u16string tag = Lower(html.substr(i + 1, end - i - 1));
      while (!tag.empty() && (tag.back() == u'/' || tag.back() == u' ')) tag.pop_back();
      flush();
      if (tag == u"b" || tag == u"strong") ++bold;
      else if ((tag == u"/b" || tag == u"/strong") && bold > 0) --bold;
      else if (tag == u"i" || tag == u"em") ++italic;
      else if ((tag == u"/i" || tag == u"/em") && italic > 0) --italic;
      else if (tag == u"br" || tag == u"p" || tag == u"/p") {
        if (!(tag == u"p" && lines.size() == 1 && lines.back().empty())) lines.emplace_back();
      }
      i = end;
      continue;
    }
    if (c == u'&') {
      static const std::pair<const char16_t*, char16_t> entities[] = {
          {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}, {u"&quot;", u'"'}, {u"&nbsp;", u' '}};
      bool matched = false;
      for (auto [name, ch] : entities) {
        std::u16string n = name;
        if (html.compare(i, n.size(), n) == 0) {
          text += ch;
          i += n.size() - 1;
          matched = true;
          break;
        }
      }
      if (matched) continue;
    }
    if (c == u'\n' || c == u'\r') c = u' ';
    text += c;
  }
  flush();
  while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

std::u16string TooltipPlainText(const std::u16string& html) {
  std::u16string out;
  auto lines = ParseTooltipHtml(html);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) out += u'\n';
    for (const auto& run : lines[i]) out += run.text;
  }
  return out;
}

}  // namespace zrui

namespace zrui::detail {
namespace {

struct TipState {
  std::u16string html;
  std::vector<HtmlLine> lines;
};

SIZE Measure(const TipState* s) {
  size_t width = 0;
  for (const auto& line : s->lines) {
    size_t n = 0;
    for (const auto& run : line) n += run.text.size();
    width = std::max(width, n);
  }
  return SIZE{static_cast<LONG>(width + 2) * kCharWidth, static_cast<LONG>(s->lines.size()) * kCharHeight};
}

void Paint(HWND h, TipState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
  int y = 0;
  for (const auto& line : s->lines) {
    int x = kCharWidth;
    for (const auto& run : line) {
      LOGFONTW lf;
      lf.lfWeight = run.bold ? FW_BOLD : FW_NORMAL;
      lf.lfItalic = run.italic ? 1 : 0;
      HFONT f = CreateFontIndirectW(&lf);
      SelectObject(dc, f);
      TextOutW(dc, x, y, run.text.c_str(), static_cast<int>(run.text.size()));
      SelectObject(dc, old);
      DeleteObject(f);
      x += static_cast<int>(run.text.size()) * kCharWidth;
    }
    y += kCharHeight;
  }
  EndPaint(h, &ps);
}

}  // namespace

LRESULT CALLBACK TooltipProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<TipState>(h);
  if (!s) {
    if (msg == WM_NCCREATE) SetControlState(h, std::make_shared<TipState>());
    return DefWindowProcW(h, msg, w, l);
  }
  switch (msg) {
    case WM_SETTEXT: {
      s->html = l ? reinterpret_cast<LPCWSTR>(l) : u"";
      s->lines = ParseTooltipHtml(s->html);
      SIZE size = Measure(s);
      SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(h, nullptr, TRUE);
      return DefWindowProcW(h, msg, w, l);
    }
    case TTM_POP: ShowWindow(h, SW_HIDE); return 0;
    case TTM_TRACKPOSITION:
      SetWindowPos(h, nullptr, GET_X_LPARAM(l), GET_Y_LPARAM(l), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    case TTM_TRACKACTIVATE: ShowWindow(h, w ? SW_SHOWNA : SW_HIDE); return 0;
    case TTM_UPDATETIPTEXTW: {
      auto* ti = reinterpret_cast<const TTTOOLINFOW*>(l);
      if (ti && ti->lpszText) SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ti->lpszText));
      return 0;
    }
    case WM_MOUSEACTIVATE: return 3;  // MA_NOACTIVATE
    case WM_PAINT: Paint(h, s); return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
