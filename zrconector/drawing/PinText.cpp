#include "drawing/PinText.h"

#include <cstring>
#include <new>

namespace zr {

void PinText::takeHeap(std::u16string_view text) {
  if (text.size() > UINT32_MAX) throw std::bad_alloc();
  auto* units = new char16_t[text.size()];
  std::memcpy(units, text.data(), text.size() * sizeof(char16_t));
  const auto length = static_cast<uint32_t>(text.size());
  std::memcpy(local_, &units, sizeof units);
  std::memcpy(local_ + 4, &length, sizeof length);
  size_ = kOnHeap;
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

void PinText::releaseHeap() noexcept { delete[] heapUnits(); }

}  // namespace zr
