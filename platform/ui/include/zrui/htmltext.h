// The small HTML subset that tooltips show: <b>, <i>, <br> and the entities
// &lt; &gt; &amp; &quot; &nbsp;; other tags are dropped. Control level: the
// tooltip window class parses with it, the C++ layer only re-exports it.
#pragma once

#include <string>
#include <vector>

namespace zrui {

struct HtmlRun {
  std::u16string text;
  bool bold = false;
  bool italic = false;
};
using HtmlLine = std::vector<HtmlRun>;

// Splits the HTML subset into lines of styled runs.
std::vector<HtmlLine> ParseTooltipHtml(const std::u16string& html);
// The text without markup, lines joined by '\n'.
std::u16string TooltipPlainText(const std::u16string& html);

}  // namespace zrui
