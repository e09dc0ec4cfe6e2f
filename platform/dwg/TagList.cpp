#include "TagList.h"

#include <cstring>

#include "OdDbHandle.h"

namespace {

// Layout of one tag: the group code as one byte when it is 0..254, else 0xFF and
// two bytes (little endian, signed); the value length as a base-128 varint; the
// value bytes.
inline void putVarint(std::string& out, uint32_t n) {
  while (n >= 0x80) {
    out += static_cast<char>((n & 0x7F) | 0x80);
    n >>= 7;
  }
  out += static_cast<char>(n);
}

}  // namespace

void TagList::Iterator::load() {
  if (!next_ || next_ >= end_) {
    at_ = next_ = nullptr;
    return;
  }
  at_ = next_;
  const auto* p = reinterpret_cast<const uint8_t*>(at_);
  if (p[0] != 0xFF) {
    tag_.code = p[0];
    p += 1;
  } else {
    tag_.code = static_cast<int16_t>(static_cast<uint16_t>(p[1] | (p[2] << 8)));
    p += 3;
  }
  uint32_t len = 0;
  int shift = 0;
  while (*p & 0x80) {
    len |= uint32_t(*p & 0x7F) << shift;
    shift += 7;
    ++p;
  }
  len |= uint32_t(*p) << shift;
  ++p;
  tag_.value = std::string_view(reinterpret_cast<const char*>(p), len);
  next_ = reinterpret_cast<const char*>(p) + len;
}

std::size_t TagList::byteSize() const {
  if (!data_) return 0;
  uint32_t n;
  std::memcpy(&n, data_.get(), sizeof n);
  return n;
}

TagList::TagList(const TagList& other) {
  if (other.data_) {
    const std::size_t total = sizeof(uint32_t) + other.byteSize();
    data_.reset(new char[total]);
    std::memcpy(data_.get(), other.data_.get(), total);
  }
}

TagList& TagList::operator=(const TagList& other) {
  if (this != &other) {
    TagList copy(other);
    *this = std::move(copy);
  }
  return *this;
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

void TagListBuilder::add(int code, std::string_view value) {
  if (code >= 0 && code < 0xFF) {
    buf_ += static_cast<char>(code);
  } else {
    auto c = static_cast<uint16_t>(static_cast<int16_t>(code));
    buf_ += static_cast<char>(0xFF);
    buf_ += static_cast<char>(c & 0xFF);
    buf_ += static_cast<char>(c >> 8);
  }
  putVarint(buf_, static_cast<uint32_t>(value.size()));
  buf_.append(value);
}

TagList TagListBuilder::finish() {
  TagList list;
  if (!buf_.empty()) {
    const auto n = static_cast<uint32_t>(buf_.size());
    list.data_.reset(new char[sizeof n + n]);
    std::memcpy(list.data_.get(), &n, sizeof n);
    std::memcpy(list.data_.get() + sizeof n, buf_.data(), n);
  }
  buf_.clear();
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
    if (t.code == code && t.code != 100 && (subclass.empty() || sc == subclass)) {
      out = t.value;
      return true;
    }
    return false;
  });
  return out;
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
    if (t.code == code && t.code != 100 && (subclass.empty() || sc == subclass)) {
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
