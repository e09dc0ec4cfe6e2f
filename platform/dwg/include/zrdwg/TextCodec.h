#pragma once
// Text of a DXF file: R2007 and later store UTF-8; R2000 to R2004 store the
// ANSI code page named by $DWGCODEPAGE. Both may carry characters as \U+XXXX
// escapes, which are decoded on reading; on writing, a character that the code
// page cannot hold (and a line break or NUL, which a DXF line cannot hold) is
// written as such an escape.

#include <memory>
#include <string>
#include <string_view>

#include "zrdwg/OdString.h"

struct UConverter;

class TextCodec {
 public:
  // utf8: the file is R2007 or later. codePage: the $DWGCODEPAGE value, such as
  // "ANSI_1252"; an unknown or empty name reads as ANSI_1252.
  TextCodec(bool utf8, std::string_view codePage);
  // Closes the code page's converter.
  ~TextCodec();
  // A codec owns its converter: one per drawing, never copied.
  TextCodec(const TextCodec&) = delete;
  TextCodec& operator=(const TextCodec&) = delete;

  // The text of a value as the file holds it (invalid UTF-8 reads as U+FFFD).
  // The converter is used without a lock: one thread at a time per codec.
  OdString decode(std::string_view raw) const;
  // The bytes to write for text, with escapes for what the encoding cannot hold.
  std::string encode(const OdString& text) const;

  // True for R2007 and later (UTF-8).
  bool isUtf8() const { return utf8_; }
  // The ICU name of the code page in use ("UTF-8" for R2007 and later).
  const std::string& charsetName() const { return charset_; }

  // ICU converter name for a $DWGCODEPAGE value, or empty when unknown.
  static std::string icuNameOf(std::string_view dwgCodePage);

 private:
  bool encodeChar(char32_t c, std::string& out) const;

  bool utf8_;
  std::string charset_;
  UConverter* conv_ = nullptr;
  // Bytes 0x80-0x9F that read as the C1 control of their number and that the
  // converter cannot write (see TextCodec.cpp).
  bool c1Bytes_[32] = {};
};
