#include "terminal.h"

#include <libguile.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <mutex>

#include "scheme_guard.h"

namespace zrhost {

namespace {
bool readlineAvailable = false;
std::mutex output;  // boxes may come from the module's other threads
}

bool interactive() { return isatty(STDIN_FILENO) == 1; }

void setReadlineAvailable(bool available) { readlineAvailable = available; }

void printOut(const std::string& text) {
  std::lock_guard lock(output);
  flushSchemePorts();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void printErr(const std::string& text) {
  std::lock_guard lock(output);
  flushSchemePorts();
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

std::optional<std::string> askLine(const std::string& prompt) {
  if (readlineAvailable && onSchemeThread()) {
    // readline reads the terminal itself, past the console port's buffer,
    // which may still hold the end of the line that made this call.
    SCM readline = scm_c_public_ref("ice-9 readline", "readline");
    SCM line = SCM_BOOL_F;
    flushSchemePorts();
    if (schemeApply(readline, scm_list_1(scm_from_utf8_string(prompt.c_str())), &line, "reading an answer") &&
        scm_is_string(line)) {
      char* utf8 = scm_to_utf8_string(line);
      std::string answer(utf8);
      free(utf8);
      return answer;
    }
    return std::nullopt;
  }
  printOut(prompt);
  std::string answer;
  if (!std::getline(std::cin, answer)) return std::nullopt;
  return answer;
}

}  // namespace zrhost
