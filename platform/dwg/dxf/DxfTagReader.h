#pragma once
// Reads the group-code/value pairs of an ASCII DXF file, line by line, in chunks,
// so that a drawing is never held twice in memory. Values are the file's bytes
// without their line end ("\n" or "\r\n").

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class DxfTagReader {
 public:
  // Throws OdError(eCantOpenFile) when the file cannot be opened.
  static std::unique_ptr<DxfTagReader> openFile(const std::string& path, const std::string& displayName);
  static std::unique_ptr<DxfTagReader> fromText(std::string text, const std::string& displayName);
  ~DxfTagReader();

  // Moves to the next tag; false at the end of the input. Throws OdError
  // (eBadDxfFile, naming file and line) for a group code that is not a number or
  // a code without its value line, and eUnsupportedFileFormat for binary DXF.
  bool next();
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
  DxfTagReader(std::FILE* file, std::string text, std::string displayName);
  // Reads one line; refuses a line longer than limit bytes.
  bool readLine(std::string_view& line, std::size_t limit);
  void start();

  std::FILE* file_ = nullptr;
  std::string name_;
  std::unique_ptr<char[]> buf_;
  std::size_t capacity_ = 0;
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
