#pragma once
// PinText: the text of a pin record's field (its symbol's handle, its
// identifier, its catalogue pin code), UTF-16 as OdString, in 16 bytes. A
// large drawing's check holds hundreds of thousands of pins with three such
// texts each; as OdStrings (32 bytes each) they took most of a pin's room,
// and every page of it has to be faulted in while the symbols are read.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "zrdwg/OdString.h"

namespace zr {

class PinText {
 public:
  // The empty text.
  PinText() noexcept = default;
  // A copy of text; implicit, so that a field takes an OdString as before.
  PinText(const OdString& text) : PinText(text.view()) {}  // NOLINT
  explicit PinText(std::u16string_view text) {
    if (text.size() > kLocal) {
      takeHeap(text);
      return;
    }
    if (!text.empty()) std::memcpy(local_, text.data(), text.size() * sizeof(char16_t));
    size_ = static_cast<uint8_t>(text.size());
  }
  PinText(const PinText& other) : PinText(other.view()) {}
  PinText(PinText&& other) noexcept { take(other); }
  PinText& operator=(const PinText& other) {
    if (this != &other) *this = PinText(other.view());
    return *this;
  }
  PinText& operator=(PinText&& other) noexcept {
    if (this != &other) {
      release();
      take(other);
    }
    return *this;
  }
  ~PinText() { release(); }

  // The text; valid until the field changes or goes.
  std::u16string_view view() const noexcept {
    if (size_ != kOnHeap) return {local_, size_};
    return {heapUnits(), heapLength()};
  }
  bool isEmpty() const noexcept { return size_ == 0; }
  int getLength() const noexcept { return static_cast<int>(view().size()); }
  // A copy as OdString; implicit, so that the field reads as one.
  operator OdString() const { return OdString(view()); }  // NOLINT
  std::string toUtf8() const { return OdString(view()).toUtf8(); }

  friend bool operator==(const PinText& a, const PinText& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const PinText& a, const OdString& b) noexcept { return a.view() == b.view(); }

 private:
  // Texts of up to kLocal code units (handles below 10000000 hexadecimal,
  // identifiers and pin codes as catalogues have them) lie in the field;
  // a longer one is allocated, its address and length kept in local_.
  static constexpr std::size_t kLocal = 7;
  static constexpr uint8_t kOnHeap = 0xFF;
  char16_t* heapUnits() const noexcept;
  std::size_t heapLength() const noexcept;
  // A copy of text (longer than kLocal) on the heap.
  void takeHeap(std::u16string_view text);
  // Takes other's text, leaving other empty (this holds none).
  void take(PinText& other) noexcept {
    std::memcpy(local_, other.local_, sizeof local_);
    size_ = other.size_;
    other.size_ = 0;
  }
  void release() noexcept {
    if (size_ == kOnHeap) releaseHeap();
    size_ = 0;
  }
  void releaseHeap() noexcept;

  alignas(8) char16_t local_[kLocal] = {};
  uint8_t size_ = 0;  // code units in local_, or kOnHeap
};
static_assert(sizeof(PinText) == 16, "a pin's text takes two words");

}  // namespace zr
