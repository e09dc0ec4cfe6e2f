#include "message_box_responder.h"

#ifdef ZRHOST_HAVE_ZRUI

#include <string>
#include <vector>

#include "zrdwg/OdString.h"
#include "scheme_guard.h"
#include "terminal.h"
#include "zrui/msgbox.h"

namespace zrhost {
namespace {

struct Button {
  int id;
  const char* label;
};

constexpr Button kButtons[] = {{IDOK, "OK"},         {IDCANCEL, "Cancel"}, {IDABORT, "Abort"}, {IDRETRY, "Retry"},
                               {IDIGNORE, "Ignore"}, {IDYES, "Yes"},       {IDNO, "No"}};

std::string labelOf(int id) {
  for (const Button& b : kButtons)
    if (b.id == id) return b.label;
  return std::to_string(id);
}

std::string utf8(const std::u16string& text) { return OdString(text).toUtf8(); }

// Asks until the answer names one of the buttons (by its label or first
// letter, any case); an empty line takes the default. Input that ends gives
// the fallback.
int askButton(const std::vector<int>& answers, int defaultAnswer, int fallback) {
  std::string prompt = "  answer";
  for (int id : answers) prompt += (id == defaultAnswer ? " [" : " ") + labelOf(id) + (id == defaultAnswer ? "]" : "");
  prompt += ": ";
  for (;;) {
    std::optional<std::string> line = askLine(prompt);
    if (!line) return fallback;
    std::string word;
    for (char c : *line)
      if (c != ' ' && c != '\t' && c != '\r') word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (word.empty()) return defaultAnswer;
    for (int id : answers) {
      std::string label = labelOf(id);
      for (char& c : label) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      if (word == label || (word.size() == 1 && word[0] == label[0])) return id;
    }
  }
}

int respond(const zrui::MessageBoxInfo& info) {
  // The toolkit also keeps every box shown for tests to read; a long console
  // session should not pile them up.
  zrui::TakeShownMessageBoxes();
  std::string text(1, '[');
  text += utf8(info.caption);
  text += "]\n";
  std::string body = utf8(info.text);
  std::size_t start = 0;
  while (start <= body.size()) {
    const std::size_t end = body.find('\n', start);
    text += "  " + body.substr(start, end == std::string::npos ? std::string::npos : end - start) + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  const std::vector<int> answers = info.answers();
  const bool yesNo = info.buttons() == MB_YESNO || info.buttons() == MB_YESNOCANCEL;
  int answer = info.defaultAnswer();
  if (answers.size() > 1 && interactive() && onSchemeThread()) {
    printOut(text);
    answer = askButton(answers, info.defaultAnswer(), yesNo ? IDNO : info.defaultAnswer());
    return answer;
  }
  if (yesNo) answer = IDNO;
  printOut(text + "  -> " + labelOf(answer) + "\n");
  return answer;
}

}  // namespace

void installMessageBoxResponder() { zrui::SetMessageBoxResponder(respond); }
void removeMessageBoxResponder() { zrui::SetMessageBoxResponder(nullptr); }

}  // namespace zrhost

#else

namespace zrhost {
// Built without the window toolkit: the module cannot show boxes either.
void installMessageBoxResponder() {}
void removeMessageBoxResponder() {}
}  // namespace zrhost

#endif
