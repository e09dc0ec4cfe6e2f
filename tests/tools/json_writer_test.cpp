// The JSON text of the tools' reports: string escapes, and a writer that hands
// its buffer to the stream in pieces without changing the text.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "json_text.h"
#include "json_writer.h"

namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControlCharactersOnly) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"plain", "\"plain\""},
      {"a\"b", "\"a\\\"b\""},
      {"back\\slash", "\"back\\\\slash\""},
      {"l1\nl2\r\tend", "\"l1\\nl2\\r\\tend\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"\x1b[31m\x1f", "\"\\u001b[31m\\u001f\""},
      {"\x7f", "\"\x7f\""},                       // DEL is no JSON control character
      {"\xc3\xa7\xe2\x82\xac", "\"\xc3\xa7\xe2\x82\xac\""},  // UTF-8 is copied
      {"\"\"", "\"\\\"\\\"\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(jsonString(c.in), c.out) << "input: " << c.in;
    std::string appended = "x";
    appendJsonString(appended, c.in);
    EXPECT_EQ(appended, "x" + c.out) << "input: " << c.in;
  }
}

TEST(JsonWriter, WritesTheSameTextWhateverTheBufferSize) {
  auto write = [](std::size_t flushAt, std::ostringstream& out) {
    JsonWriter w(out, flushAt);
    w.raw('{').raw("\"n\":").integer(-1234567890123LL).raw(",\"s\":").string("a\"b\n");
    w.raw(",\"e\":").stringOrNull("").raw(",\"f\":").stringOrNull("x").raw(",\"z\":").integer(0).raw('}');
  };
  const std::string expected = "{\"n\":-1234567890123,\"s\":\"a\\\"b\\n\",\"e\":null,\"f\":\"x\",\"z\":0}";
  for (std::size_t flushAt : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 20}) {
    std::ostringstream out;
    write(flushAt, out);
    EXPECT_EQ(out.str(), expected) << "flush at " << flushAt;
  }
}

TEST(JsonWriter, HandsTheBufferOverOnceItIsFullAndKeepsTheRestUntilFlushed) {
  std::ostringstream out;
  JsonWriter w(out, 8);
  w.raw("1234");
  EXPECT_EQ(out.str(), "");
  w.raw("5678");
  EXPECT_EQ(out.str(), "12345678");
  w.raw("9");
  EXPECT_EQ(out.str(), "12345678");
  w.flush();
  EXPECT_EQ(out.str(), "123456789");
}

}  // namespace
