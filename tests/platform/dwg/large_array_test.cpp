// Large arrays of a drawing (its handle index) and of a check (its tables
// of pins and findings): what they hold survives their growth from the heap
// into mappings of their own and back, and an array of 1 MB or more starts
// at a huge page's boundary, where the system can back it with huge pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "zrdwg/LargeArray.h"

namespace {

bool onHugePageBoundary(const void* at) { return reinterpret_cast<std::uintptr_t>(at) % kHugePageBytes == 0; }

TEST(LargeArray, KeepsItsValuesFromTheHeapIntoAMappingAndBack) {
  LargeArray<uint64_t> values;
  const std::size_t kValues = (std::size_t(5) << 20) / sizeof(uint64_t);  // 5 MB, grown from nothing
  for (std::size_t i = 0; i < kValues; ++i) values.push_back(i * 7);
  ASSERT_EQ(values.size(), kValues);
  EXPECT_TRUE(onHugePageBoundary(values.data()));
  for (std::size_t i = 0; i < kValues; ++i) ASSERT_EQ(values[i], i * 7) << i;

  values.resize(3);
  values.shrink_to_fit();  // back to the heap
  EXPECT_EQ(values, (LargeArray<uint64_t>{0, 7, 14}));
}

TEST(LargeArray, RoomReservedFromAFilesSizeIsMappedAndHoldsWhatIsAdded) {
  LargeArray<std::string> names;
  names.reserve(1 << 20);  // 32 MB of room, as an index reserved from a large file's size
  EXPECT_TRUE(onHugePageBoundary(names.data()));
  for (int i = 0; i < 1000; ++i) names.push_back("name of object " + std::to_string(i));
  LargeArray<std::string> copy = names;  // a copy takes only the room it needs: from the heap
  names.clear();
  ASSERT_EQ(copy.size(), 1000u);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(copy[i], "name of object " + std::to_string(i));
}

}  // namespace
