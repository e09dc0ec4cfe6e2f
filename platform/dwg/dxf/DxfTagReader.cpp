#include "dxf/DxfTagReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <charconv>
#include <cstring>

#include "zrdwg/OdError.h"

namespace {
constexpr std::size_t kChunk = 1 << 20;
const char kBinarySentinel[] = "AutoCAD Binary DXF";
}  // namespace

std::unique_ptr<DxfTagReader> DxfTagReader::openFile(const std::string& path, const std::string& displayName) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    throw OdError(eCantOpenFile, OdString::fromUtf8("Cannot open \"" + displayName + "\": " + std::strerror(errno)));
  }
  return std::unique_ptr<DxfTagReader>(new DxfTagReader(f, std::string_view(), displayName));
}

std::unique_ptr<DxfTagReader> DxfTagReader::fromText(std::string_view text, const std::string& displayName) {
  return std::unique_ptr<DxfTagReader>(new DxfTagReader(nullptr, text, displayName));
}

DxfTagReader::DxfTagReader(std::FILE* file, std::string_view text, std::string displayName)
    : file_(file), name_(std::move(displayName)) {
  if (!file_) {
    buf_.reserve(text.size() + 1);
    buf_.assign(text.begin(), text.end());
    buf_.push_back('\0');
    end_ = text.size();
    eof_ = true;
  } else {
    buf_.resize(kChunk);
  }
}

DxfTagReader::~DxfTagReader() {
  if (file_) std::fclose(file_);
}

void DxfTagReader::fail(const std::string& message, std::size_t line) const {
  throw OdError(eBadDxfFile, OdString::fromUtf8(name_ + ":" + std::to_string(line) + ": " + message));
}

std::string DxfTagReader::shown(std::string_view value) {
  constexpr std::size_t kShown = 60;
  std::string out(value.substr(0, kShown));
  for (auto& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  if (value.size() > kShown) out += "...";
  return out;
}

bool DxfTagReader::readLine(std::string_view& line, std::size_t limit) {
  auto tooLong = [&] {
    fail("line " + std::to_string(lineNo_ + 1) + " is longer than " + std::to_string(limit) +
             " bytes where a group code belongs (not a DXF file?)",
         lineNo_ + 1);
  };
  for (;;) {
    const char* begin = buf_.data() + pos_;
    // Look no further than the limit allows: a huge line is refused without scanning it.
    const std::size_t window = std::min(end_ - pos_, limit == SIZE_MAX ? limit : limit + 2);
    const char* nl = static_cast<const char*>(std::memchr(begin, '\n', window));
    if (nl) {
      std::size_t len = static_cast<std::size_t>(nl - begin);
      pos_ += len + 1;
      // Every CR before the LF belongs to the line end ("\r\r\n" comes from a
      // CRLF file converted twice): a value ending in CR could not be written back.
      while (len > 0 && begin[len - 1] == '\r') --len;
      if (len > limit) tooLong();
      line = std::string_view(begin, len);
      ++lineNo_;
      return true;
    }
    if (window < end_ - pos_) tooLong();
    if (eof_) {
      if (pos_ == end_) return false;
      // The last line has no line end.
      lastLineUnterminated_ = true;
      std::size_t len = end_ - pos_;
      pos_ = end_;
      while (len > 0 && begin[len - 1] == '\r') --len;
      if (len > limit) tooLong();
      line = std::string_view(begin, len);
      ++lineNo_;
      return true;
    }
    if (end_ - pos_ > limit) tooLong();
    // Keep the unfinished line, grow the buffer when one line fills it, read more.
    std::size_t rest = end_ - pos_;
    if (pos_ > 0) {
      std::memmove(buf_.data(), buf_.data() + pos_, rest);
      pos_ = 0;
      end_ = rest;
    }
    if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);
    std::size_t got = std::fread(buf_.data() + end_, 1, buf_.size() - end_, file_);
    if (got == 0) {
      if (std::ferror(file_)) fail(std::string("read error: ") + std::strerror(errno), lineNo_ + 1);
      eof_ = true;
    }
    end_ += got;
  }
}

void DxfTagReader::start() {
  started_ = true;
  // Fill the buffer far enough to look at the start of the file.
  std::string_view probe;
  if (file_ && !eof_) {
    std::size_t got = std::fread(buf_.data(), 1, buf_.size(), file_);
    end_ = got;
    if (got < buf_.size()) eof_ = true;
  }
  probe = std::string_view(buf_.data(), end_);
  if (probe.substr(0, sizeof kBinarySentinel - 1) == kBinarySentinel) {
    throw OdError(eUnsupportedFileFormat,
                  OdString::fromUtf8(name_ + ":1: binary DXF is not supported; save the drawing as ASCII DXF"));
  }
  if (probe.size() >= 3 && static_cast<unsigned char>(probe[0]) == 0xEF &&
      static_cast<unsigned char>(probe[1]) == 0xBB && static_cast<unsigned char>(probe[2]) == 0xBF) {
    bom_ = true;
    pos_ = 3;
  }
  const void* nl = std::memchr(buf_.data() + pos_, '\n', end_ - pos_);
  if (nl && nl != buf_.data() + pos_ && static_cast<const char*>(nl)[-1] == '\r') crlf_ = true;
}

bool DxfTagReader::nextSlow() {
  if (!started_) start();
  std::string_view line;
  if (!readLine(line, kMaxCodeLine)) return false;
  codeLine_ = lineNo_;
  // Group codes may be padded with spaces on either side.
  std::size_t b = 0, e = line.size();
  while (b < e && (line[b] == ' ' || line[b] == '\t')) ++b;
  while (e > b && (line[e - 1] == ' ' || line[e - 1] == '\t')) --e;
  int code = 0;
  auto [ptr, ec] = std::from_chars(line.data() + b, line.data() + e, code);
  if (b == e || ec != std::errc() || ptr != line.data() + e || code < -32768 || code > 32767) {
    if (lastLineUnterminated_) fail("the file ends in the middle of a line (truncated?)");
    fail("group code \"" + shown(line) + "\" is not a number");
  }
  code_ = code;
  if (!readLine(value_, SIZE_MAX)) {
    fail("the file ends after group code " + std::to_string(code) + " without its value (odd number of lines)");
  }
  return true;
}
