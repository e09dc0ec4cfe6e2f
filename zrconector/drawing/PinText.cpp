#include "drawing/PinText.h"

#include <cstring>
#include <new>

namespace zr {

PinText::PinText(std::u16string_view text) {
  if (text.size() <= kLocal) {
    std::memcpy(local_, text.data(), text.size() * sizeof(char16_t));
    size_ = static_cast<uint8_t>(text.size());
    return;
  }
  if (text.size() > UINT32_MAX) throw std::bad_alloc();
  auto* units = new char16_t[text.size()];
  std::memcpy(units, text.data(), text.size() * sizeof(char16_t));
  const auto length = static_cast<uint32_t>(text.size());
  std::memcpy(local_, &units, sizeof units);
  std::memcpy(local_ + 4, &length, sizeof length);
  size_ = kOnHeap;
}

PinText::PinText(PinText&& other) noexcept {
  std::memcpy(local_, other.local_, sizeof local_);
  size_ = other.size_;
  other.size_ = 0;
}

PinText& PinText::operator=(const PinText& other) {
  if (this != &other) *this = PinText(other.view());
  return *this;
}

PinText& PinText::operator=(PinText&& other) noexcept {
  if (this != &other) {
    release();
    std::memcpy(local_, other.local_, sizeof local_);
    size_ = other.size_;
    other.size_ = 0;
  }
  return *this;
}

char16_t* PinText::heapUnits() const noexcept {
  char16_t* units;
  std::memcpy(&units, local_, sizeof units);
  return units;
}

std::size_t PinText::heapLength() const noexcept {
  uint32_t length;
  std::memcpy(&length, local_ + 4, sizeof length);
  return length;
}

void PinText::release() noexcept {
  if (size_ == kOnHeap) delete[] heapUnits();
  size_ = 0;
}

}  // namespace zr
