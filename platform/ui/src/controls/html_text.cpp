// The HTML subset of tooltips: <b>/<strong>, <i>/<em>, <br>, <p> and five
// entities; other tags are dropped.
#include "zrui/htmltext.h"

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
