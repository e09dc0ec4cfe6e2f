// The check that a statement text holds one statement only.
#pragma once

#include <string_view>

namespace zrado {

// True when text is one SQL statement: no ';' outside quoted strings,
// quoted identifiers and comments, other than one ending the text
// (followed by nothing but blanks and comments). Strings and identifiers
// end at their closing quote (a doubled quote stays inside) and block
// comments at the first "*/". The text must pass when read both with and
// without backslash escapes in strings, so that no database reading it
// either way can find a second statement in it; text the check cannot read
// both ways alike is refused, never passed.
bool IsSingleStatement(std::u16string_view text);

}  // namespace zrado
