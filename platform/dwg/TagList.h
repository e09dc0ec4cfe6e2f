#pragma once
// TagList: the group-code/value pairs of one drawing object, kept exactly as read
// from the file (values are the file's bytes, without line ends) in one compact
// block. It is the source of truth for writing an object back, so that what the
// model does not interpret survives unchanged; the model's accessors read their
// fields out of it and edits replace single values.

#include <cstdint>
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
    void load();
    const char* at_ = nullptr;    // start of the current tag, null at the end
    const char* next_ = nullptr;  // start of the following tag
    const char* end_ = nullptr;
    DxfTag tag_;
  };

  TagList() = default;
  ~TagList() { reset(); }
  // A copy owns its bytes, whatever the original does: it may outlive the
  // drawing whose arena holds the original's.
  TagList(const TagList& other);
  TagList& operator=(const TagList& other);
  TagList(TagList&& other) noexcept : bits_(other.bits_) { other.bits_ = 0; }
  TagList& operator=(TagList&& other) noexcept {
    if (this != &other) {
      reset();
      bits_ = other.bits_;
      other.bits_ = 0;
    }
    return *this;
  }

  static TagList fromTags(const std::vector<DxfTag>& tags);

  Iterator begin() const { return Iterator(payload(), payload() + byteSize()); }
  Iterator end() const { return Iterator(nullptr, nullptr); }
  bool empty() const { return bits_ == 0; }
  std::size_t byteSize() const;
  std::vector<DxfTag> toVector() const;
  // True when the bytes live in a TagArena (the drawing's) rather than in a
  // block of the list's own.
  bool inArena() const { return bits_ & 1; }
  // Copies arena-held bytes into a block of the list's own, for an object
  // that outlives its drawing's arena.
  void makeOwned();

 private:
  friend class TagListBuilder;
  void reset();
  // The block: the payload's size (4 bytes) followed by the payload.
  const char* block() const { return reinterpret_cast<const char*>(bits_ & ~uintptr_t(1)); }
  const char* payload() const { return bits_ ? block() + sizeof(uint32_t) : nullptr; }
  // The block's address, its lowest bit set when an arena holds it (arena
  // blocks start at even addresses). Null when empty. A drawing has millions
  // of lists, so the list itself is one word.
  uintptr_t bits_ = 0;
};

// Collects tags and packs them into a TagList; reusable after finish().
//
// Layout of one tag: the group code as one byte when it is 0..253, else 0xFF
// and two bytes (little endian, signed); the value length as a base-128
// varint; the value bytes. A subclass marker (code 100) of a class the model
// knows is the byte 0xFE and the class's index in a fixed table: every entity
// repeats its class names, so this keeps a drawing markedly smaller.
class TagListBuilder {
 public:
  void add(int code, std::string_view value);
  void add(const DxfTag& tag) { add(tag.code, tag.value); }
  void clear() { size_ = 0; }
  bool empty() const { return size_ == 0; }
  // Bytes collected; finish() holds at most kMaxBytes.
  std::size_t size() const { return size_; }
  static constexpr std::size_t kMaxBytes = UINT32_MAX;
  // The list in a block of its own.
  TagList finish();
  // The list in the arena, which must outlive it (or makeOwned() be called).
  TagList finish(TagArena& arena);

 private:
  // Room for `more` bytes at the end; where they go.
  char* grow(std::size_t more);
  // Written byte by byte for every tag read: a buffer of its own, not a
  // string, so that no byte is initialised twice or checked for room alone.
  std::unique_ptr<char[]> buf_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Queries over an object's tags. A subclass is the part after a "100 <name>"
// marker up to the next marker; application groups ("102 {NAME" ... "102 }")
// and extended data (from the first 1001) are never searched.
namespace tags {

// Value of the first tag with this code, in the named subclass (empty name:
// anywhere in the object's own data).
std::optional<std::string_view> find(const TagList& list, std::string_view subclass, int code);

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
