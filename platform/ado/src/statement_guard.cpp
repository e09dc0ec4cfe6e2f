// Scanning statement text for a second statement.

#include "statement_guard.h"

namespace zrado {
namespace {

bool Blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

// One reading of the text; with backslash_escapes a backslash in a string
// keeps the next character inside it (PostgreSQL without
// standard_conforming_strings, or in E'' strings).
bool OneStatementWhenReadAs(std::u16string_view text, bool backslash_escapes) {
  enum class State { kCode, kString, kIdentifier, kLineComment, kBlockComment };
  State state = State::kCode;
  bool ended = false;  // a ';' was met: only blanks and comments may follow
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
    switch (state) {
      case State::kCode:
        if (c == u'-' && next == u'-') {
          state = State::kLineComment;
          ++i;
        } else if (c == u'/' && next == u'*') {
          state = State::kBlockComment;
          ++i;
        } else if (ended) {
          if (!Blank(c) && c != u';') return false;
        } else if (c == u'\'') {
          state = State::kString;
        } else if (c == u'"') {
          state = State::kIdentifier;
        } else if (c == u';') {
          ended = true;
        }
        break;
      case State::kString:
        if (backslash_escapes && c == u'\\') {
          ++i;
        } else if (c == u'\'') {
          if (next == u'\'')
            ++i;
          else
            state = State::kCode;
        }
        break;
      case State::kIdentifier:
        if (c == u'"') {
          if (next == u'"')
            ++i;
          else
            state = State::kCode;
        }
        break;
      case State::kLineComment:
        if (c == u'\n' || c == u'\r') state = State::kCode;
        break;
      case State::kBlockComment:
        if (c == u'*' && next == u'/') {
          state = State::kCode;
          ++i;
        }
        break;
    }
  }
  return true;
}

}  // namespace

bool IsSingleStatement(std::u16string_view text) {
  return OneStatementWhenReadAs(text, false) && OneStatementWhenReadAs(text, true);
}

}  // namespace zrado
