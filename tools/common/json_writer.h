#pragma once
// JSON text written through one growing buffer that goes to a stream in large
// pieces. A report of a large drawing has millions of small pieces; a stream
// insertion per piece (a sentry, a lock, a virtual call each) cost more than
// the check itself, and one string of the whole report would cost as much room
// as the report.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

// Appends s (UTF-8) to out as a JSON string literal, quotes included: '"',
// '\\' and the control characters below U+0020 are escaped (\n, \r, \t by
// name, the others as \u00XX); every other byte is copied.
void appendJsonString(std::string& out, std::string_view s);

class JsonWriter {
 public:
  // out must outlive the writer. The buffer goes to out whenever it holds
  // flushAt bytes, on flush() and on destruction; whether the bytes arrived
  // is out's state, for the caller to check.
  explicit JsonWriter(std::ostream& out, std::size_t flushAt = std::size_t{1} << 20);
  ~JsonWriter();
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  // JSON text as it stands: punctuation, keys with their quotes, literals.
  JsonWriter& raw(std::string_view text) {
    buffer_.append(text);
    return spill();
  }
  JsonWriter& raw(char c) {
    buffer_.push_back(c);
    return spill();
  }
  // s (UTF-8) as a string literal.
  JsonWriter& string(std::string_view s) {
    appendJsonString(buffer_, s);
    return spill();
  }
  // s as a string literal, or null when it is empty.
  JsonWriter& stringOrNull(std::string_view s) { return s.empty() ? raw("null") : string(s); }
  JsonWriter& integer(long long n);
  // Hands the buffer to the stream.
  void flush();

 private:
  JsonWriter& spill() {
    if (buffer_.size() >= flushAt_) flush();
    return *this;
  }
  std::ostream& out_;
  std::size_t flushAt_;
  std::string buffer_;
};
