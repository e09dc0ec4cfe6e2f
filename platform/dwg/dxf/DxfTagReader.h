#pragma once
// Reads the group-code/value pairs of an ASCII DXF file, line by line, in chunks,
// so that a drawing is never held twice in memory. Values are the file's bytes
// without their line end ("\n" or "\r\n").

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "zrdwg/LargeArray.h"

class DxfTagReader {
 public:
  // Throws OdError(eCantOpenFile) when the file cannot be opened.
  static std::unique_ptr<DxfTagReader> openFile(const std::string& path, const std::string& displayName);
  static std::unique_ptr<DxfTagReader> fromText(std::string_view text, const std::string& displayName);
  ~DxfTagReader();

  // Moves to the next tag; false at the end of the input. Throws OdError
  // (eBadDxfFile, naming file and line) for a group code that is not a number or
  // a code without its value line, and eUnsupportedFileFormat for binary DXF.
  bool next() {
    if (pushedBack_) {
      pushedBack_ = false;
      return true;
    }
    return nextInBuffer() || nextSlow();
  }
  // Makes the next call to next() return the current tag again.
  void pushBack() { pushedBack_ = true; }

  int code() const { return code_; }
  std::string_view value() const { return value_; }
  // Line number (from 1) of the current tag's group code.
  std::size_t line() const { return codeLine_; }
  bool crlf() const { return crlf_; }
  bool bom() const { return bom_; }
  const std::string& name() const { return name_; }

  // Throws OdError(eBadDxfFile) with "<file>:<line>: <message>".
  [[noreturn]] void fail(const std::string& message, std::size_t line) const;
  [[noreturn]] void fail(const std::string& message) const { fail(message, codeLine_); }

  // A value as messages quote it: at most 60 bytes ("..." after a cut), control
  // characters shown as "?", so that a hostile value cannot flood or garble a message.
  static std::string shown(std::string_view value);

  // Longest group-code line accepted: a code is at most six characters plus
  // padding, so anything longer is refused before it is buffered whole.
  static constexpr std::size_t kMaxCodeLine = 256;

 private:
  DxfTagReader(std::FILE* file, std::string_view text, std::string displayName);
  // Reads one line; refuses a line longer than limit bytes.
  bool readLine(std::string_view& line, std::size_t limit);
  // The common case, without a call: a plain group code ("  5", "1000",
  // "-3") and its value, both whole in the buffer. False, having consumed
  // nothing, for anything else (the buffer's end, padding by tabs, a line
  // that is no number), which nextSlow() reads or refuses.
  bool nextInBuffer() {
    if (!started_) return false;
    const char* p = buf_.data() + pos_;
    const char* const end = buf_.data() + end_;
    const char* value = nullptr;
    int code = 0;
    if (end - p >= 5) {
      // Most code lines are three characters wide, right-aligned ("  0",
      // " 10", "330"): read without a loop.
      const unsigned d0 = static_cast<unsigned char>(p[0]) - '0', d1 = static_cast<unsigned char>(p[1]) - '0',
                     d2 = static_cast<unsigned char>(p[2]) - '0';
      const bool digit0 = d0 < 10, digit1 = d1 < 10;
      const bool wellFormed = d2 < 10 && (digit1 ? digit0 || p[0] == ' ' : p[0] == ' ' && p[1] == ' ');
      if (wellFormed) {
        if (p[3] == '\n') value = p + 4;
        else if (p[3] == '\r' && p[4] == '\n') value = p + 5;
        if (value) code = static_cast<int>((digit0 ? d0 : 0) * 100 + (digit1 ? d1 : 0) * 10 + d2);
        // Four digits (extended data: "1000", "1001", "1040").
        const unsigned d3 = static_cast<unsigned char>(p[3]) - '0';
        if (!value && digit0 && digit1 && d3 < 10 && p[4] == '\n') {
          value = p + 5;
          code = static_cast<int>(d0 * 1000 + d1 * 100 + d2 * 10 + d3);
        }
      }
    }
    if (!value) {
      const char* const limit = p + 16 < end ? p + 16 : end;  // no code line is longer
      while (p < limit && *p == ' ') ++p;
      bool negative = false;
      if (p < limit && *p == '-') negative = true, ++p;
      const char* digits = p;
      // Six digits at most are taken: more are no group code (and would overflow).
      while (p < limit && p - digits < 6 && static_cast<unsigned>(*p - '0') < 10) code = code * 10 + (*p++ - '0');
      if (p == digits || p - digits > 5) return false;
      while (p < limit && *p == ' ') ++p;
      while (p < limit && *p == '\r') ++p;
      if (p == limit || *p != '\n') return false;
      value = p + 1;
      if (negative) code = -code;
      if (code < -32768 || code > 32767) return false;
    }
    const char* const nl = lineEnd(value, end);
    if (!nl) return false;
    const char* valueEnd = nl;
    while (valueEnd > value && valueEnd[-1] == '\r') --valueEnd;
    code_ = code;
    value_ = std::string_view(value, static_cast<std::size_t>(valueEnd - value));
    codeLine_ = lineNo_ + 1;
    lineNo_ += 2;
    pos_ = static_cast<std::size_t>(nl + 1 - buf_.data());
    return true;
  }
  // The first '\n' in [p, end), or null. Most values are a few bytes: eight
  // at a time are looked at in place (a byte equal to '\n' found as a zero
  // byte of the word XOR '\n'; the lowest flag is exact), a long value is
  // left to memchr.
  static const char* lineEnd(const char* p, const char* end) {
    constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    for (int words = 0; words < 8 && end - p >= 8; ++words, p += 8) {
      uint64_t w;
      std::memcpy(&w, p, sizeof w);
      w ^= kOnes * '\n';
      const uint64_t zero = (w - kOnes) & ~w & kHighs;
      if (zero) return p + (__builtin_ctzll(zero) >> 3);
    }
    return static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
  }
  bool nextSlow();
  void start();

  std::FILE* file_ = nullptr;
  std::string name_;
  // A large array: the 1 MB a file is read through is one huge page, not
  // 256 small ones to fault in.
  LargeArray<char> buf_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool started_ = false;
  std::size_t lineNo_ = 0;

  int code_ = 0;
  std::string_view value_;
  std::size_t codeLine_ = 0;
  bool pushedBack_ = false;
  bool lastLineUnterminated_ = false;
  bool crlf_ = false;
  bool bom_ = false;
};
