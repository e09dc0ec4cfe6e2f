#pragma once
// TagList: the group-code/value pairs of one drawing object, kept exactly as read
// from the file (values are the file's bytes, without line ends) in one compact
// block. It is the source of truth for writing an object back, so that what the
// model does not interpret survives unchanged; the model's accessors read their
// fields out of it and edits replace single values.

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct DxfTag {
  int code = 0;
  std::string_view value;
};

class TagArena;

class TagList {
 public:
  // The byte that starts a subclass marker of a known class; the next byte
  // is the class's index (layout at TagListBuilder).
  static constexpr uint8_t kKnownClassByte = 0xFE;
  // The byte that starts a group code given in full; two bytes follow.
  static constexpr uint8_t kLongCodeByte = 0xFF;
  // Codes 240..253 are none the file format defines: these bytes stand for
  // the codes above 253 that drawings repeat most (owners, extended data),
  // which then take one byte like the small codes. A file's own code 240..253
  // is written in full.
  static constexpr uint8_t kFirstCommonCodeByte = 240;
  static constexpr int16_t kCommonCodes[] = {330, 340, 350, 360, 280, 281, 290,
                                             370, 1000, 1001, 1002, 1005, 1040, 1070};
  // The byte that stands for code, or 0 when there is none.
  static constexpr uint8_t commonCodeByte(int code) {
    switch (code) {
      case 330: return kFirstCommonCodeByte + 0;
      case 340: return kFirstCommonCodeByte + 1;
      case 350: return kFirstCommonCodeByte + 2;
      case 360: return kFirstCommonCodeByte + 3;
      case 280: return kFirstCommonCodeByte + 4;
      case 281: return kFirstCommonCodeByte + 5;
      case 290: return kFirstCommonCodeByte + 6;
      case 370: return kFirstCommonCodeByte + 7;
      case 1000: return kFirstCommonCodeByte + 8;
      case 1001: return kFirstCommonCodeByte + 9;
      case 1002: return kFirstCommonCodeByte + 10;
      case 1005: return kFirstCommonCodeByte + 11;
      case 1040: return kFirstCommonCodeByte + 12;
      case 1070: return kFirstCommonCodeByte + 13;
      default: return 0;
    }
  }
  // The name of known class i.
  static std::string_view knownClassName(uint8_t i) { return kKnownClasses[i]; }
  // Subclass markers written as one byte (kKnownClassByte, index): the classes of
  // the objects most drawings are made of. The order is the encoding; only
  // lists in memory use it, so it may change between versions.
  static constexpr std::string_view kKnownClasses[] = {
      "AcDbEntity", "AcDbBlockReference", "AcDbText", "AcDbAttribute", "AcDbAttributeDefinition",
      "AcDbSymbolTable", "AcDbSymbolTableRecord", "AcDbBlockTableRecord", "AcDbBlockBegin", "AcDbBlockEnd",
      "AcDbLayerTableRecord", "AcDbRegAppTableRecord", "AcDbLinetypeTableRecord", "AcDbTextStyleTableRecord",
      "AcDbDimStyleTableRecord", "AcDbViewportTableRecord", "AcDbViewTableRecord", "AcDbUCSTableRecord",
      "AcDbDictionary", "AcDbDictionaryWithDefault", "AcDbXrecord", "AcDbLine", "AcDbPolyline",
      "AcDb2dPolyline", "AcDb3dPolyline", "AcDbVertex", "AcDb2dVertex", "AcDb3dPolylineVertex", "AcDbCircle",
      "AcDbArc", "AcDbEllipse", "AcDbSpline", "AcDbPoint", "AcDbTrace", "AcDbFace", "AcDbMText", "AcDbHatch",
      "AcDbDimension", "AcDbAlignedDimension", "AcDbRotatedDimension", "AcDbLeader", "AcDbViewport",
      "AcDbLayout", "AcDbPlotSettings", "AcDbGroup", "AcDbMlineStyle", "AcDbPlaceHolder",
      "AcDbDictionaryVar", "AcDbScale", "AcDbVisualStyle", "AcDbMaterial", "AcDbRasterImage", "AcDbWipeout",
      "AcDbSequenceEnd", "AcDbModelerGeometry", "AcDb3dSolid", "AcDbRegion", "AcDbLayerFilter",
      "AcDbLayerIndex", "AcDbIdBuffer", "AcDbSortentsTable", "AcDbFieldList", "AcDbField",
  };

  // A tag whose code and value drawings repeat object after object (a
  // layer's name, a block's, an application's, a flag) is kept once for
  // the process and written in a list as the byte kKnownClassByte and its
  // index, from kFirstInterned on: two bytes where "8 PINOS" took seven.
  // The first kInternedCount such tags the process reads take the places;
  // later ones are written in full. A place never changes once taken, so
  // a value viewed there lasts as long as the process.
  static constexpr uint8_t kFirstInterned = 64;
  static constexpr std::size_t kInternedCount = 256 - kFirstInterned;
  static constexpr std::size_t kLongestInterned = 30;
  struct InternedTag {
    int16_t code = 0;
    uint8_t length = 0;
    char text[kLongestInterned + 1] = {};
  };
  // The codes whose tags may be kept once: names of layers, line types,
  // styles and blocks (and of attribute tags), subclass markers of classes
  // the model does not know, applications of extended data, colours, line
  // weights and the flags most entities carry. Handles, texts and
  // coordinates, which differ from object to object, never are.
  static constexpr bool internable(int code) { return internedCodeIndex(code) >= 0; }
  // The index of an internable code among them (0..kInternableCodes-1), or -1.
  static constexpr int kInternableCodes = 13;
  static constexpr int internedCodeIndex(int code) {
    switch (code) {
      case 2: return 0;
      case 3: return 1;
      case 6: return 2;
      case 7: return 3;
      case 8: return 4;
      case 62: return 5;
      case 66: return 6;
      case 67: return 7;
      case 70: return 8;
      case 100: return 9;
      case 280: return 10;
      case 370: return 11;
      case 1001: return 12;
      default: return -1;
    }
  }
  // The tag kept at place i (kFirstInterned and up), once it is taken.
  static const InternedTag& interned(uint8_t i) { return interned_[i - kFirstInterned]; }
  // The place of the tag kept once whose value `value` views (as a list's
  // iterator gives it), or 0 when it views none: equal values of such tags
  // are one place, so a reader may tell them apart without comparing bytes.
  static uint8_t internedPlaceOf(std::string_view value) {
    const auto at = reinterpret_cast<uintptr_t>(value.data());
    const auto first = reinterpret_cast<uintptr_t>(interned_);
    if (at < first || at >= first + sizeof interned_) return 0;
    return static_cast<uint8_t>(kFirstInterned + (at - first) / sizeof(InternedTag));
  }
  // How many places are taken so far (at most kInternedCount).
  static std::size_t internedTaken();

  class Iterator {
   public:
    const DxfTag& operator*() const { return tag_; }
    const DxfTag* operator->() const { return &tag_; }
    Iterator& operator++() {
      load();
      return *this;
    }
    bool operator==(const Iterator& o) const { return at_ == o.at_ && next_ == o.next_; }
    bool operator!=(const Iterator& o) const { return !(*this == o); }

   private:
    friend class TagList;
    Iterator(const char* at, const char* end) : next_(at), end_(end) { load(); }
    // Decodes the tag at next_ (layout at TagListBuilder). Inline: every walk
    // over a drawing's objects runs it for each of their tags.
    void load() {
      if (!next_ || next_ >= end_) {
        at_ = next_ = nullptr;
        return;
      }
      at_ = next_;
      const auto* p = reinterpret_cast<const uint8_t*>(at_);
      if (p[0] < kFirstCommonCodeByte) {
        tag_.code = p[0];
        p += 1;
      } else if (p[0] < kKnownClassByte) {
        tag_.code = kCommonCodes[p[0] - kFirstCommonCodeByte];
        p += 1;
      } else if (p[0] == kKnownClassByte) {
        if (p[1] < kFirstInterned) {
          tag_.code = 100;
          tag_.value = knownClassName(p[1]);
        } else {
          const InternedTag& t = interned(p[1]);
          tag_.code = t.code;
          tag_.value = std::string_view(t.text, t.length);
        }
        next_ = reinterpret_cast<const char*>(p + 2);
        return;
      } else {
        tag_.code = static_cast<int16_t>(static_cast<uint16_t>(p[1] | (p[2] << 8)));
        p += 3;
      }
      uint32_t len = *p++;
      if (len & 0x80) {
        len &= 0x7F;
        int shift = 7;
        while (*p & 0x80) {
          len |= uint32_t(*p & 0x7F) << shift;
          shift += 7;
          ++p;
        }
        len |= uint32_t(*p) << shift;
        ++p;
      }
      tag_.value = std::string_view(reinterpret_cast<const char*>(p), len);
      next_ = reinterpret_cast<const char*>(p) + len;
    }
    const char* at_ = nullptr;    // start of the current tag, null at the end
    const char* next_ = nullptr;  // start of the following tag
    const char* end_ = nullptr;
    DxfTag tag_;
  };

  // An empty list.
  TagList() = default;
  // Frees the bytes the list owns; bytes of an arena stay with the arena.
  ~TagList() { reset(); }
  // A copy owns its bytes, whatever the original does: it may outlive the
  // drawing whose arena holds the original's.
  TagList(const TagList& other);
  TagList& operator=(const TagList& other);
  // Takes other's bytes (owned or in an arena); other becomes empty.
  TagList(TagList&& other) noexcept : bits_(other.bits_) { other.bits_ = 0; }
  TagList& operator=(TagList&& other) noexcept {
    if (this != &other) {
      reset();
      bits_ = other.bits_;
      other.bits_ = 0;
    }
    return *this;
  }

  // A list that owns a copy of the tags' bytes.
  static TagList fromTags(const std::vector<DxfTag>& tags);

  // Walks the tags in order; a tag's value views the list's bytes and lasts
  // until the list changes or goes.
  Iterator begin() const { return Iterator(payload(), payload() + byteSize()); }
  Iterator end() const { return Iterator(nullptr, nullptr); }
  // True for a list without tags.
  bool empty() const { return bits_ == 0; }
  // The packed size in bytes.
  std::size_t byteSize() const;
  // True when the list holds extended data (a 1001 tag). Known from the
  // list's building, so that the extended data of the millions of objects
  // that have none is never searched for.
  bool hasExtendedData() const {
    if (!bits_) return false;
    if (isShort()) return bits_ >> 63;
    uint32_t n;
    std::memcpy(&n, block(), sizeof n);
    return n & kExtendedDataBit;
  }
  // The tags, viewing the list's bytes (valid as the iterator's values are).
  std::vector<DxfTag> toVector() const;
  // Hints that the tags will be read soon: their first two cache lines are
  // fetched into the processor's caches. Changes nothing.
  void prefetch() const {
    if (const char* at = block()) {
      __builtin_prefetch(at);
      __builtin_prefetch(at + 64);
    }
  }
  // True when the bytes live in a TagArena (the drawing's) rather than in a
  // block of the list's own.
  bool inArena() const { return bits_ & 1; }
  // Copies arena-held bytes into a block of the list's own, for an object
  // that outlives its drawing's arena.
  void makeOwned();

 private:
  friend class TagListBuilder;
  void reset();
  // The word of a list holds the block's address, its lowest bit set when an
  // arena holds it (arena blocks start at even addresses); null when empty.
  // A list of an arena of fewer than 32 KB (nearly all) keeps its size in the
  // word's top 16 bits (15 bits of size, the top one set when the list holds a
  // 1001 tag), which addresses of user space leave free, and its block is the
  // payload alone. Any other has a block that starts with the size (4 bytes:
  // 31 bits, and kExtendedDataBit) before the payload. A drawing has millions of
  // lists, so the list itself is one word and most go without a header.
  static_assert(sizeof(uintptr_t) == 8, "a list's word holds an address and a size");
  static constexpr int kSizeShift = 48;
  static constexpr std::size_t kMaxShortSize = 0x7FFF;
  static constexpr uint32_t kExtendedDataBit = uint32_t(1) << 31;
  bool isShort() const { return (bits_ >> kSizeShift) != 0; }
  const char* block() const {
    return reinterpret_cast<const char*>(bits_ & ((uintptr_t(1) << kSizeShift) - 2));
  }
  const char* payload() const { return !bits_ ? nullptr : isShort() ? block() : block() + sizeof(uint32_t); }
  // A list of the n payload bytes at `bytes`, copied into a block of its own
  // or, when given, of the arena.
  static TagList copyOf(const char* bytes, std::size_t n, bool extendedData, TagArena* arena);
  uintptr_t bits_ = 0;
  // The tags kept once (see InternedTag), filled by TagListBuilder.
  static InternedTag interned_[kInternedCount];
};

// Each common code byte stands for its own code, and only for it.
static_assert([] {
  if (TagList::kFirstCommonCodeByte + std::size(TagList::kCommonCodes) != TagList::kKnownClassByte) return false;
  for (std::size_t i = 0; i < std::size(TagList::kCommonCodes); ++i)
    if (TagList::commonCodeByte(TagList::kCommonCodes[i]) != TagList::kFirstCommonCodeByte + i) return false;
  for (int code = 240; code < 254; ++code)
    if (TagList::commonCodeByte(code)) return false;
  return true;
}());

namespace tags {

// a == b, inline: the names compared while reading (kinds, subclass markers,
// block names) are a few bytes, where a call to memcmp costs more than the
// comparison.
inline bool sameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const char* p = a.data();
  const char* q = b.data();
  const std::size_t n = a.size();
  auto word = [](const char* at) {
    uint64_t w;
    std::memcpy(&w, at, sizeof w);
    return w;
  };
  auto half = [](const char* at) {
    uint32_t w;
    std::memcpy(&w, at, sizeof w);
    return w;
  };
  if (n >= 8) {
    // Whole words, then the last word (overlapping the one before).
    for (std::size_t i = 0; i + 8 <= n; i += 8)
      if (word(p + i) != word(q + i)) return false;
    return word(p + n - 8) == word(q + n - 8);
  }
  if (n >= 4) return half(p) == half(q) && half(p + n - 4) == half(q + n - 4);
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] != q[i]) return false;
  return true;
}

}  // namespace tags

// Collects tags and packs them into a TagList; reusable after finish().
//
// Layout of one tag: the group code as one byte when it is 0..239 or one of
// TagList::kCommonCodes (bytes 240..253), else 0xFF and two bytes (little
// endian, signed); the value length as a base-128
// varint; the value bytes. A subclass marker (code 100) of a class the model
// knows is the byte 0xFE and the class's index in a fixed table: every entity
// repeats its class names, so this keeps a drawing markedly smaller. A tag
// kept once for the process (TagList::InternedTag) is the byte 0xFE and its
// place, from TagList::kFirstInterned on.
class TagListBuilder {
 public:
  TagListBuilder();
  ~TagListBuilder();
  TagListBuilder(const TagListBuilder&) = delete;
  TagListBuilder& operator=(const TagListBuilder&) = delete;
  // Inline: the reader adds every tag of a drawing.
  [[gnu::always_inline]] void add(int code, std::string_view value) {
    if (code == 100 && addKnownClass(value)) return;
    if (const int index = TagList::internedCodeIndex(code); index >= 0 && value.size() <= TagList::kLongestInterned) {
      // The last two places of the code, compared by the value's bytes as
      // two words: the layer of every object read costs a few instructions.
      if (value.size() <= Recent::kLongest) {
        const Recent key = Recent::of(value);
        for (int k = 0; k < 2; ++k) {
          const Recent& r = recent_[index][k];
          if (r.place && r.a == key.a && r.b == key.b && r.length == key.length) {
            recentNext_[index] = static_cast<uint8_t>(k ^ 1);  // the other goes next
            addPlace(code, r.place);
            return;
          }
        }
      }
      if (addInterned(code, value)) return;
    }
    extendedData_ |= code == 1001;
    // The code (3 bytes at most), the length (5 at most), the value.
    char* const start = grow(8 + value.size());
    char* p = start;
    if (code >= 0 && code < TagList::kFirstCommonCodeByte) {
      *p++ = static_cast<char>(code);
    } else if (const uint8_t common = TagList::commonCodeByte(code)) {
      *p++ = static_cast<char>(common);
    } else {
      auto c = static_cast<uint16_t>(static_cast<int16_t>(code));
      *p++ = static_cast<char>(TagList::kLongCodeByte);
      *p++ = static_cast<char>(c & 0xFF);
      *p++ = static_cast<char>(c >> 8);
    }
    uint32_t n = static_cast<uint32_t>(value.size());
    while (n >= 0x80) {
      *p++ = static_cast<char>((n & 0x7F) | 0x80);
      n >>= 7;
    }
    *p++ = static_cast<char>(n);
    copyValue(p, value.data(), value.size());
    size_ += static_cast<std::size_t>(p - start) + value.size();
  }
  // Adds a copy of the tag's bytes.
  void add(const DxfTag& tag) { add(tag.code, tag.value); }
  // Forgets the tags collected, keeping the buffer for the next list.
  void clear() {
    size_ = 0;
    extendedData_ = false;
  }
  // True when nothing was added since the last clear or finish.
  bool empty() const { return size_ == 0; }
  // Bytes collected; finish() holds at most kMaxBytes.
  std::size_t size() const { return size_; }
  static constexpr std::size_t kMaxBytes = 0x7FFFFFFF;
  // The list in a block of its own.
  TagList finish();
  // The list in the arena, which must outlive it (or makeOwned() be called).
  TagList finish(TagArena& arena);

 private:
  // Room for `more` bytes at the end; where they go.
  char* grow(std::size_t more) {
    if (capacity_ - size_ < more) reallocate(more);
    return buf_.get() + size_;
  }
  void reallocate(std::size_t more);
  // A subclass marker of a known class as its two bytes; false for another.
  bool addKnownClass(std::string_view value);
  // The tag as the two bytes of its place among the tags kept once (see
  // TagList::InternedTag), taking a place the second time this builder
  // meets it; false when it has none (yet).
  bool addInterned(int code, std::string_view value);
  void addPlace(int code, uint8_t place) {
    char* p = grow(2);
    p[0] = static_cast<char>(TagList::kKnownClassByte);
    p[1] = static_cast<char>(place);
    size_ += 2;
    extendedData_ |= code == 1001;
  }
  // The tags kept once that this builder met, found without the process's
  // lock (in the source file).
  struct InternCache;
  std::unique_ptr<InternCache> internCache_;
  // The places last met for each internable code, two each, of values of
  // up to 16 bytes: a value as its first and last eight bytes (or four, or
  // three single bytes: with its length, they give every byte).
  struct Recent {
    // Values up to this long are told apart by a and b alone (of() reads
    // longer ones too: their first and last eight bytes).
    static constexpr std::size_t kLongest = 16;
    uint64_t a = 0, b = 0;
    uint8_t length = 0;
    uint8_t place = 0;  // 0: none
    static Recent of(std::string_view value) {
      Recent r;
      const std::size_t n = value.size();
      const char* v = value.data();
      if (n >= 8) {
        std::memcpy(&r.a, v, 8);
        std::memcpy(&r.b, v + n - 8, 8);
      } else if (n >= 4) {
        uint32_t x, y;
        std::memcpy(&x, v, 4);
        std::memcpy(&y, v + n - 4, 4);
        r.a = x;
        r.b = y;
      } else if (n > 0) {
        r.a = uint64_t(static_cast<unsigned char>(v[0])) | uint64_t(static_cast<unsigned char>(v[n / 2])) << 8 |
              uint64_t(static_cast<unsigned char>(v[n - 1])) << 16;
      }
      r.length = static_cast<uint8_t>(n);
      return r;
    }
  };
  Recent recent_[TagList::kInternableCodes][2];
  uint8_t recentNext_[TagList::kInternableCodes] = {};  // which of the two goes next
  // Copies n bytes: most values are a few bytes, copied by two overlapping
  // words rather than by a call.
  static void copyValue(char* to, const char* from, std::size_t n) {
    if (n >= 8 && n <= 16) {
      uint64_t a, b;
      std::memcpy(&a, from, 8);
      std::memcpy(&b, from + n - 8, 8);
      std::memcpy(to, &a, 8);
      std::memcpy(to + n - 8, &b, 8);
    } else if (n >= 4 && n < 8) {
      uint32_t a, b;
      std::memcpy(&a, from, 4);
      std::memcpy(&b, from + n - 4, 4);
      std::memcpy(to, &a, 4);
      std::memcpy(to + n - 4, &b, 4);
    } else if (n > 0 && n < 4) {
      to[0] = from[0];
      to[n / 2] = from[n / 2];
      to[n - 1] = from[n - 1];
    } else if (n > 16) {
      std::memcpy(to, from, n);
    }
  }
  // Written byte by byte for every tag read: a buffer of its own, not a
  // string, so that no byte is initialised twice or checked for room alone.
  std::unique_ptr<char[]> buf_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  bool extendedData_ = false;  // a 1001 tag was added
};

// Queries over an object's tags. A subclass is the part after a "100 <name>"
// marker up to the next marker; application groups ("102 {NAME" ... "102 }")
// and extended data (from the first 1001) are never searched.
namespace tags {

// Value of the first tag with this code, in the named subclass (empty name:
// anywhere in the object's own data).
std::optional<std::string_view> find(const TagList& list, std::string_view subclass, int code);
// find for each of n codes, in one walk over the list: values[i] as
// find(list, subclass, codes[i]) gives it.
void findEach(const TagList& list, std::string_view subclass, const int* codes, std::size_t n,
              std::optional<std::string_view>* values);

// Name of the last subclass marker, or empty.
std::string_view lastSubclass(const TagList& list);

// The list with the first tag of this code in the subclass set to value, or a
// new tag added at the end of the subclass when there was none.
TagList withValue(const TagList& list, std::string_view subclass, int code, std::string_view value);

// Index of the first extended-data tag (code 1001) in v, or v.size().
std::size_t xdataStart(const std::vector<DxfTag>& v);

// Index just after the end of the subclass in v (before the next marker, 1001, or
// the end), or npos when the subclass is absent.
std::size_t subclassEnd(const std::vector<DxfTag>& v, std::string_view subclass);

// The owner tag (the first 330 outside application groups, before any subclass
// marker or extended data) and its index among the object's tags.
struct OwnerTag {
  uint64_t handle = 0;  // 0 also when the value is not a handle
  std::size_t index = 0;
  bool found = false;
};
OwnerTag ownerTagOf(const TagList& list);

// Value of the pointer tag (code) inside the application group "{name", or empty.
std::optional<std::string_view> findInAppGroup(const TagList& list, std::string_view groupName, int code);

}  // namespace tags
