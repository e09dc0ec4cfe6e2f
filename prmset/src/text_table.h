// The interface texts: the table shipped inside the library and the
// textos.ini files of the settings folders, which override it.
#pragma once

#include <optional>
#include <string>

namespace prmset {

// The text of (program, module key, code), or none. Sources are searched in
// order: each settings folder's textos.ini, then the shipped table; in each,
// the section "[program/MODULE]" before "[MODULE]". Program and module are
// compared ignoring ASCII case; the code exactly, after trimming blanks.
// "\n", "\t" and "\\" in a value stand for a line break, a tab and a backslash.
// A textos.ini that cannot be read is passed over; in one that can, lines
// that are malformed or not UTF-8 text are passed over.
std::optional<std::string> FindText(const std::string& program, const std::string& module_key,
                                    const std::string& code);

// The shipped table, as text (generated from texts/textos.ini).
extern const char* const kShippedTexts;

}  // namespace prmset
