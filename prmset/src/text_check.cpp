// Whole-file reading and the checks of text lines (UTF-8, length, NUL bytes).

#include "text_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace prmset {
namespace {

// Settings and texts files are small; anything much larger is another file.
constexpr std::size_t kMaxFile = 1 << 20;

// The length of the UTF-8 sequence at s[i], or 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF are refused).
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  return length;
}

// What is wrong with one line (without its line end); empty when nothing.
std::string LineProblem(std::string_view line) {
  if (line.find('\0') != std::string_view::npos) return "a NUL byte: not a text file";
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t n = Utf8Length(line, i);
    if (n == 0) return "not UTF-8 text: save the file as UTF-8";
    i += n;
  }
  if (line.size() > kMaxIniLine) return "longer than " + std::to_string(kMaxIniLine) + " bytes";
  return {};
}

// Calls visit(number, line, problem) for each line; stops when it returns false.
template <class Visit>
void ForEachLine(const std::string& text, Visit visit) {
  std::size_t number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // A UTF-8 byte order mark is not part of the first line's text.
    if (number == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (!visit(++number, start, end, LineProblem(line))) return;
    start = end + 1;
  }
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* text, std::string* why) {
  text->clear();
  // Without blocking: a pipe in the file's place must not hang the host.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    *why = std::strerror(errno);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *why = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    ::close(fd);
    return false;
  }
  char buffer[8192];
  for (;;) {
    if (text->size() > kMaxFile) {
      *why = "larger than " + std::to_string(kMaxFile / 1024) + " kB, not a settings file";
      ::close(fd);
      text->clear();
      return false;
    }
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *why = std::strerror(errno);  // a folder fails here with "Is a directory"
      ::close(fd);
      text->clear();
      return false;
    }
    if (n == 0) break;
    text->append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

std::size_t FirstBadLine(const std::string& text, std::string* why) {
  why->clear();
  if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
    *why = "UTF-16 text: save the file as UTF-8";
    return 1;
  }
  std::size_t bad = 0;
  ForEachLine(text, [&](std::size_t number, std::size_t, std::size_t, const std::string& problem) {
    if (problem.empty()) return true;
    bad = number;
    *why = problem;
    return false;
  });
  return bad;
}

std::string WithoutBadLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  ForEachLine(text, [&](std::size_t, std::size_t start, std::size_t end, const std::string& problem) {
    if (problem.empty()) out.append(text, start, end - start);
    if (end < text.size()) out += '\n';
    return true;
  });
  return out;
}

}  // namespace prmset
