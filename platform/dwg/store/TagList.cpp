#include "zrdwg/TagList.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "zrdwg/OdDbHandle.h"
#include "store/TagArena.h"

namespace {

constexpr uint8_t kKnownClass = TagList::kKnownClassByte;

static_assert(std::size(TagList::kKnownClasses) <= TagList::kFirstInterned,
              "known classes and tags kept once share the byte after kKnownClassByte");

// The known classes by the length of their names, each length's in the
// table's order: a marker is compared with the few names of its length only.
struct KnownClassesByLength {
  static constexpr std::size_t kLongest = 31;
  std::array<std::array<uint8_t, 8>, kLongest + 1> indices{};
  std::array<uint8_t, kLongest + 1> counts{};
  constexpr KnownClassesByLength() {
    for (std::size_t i = 0; i < std::size(TagList::kKnownClasses); ++i) {
      const std::size_t n = TagList::kKnownClasses[i].size();
      indices[n][counts[n]++] = static_cast<uint8_t>(i);
    }
  }
};
constexpr KnownClassesByLength kByLength;
static_assert([] {
  for (std::string_view name : TagList::kKnownClasses)
    if (name.size() > KnownClassesByLength::kLongest) return false;
  for (uint8_t count : KnownClassesByLength().counts)
    if (count > 8) return false;
  return true;
}(), "every known class fits the table by length");

// The index of a known class, or -1.
int knownClass(std::string_view value) {
  if (value.size() > KnownClassesByLength::kLongest || value.size() < 4 || value[0] != 'A' || value[2] != 'D' ||
      value[3] != 'b')
    return -1;
  const auto& candidates = kByLength.indices[value.size()];
  for (uint8_t k = 0; k < kByLength.counts[value.size()]; ++k)
    if (tags::sameBytes(TagList::kKnownClasses[candidates[k]], value)) return candidates[k];
  return -1;
}

// Who holds which place, for the whole process: the places are taken under
// its lock, and never given back.
std::mutex gInternLock;
std::size_t gInternedTaken = 0;
std::unordered_map<std::string, uint8_t>& internedPlaces() {
  static auto* places = new std::unordered_map<std::string, uint8_t>();  // lives as long as the process
  return *places;
}

std::string internKey(int code, std::string_view value) {
  std::string key(2 + value.size(), '\0');
  key[0] = static_cast<char>(code & 0xFF);
  key[1] = static_cast<char>((code >> 8) & 0xFF);
  std::memcpy(key.data() + 2, value.data(), value.size());
  return key;
}

}  // namespace

TagList::InternedTag TagList::interned_[TagList::kInternedCount];

std::size_t TagList::internedTaken() {
  std::lock_guard<std::mutex> lock(gInternLock);
  return gInternedTaken;
}

std::size_t TagList::byteSize() const {
  if (!bits_) return 0;
  if (isShort()) return (bits_ >> kSizeShift) & kMaxShortSize;
  uint32_t n;
  std::memcpy(&n, block(), sizeof n);
  return n & ~kExtendedDataBit;
}

void TagList::reset() {
  if (bits_ && !inArena()) delete[] block();
  bits_ = 0;
}

TagList TagList::copyOf(const char* bytes, std::size_t n, bool extendedData, TagArena* arena) {
  TagList list;
  if (n == 0) return list;
  auto place = [&](std::size_t size) { return arena ? arena->allocate(size) : new char[size]; };
  const uintptr_t arenaBit = arena ? 1 : 0;
  // Only a list in an arena takes the short form: the arena keeps its blocks,
  // while a block of a list's own is known only by the list's word, which
  // must then read as its address (to leak checkers too).
  if (arena && n <= kMaxShortSize) {
    char* block = place(n);
    const auto address = reinterpret_cast<uintptr_t>(block);
    if ((address >> kSizeShift) == 0) {
      std::memcpy(block, bytes, n);
      list.bits_ = address | arenaBit | (uintptr_t(n) << kSizeShift) | (uintptr_t(extendedData) << 63);
      return list;
    }
    // An address beyond 48 bits (not met on today's systems) takes a header.
  }
  const auto size = static_cast<uint32_t>(n);
  const uint32_t header = size | (extendedData ? kExtendedDataBit : 0);
  char* block = place(sizeof header + n);
  std::memcpy(block, &header, sizeof header);
  std::memcpy(block + sizeof header, bytes, n);
  list.bits_ = reinterpret_cast<uintptr_t>(block) | arenaBit;
  return list;
}

TagList::TagList(const TagList& other) {
  *this = copyOf(other.payload(), other.byteSize(), other.hasExtendedData(), nullptr);
}

TagList& TagList::operator=(const TagList& other) {
  if (this != &other) {
    TagList copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void TagList::makeOwned() {
  if (inArena()) *this = TagList(*this);
}

TagList TagList::fromTags(const std::vector<DxfTag>& tags) {
  TagListBuilder b;
  for (const auto& t : tags) b.add(t);
  return b.finish();
}

std::vector<DxfTag> TagList::toVector() const {
  std::vector<DxfTag> v;
  for (const auto& t : *this) v.push_back(t);
  return v;
}

void TagListBuilder::reallocate(std::size_t more) {
  const std::size_t bigger = std::max(size_ + more, capacity_ * 2 + 256);
  std::unique_ptr<char[]> grown(new char[bigger]);
  if (size_) std::memcpy(grown.get(), buf_.get(), size_);
  buf_ = std::move(grown);
  capacity_ = bigger;
}

bool TagListBuilder::addKnownClass(std::string_view value) {
  const int known = knownClass(value);
  if (known < 0) return false;
  char* p = grow(2);
  p[0] = static_cast<char>(kKnownClass);
  p[1] = static_cast<char>(known);
  size_ += 2;
  return true;
}

// The tags kept once that a builder met, so that the tags a drawing
// repeats are found without the process's lock: by code, length and the
// value's ends, one entry each. An entry without a place is a tag
// met once (it takes a place when met again) or one that can have none
// (every place was taken). Made with the first such tag.
struct TagListBuilder::InternCache {
  struct Entry {
    int16_t code = -1;
    uint8_t length = 0;
    uint8_t place = 0;    // 0: none yet
    bool never = false;   // no place to be had
    char text[TagList::kLongestInterned];
  };
  static constexpr std::size_t kSize = 128;
  Entry entries[kSize];
  // The value's first and last eight bytes (or fewer), its length and
  // the code, mixed by two multiplications; the slot from the top bits.
  static std::size_t slotOf(int code, std::string_view value) {
    const Recent r = Recent::of(value);
    const uint64_t h = r.a * 0x9E3779B97F4A7C15ull ^ (r.b + r.length + (uint64_t(static_cast<uint16_t>(code)) << 32)) *
                                                        0xC2B2AE3D27D4EB4Full;
    return static_cast<std::size_t>(h >> 57) & (kSize - 1);
  }
};

TagListBuilder::TagListBuilder() = default;
TagListBuilder::~TagListBuilder() = default;

bool TagListBuilder::addInterned(int code, std::string_view value) {
  // A tag takes a place the second time a builder meets it: names that
  // occur once (table records, the blocks of dimensions) leave the places
  // to those that repeat.
  if (!internCache_) internCache_ = std::make_unique<InternCache>();
  InternCache::Entry& cached = internCache_->entries[InternCache::slotOf(code, value)];
  // A tag met before with its place (the layer of every object read) costs
  // a comparison.
  const bool met = cached.code == code && cached.length == value.size() &&
                   tags::sameBytes(std::string_view(cached.text, cached.length), value);
  if (!met || (!cached.place && !cached.never)) {
    uint8_t place = 0;
    bool never = false;
    std::string key = internKey(code, value);
    {
      std::lock_guard<std::mutex> lock(gInternLock);
      auto& places = internedPlaces();
      if (auto found = places.find(key); found != places.end()) {
        place = found->second;
      } else if (met && gInternedTaken < TagList::kInternedCount) {
        TagList::InternedTag& t = TagList::interned_[gInternedTaken];
        t.code = static_cast<int16_t>(code);
        t.length = static_cast<uint8_t>(value.size());
        std::memcpy(t.text, value.data(), value.size());
        place = static_cast<uint8_t>(TagList::kFirstInterned + gInternedTaken);
        ++gInternedTaken;
        places.emplace(std::move(key), place);
      } else {
        never = gInternedTaken == TagList::kInternedCount;
      }
    }
    cached.code = static_cast<int16_t>(code);
    cached.length = static_cast<uint8_t>(value.size());
    std::memcpy(cached.text, value.data(), value.size());
    cached.place = place;
    cached.never = never;
  }
  if (!cached.place) return false;
  if (value.size() <= Recent::kLongest) {
    const int index = TagList::internedCodeIndex(code);
    Recent& r = recent_[index][recentNext_[index]];
    recentNext_[index] ^= 1;
    r = Recent::of(value);
    r.place = cached.place;
  }
  addPlace(code, cached.place);
  return true;
}

TagList TagListBuilder::finish() {
  TagList list = TagList::copyOf(buf_.get(), size_, extendedData_, nullptr);
  clear();
  return list;
}

TagList TagListBuilder::finish(TagArena& arena) {
  TagList list = TagList::copyOf(buf_.get(), size_, extendedData_, &arena);
  clear();
  return list;
}

namespace tags {

namespace {

// Walks the object's own tags, skipping application groups and stopping at
// extended data; calls f(index, tag, currentSubclass) until it returns true.
template <typename F>
void walk(const TagList& list, F f) {
  std::string_view subclass;
  bool inGroup = false;
  std::size_t i = 0;
  for (const auto& t : list) {
    if (t.code == 1001) return;
    if (t.code == 102) {
      inGroup = !t.value.empty() && t.value[0] == '{';
    } else if (!inGroup) {
      if (t.code == 100) subclass = t.value;
      if (f(i, t, subclass)) return;
    }
    ++i;
  }
}

}  // namespace

std::optional<std::string_view> find(const TagList& list, std::string_view subclass, int code) {
  std::optional<std::string_view> out;
  walk(list, [&](std::size_t, const DxfTag& t, std::string_view sc) {
    if (t.code == code && t.code != 100 && (subclass.empty() || sameBytes(sc, subclass))) {
      out = t.value;
      return true;
    }
    return false;
  });
  return out;
}

void findEach(const TagList& list, std::string_view subclass, const int* codes, std::size_t n,
              std::optional<std::string_view>* values) {
  std::size_t left = n;
  for (std::size_t i = 0; i < n; ++i) values[i].reset();
  if (n == 0) return;
  walk(list, [&](std::size_t, const DxfTag& t, std::string_view sc) {
    if (t.code == 100 || !(subclass.empty() || sameBytes(sc, subclass))) return false;
    for (std::size_t i = 0; i < n; ++i) {
      if (codes[i] != t.code || values[i]) continue;
      values[i] = t.value;
      --left;
    }
    return left == 0;
  });
}

std::string_view lastSubclass(const TagList& list) {
  std::string_view out;
  walk(list, [&](std::size_t, const DxfTag& t, std::string_view) {
    if (t.code == 100) out = t.value;
    return false;
  });
  return out;
}

std::size_t xdataStart(const std::vector<DxfTag>& v) {
  for (std::size_t i = 0; i < v.size(); ++i)
    if (v[i].code == 1001) return i;
  return v.size();
}

std::size_t subclassEnd(const std::vector<DxfTag>& v, std::string_view subclass) {
  std::size_t end = xdataStart(v);
  bool inGroup = false;
  bool inside = subclass.empty();
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < end; ++i) {
    const auto& t = v[i];
    if (t.code == 102) {
      inGroup = !t.value.empty() && t.value[0] == '{';
      if (inside) last = i + 1;
      continue;
    }
    if (inGroup) {
      if (inside) last = i + 1;
      continue;
    }
    if (t.code == 100) {
      if (inside && !subclass.empty()) return i;
      inside = subclass.empty() || t.value == subclass;
      if (inside) last = i + 1;
      continue;
    }
    if (inside) last = i + 1;
  }
  if (inside) return end;
  return last;
}

TagList withValue(const TagList& list, std::string_view subclass, int code, std::string_view value) {
  std::vector<DxfTag> v = list.toVector();
  std::optional<std::size_t> at;
  walk(list, [&](std::size_t i, const DxfTag& t, std::string_view sc) {
    if (t.code == code && t.code != 100 && (subclass.empty() || sameBytes(sc, subclass))) {
      at = i;
      return true;
    }
    return false;
  });
  if (at) {
    v[*at].value = value;
  } else {
    std::size_t end = subclassEnd(v, subclass);
    if (end == std::string_view::npos) end = xdataStart(v);
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(end), DxfTag{code, value});
  }
  return TagList::fromTags(v);
}

OwnerTag ownerTagOf(const TagList& list) {
  OwnerTag owner;
  bool inGroup = false;
  std::size_t i = 0;
  for (const auto& t : list) {
    if (t.code == 102) {
      inGroup = !t.value.empty() && t.value[0] == '{';
    } else if (!inGroup) {
      if (t.code == 100 || t.code == 1001) break;
      if (t.code == 330) {
        uint64_t h = 0;
        owner.handle = OdDbHandle::parse(t.value, h) ? h : 0;
        owner.index = i;
        owner.found = true;
        break;
      }
    }
    ++i;
  }
  return owner;
}

std::optional<std::string_view> findInAppGroup(const TagList& list, std::string_view groupName, int code) {
  bool inGroup = false;
  for (const auto& t : list) {
    if (t.code == 1001) break;
    if (t.code == 102) {
      inGroup = t.value.size() > 1 && t.value[0] == '{' && t.value.substr(1) == groupName;
      continue;
    }
    if (inGroup && t.code == code) return t.value;
  }
  return std::nullopt;
}

}  // namespace tags
