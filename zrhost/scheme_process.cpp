#include "scheme_process.h"

#include <dirent.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "scheme_guard.h"
#include "scheme_registry.h"

namespace zrhost {
namespace {

struct ProcessMemory {
  std::int64_t residentKb = 0;      // VmRSS: resident set now
  std::int64_t peakResidentKb = 0;  // VmHWM: the largest resident set so far
};

// The value in kB of the line "name:   N kB" of status text.
std::optional<std::int64_t> kilobytesOf(const std::string& text, const std::string& name) {
  const std::string label = name + ":";
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (text.compare(at, label.size(), label) == 0) {
      std::size_t p = at + label.size();
      while (p < end && (text[p] == ' ' || text[p] == '\t')) ++p;
      std::int64_t value = 0;
      const auto [stop, error] = std::from_chars(text.data() + p, text.data() + end, value);
      if (error != std::errc() || stop == text.data() + p || value < 0) return std::nullopt;
      if (text.compare(static_cast<std::size_t>(stop - text.data()), 3, " kB") != 0) return std::nullopt;
      return value;
    }
    at = end + 1;
  }
  return std::nullopt;
}

// The two figures of /proc/self/status text; empty when either is missing.
std::optional<ProcessMemory> parseProcessStatus(const std::string& statusText) {
  const std::optional<std::int64_t> rss = kilobytesOf(statusText, "VmRSS");
  const std::optional<std::int64_t> peak = kilobytesOf(statusText, "VmHWM");
  if (!rss || !peak) return std::nullopt;
  return ProcessMemory{*rss, *peak};
}

SCM processMemory() {
  return schemeGuard("process-memory", [&]() -> SCM {
    std::ifstream file("/proc/self/status");
    if (!file) throw SchemeFailure("host-error", "cannot read /proc/self/status");
    std::ostringstream text;
    text << file.rdbuf();
    const std::optional<ProcessMemory> memory = parseProcessStatus(text.str());
    if (!memory) throw SchemeFailure("host-error", "/proc/self/status holds no VmRSS and VmHWM figures");
    return scm_list_2(scm_cons(scm_from_utf8_symbol("rss"), scm_from_int64(memory->residentKb)),
                      scm_cons(scm_from_utf8_symbol("peak-rss"), scm_from_int64(memory->peakResidentKb)));
  });
}

SCM processOpenFiles() {
  return schemeGuard("process-open-files", [&]() -> SCM {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) throw SchemeFailure("host-error", std::string("cannot list /proc/self/fd: ") + std::strerror(errno));
    const int own = dirfd(dir);
    long count = 0;
    while (const dirent* entry = readdir(dir)) {
      if (entry->d_name[0] == '.') continue;
      // The descriptor that reads the listing is not one of the process's.
      if (std::atoi(entry->d_name) == own) continue;
      ++count;
    }
    closedir(dir);
    return scm_from_long(count);
  });
}

// The width of the terminal on standard output, else $COLUMNS, else 80.
SCM terminalColumns() {
  return schemeGuard("terminal-columns", [&]() -> SCM {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return scm_from_int(size.ws_col);
    const char* columns = std::getenv("COLUMNS");
    int value = 0;
    if (columns) std::from_chars(columns, columns + std::strlen(columns), value);
    return scm_from_int(value > 0 ? value : 80);
  });
}

// The height of the terminal on standard output, or 0 when it is no
// terminal (output that nobody reads page by page).
SCM terminalRows() {
  return schemeGuard("terminal-rows", [&]() -> SCM {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0) return scm_from_int(size.ws_row);
    return scm_from_int(0);
  });
}

const SchemeProcedure kProcedures[] = {
    {"terminal-columns", 0, 0, false, subr(terminalColumns),
     "(terminal-columns): the width in characters of the terminal that zrhost writes to ($COLUMNS or 80 "
     "when standard output is no terminal)."},
    {"terminal-rows", 0, 0, false, subr(terminalRows),
     "(terminal-rows): the height in lines of the terminal that zrhost writes to (0 when standard output "
     "is no terminal)."},
    {"process-memory", 0, 0, false, subr(processMemory),
     "(process-memory): the memory of the zrhost process in kilobytes, as an association list: rss (the "
     "resident set now) and peak-rss (the largest it has been). Run (gc) first to measure what is kept."},
    {"process-open-files", 0, 0, false, subr(processOpenFiles),
     "(process-open-files): how many file descriptors the zrhost process holds open (files, sockets, "
     "pipes, the standard streams)."},
};

}  // namespace

void initProcessProcedures() { defineProcedures(kProcedures); }

}  // namespace zrhost
