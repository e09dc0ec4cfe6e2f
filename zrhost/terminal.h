#pragma once
// The terminal as C++ code of the host uses it: output that keeps its place
// among what Scheme printed, and questions to the person at the console.

#include <optional>
#include <string>

namespace zrhost {

// True when standard input is a terminal: a person can answer questions.
bool interactive();

// Writes text to standard output after whatever Scheme has printed so far.
void printOut(const std::string& text);
void printErr(const std::string& text);

// Asks the person at the terminal (line editing when the console has it);
// nothing when input has ended.
std::optional<std::string> askLine(const std::string& prompt);

// Lets askLine read through the console's readline, once it is loaded.
void setReadlineAvailable(bool available);

}  // namespace zrhost
