#include "store/ExtendedData.h"

#include "zrdwg/DxfValues.h"
#include "zrdwg/OdString.h"
#include "zrdwg/TextCodec.h"

namespace xdata {

namespace {

// Splits the extended data l.tags[l.begin, l.end), which walk delimited,
// into its applications' groups: each starts at its 1001.
void splitGroups(Layout& l) {
  for (std::size_t i = l.begin; i < l.end; ++i) {
    if (l.tags[i].code != OdResBuf::kDxfRegAppName) continue;
    if (!l.groups.empty()) l.groups.back().second = i;
    l.groups.emplace_back(i, l.end);
  }
}

}  // namespace

Layout layoutOf(const TagList& list) {
  Layout l;
  l.tags = list.toVector();
  std::size_t count = 0;
  walk(list, [&](const DxfTag&) {
    ++count;
    return true;
  });
  l.begin = l.tags.size();
  for (std::size_t i = 0; i < l.tags.size(); ++i) {
    if (l.tags[i].code == OdResBuf::kDxfRegAppName) {
      l.begin = i;
      break;
    }
  }
  l.end = l.begin + count;
  splitGroups(l);
  return l;
}

Layout extendedDataOf(const TagList& list) {
  Layout l;
  walk(list, [&](const DxfTag& t) {
    l.tags.push_back(t);
    return true;
  });
  l.begin = 0;
  l.end = l.tags.size();
  splitGroups(l);
  return l;
}

namespace {

std::vector<uint8_t> hexBytes(std::string_view s) {
  std::vector<uint8_t> out;
  auto nib = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  s = dxfv::trim(s);
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    int a = nib(s[i]), b = nib(s[i + 1]);
    if (a < 0 || b < 0) break;
    out.push_back(static_cast<uint8_t>(a * 16 + b));
  }
  return out;
}

// One scalar read from a tag, for building chains and comparing old with new.
OdResBufPtr scalar(int code, std::string_view raw, const TextCodec& codec) {
  OdResBufPtr rb = OdResBuf::newRb(code);
  switch (OdResBuf::kindOf(code)) {
    case OdResBuf::Kind::kDouble:
    case OdResBuf::Kind::kPoint:
      rb->setDouble(dxfv::toDouble(raw).value_or(0.0));
      break;
    case OdResBuf::Kind::kInt16:
    case OdResBuf::Kind::kInt32:
    case OdResBuf::Kind::kInt64:
    case OdResBuf::Kind::kBool:
      rb->setInt64(dxfv::toInt(raw).value_or(0));
      break;
    case OdResBuf::Kind::kHandle:
      rb->setHandle(dxfv::toHandle(raw).value_or(0));
      break;
    case OdResBuf::Kind::kBinary:
      rb->setBinaryChunk(hexBytes(raw));
      break;
    default:
      rb->setString(codec.decode(raw));
      break;
  }
  return rb;
}

}  // namespace

OdResBufPtr groupToChain(const std::vector<DxfTag>& tags, std::size_t first, std::size_t last,
                         const TextCodec& codec) {
  OdResBufPtr head, tail;
  auto append = [&](OdResBufPtr rb) {
    if (!head) {
      head = tail = rb;
    } else {
      tail = tail->setNext(rb);
    }
  };
  for (std::size_t i = first; i < last; ++i) {
    const DxfTag& t = tags[i];
    if (OdResBuf::kindOf(t.code) == OdResBuf::Kind::kPoint) {
      // A point is its x tag followed by y (code + 10) and z (code + 20).
      OdGePoint3d p(dxfv::toDouble(t.value).value_or(0.0), 0.0, 0.0);
      if (i + 1 < last && tags[i + 1].code == t.code + 10) p.y = dxfv::toDouble(tags[++i].value).value_or(0.0);
      if (i + 1 < last && tags[i + 1].code == t.code + 20) p.z = dxfv::toDouble(tags[++i].value).value_or(0.0);
      append(OdResBuf::newRb(t.code, p));
    } else if (t.code >= 1020 && t.code <= 1033) {
      // A y or z without its x: keep the value as a real of that code.
      OdResBufPtr rb = OdResBuf::newRb(t.code);
      rb->setDouble(dxfv::toDouble(t.value).value_or(0.0));
      append(rb);
    } else {
      append(scalar(t.code, t.value, codec));
    }
  }
  return head;
}

namespace {

bool sameValue(const OdResBuf& a, const OdResBuf& b) {
  switch (OdResBuf::kindOf(a.restype())) {
    case OdResBuf::Kind::kDouble:
    case OdResBuf::Kind::kPoint:
      return a.getDouble() == b.getDouble();
    case OdResBuf::Kind::kInt16:
    case OdResBuf::Kind::kInt32:
    case OdResBuf::Kind::kInt64:
    case OdResBuf::Kind::kBool:
      return a.getInt64() == b.getInt64();
    case OdResBuf::Kind::kHandle:
      return a.getHandle().value() == b.getHandle().value();
    case OdResBuf::Kind::kBinary:
      return a.getBinaryChunk() == b.getBinaryChunk();
    default:
      return a.getString() == b.getString();
  }
}

}  // namespace

std::vector<std::pair<int, std::string>> chainToTags(const OdResBuf* chain, const std::vector<DxfTag>& oldTags,
                                                     const TextCodec& codec) {
  std::vector<std::pair<int, std::string>> out;
  // New tags with the typed value each stands for.
  std::vector<OdResBufPtr> values;
  auto add = [&](int code, std::string raw, OdResBufPtr value) {
    out.emplace_back(code, std::move(raw));
    values.push_back(value);
  };
  for (const OdResBuf* rb = chain; rb; rb = rb->next().get()) {
    const int code = rb->restype();
    switch (OdResBuf::kindOf(code)) {
      case OdResBuf::Kind::kPoint: {
        OdGePoint3d p = rb->getPoint3d();
        add(code, odFormatDouble(p.x), OdResBuf::newRb(code, p.x));
        add(code + 10, odFormatDouble(p.y), OdResBuf::newRb(code + 10, p.y));
        add(code + 20, odFormatDouble(p.z), OdResBuf::newRb(code + 20, p.z));
        break;
      }
      case OdResBuf::Kind::kDouble:
        add(code, odFormatDouble(rb->getDouble()), OdResBuf::newRb(code, rb->getDouble()));
        break;
      case OdResBuf::Kind::kInt16:
      case OdResBuf::Kind::kInt32:
      case OdResBuf::Kind::kInt64:
      case OdResBuf::Kind::kBool: {
        OdResBufPtr v = OdResBuf::newRb(code);
        v->setInt64(rb->getInt64());
        add(code, dxfv::fromInt(rb->getInt64()), v);
        break;
      }
      case OdResBuf::Kind::kHandle: {
        OdResBufPtr v = OdResBuf::newRb(code);
        v->setHandle(rb->getHandle());
        add(code, dxfv::fromHandle(rb->getHandle().value()), v);
        break;
      }
      case OdResBuf::Kind::kBinary: {
        OdResBufPtr v = OdResBuf::newRb(code);
        v->setBinaryChunk(rb->getBinaryChunk());
        add(code, dxfv::hexOf(rb->getBinaryChunk()), v);
        break;
      }
      default:
        add(code, codec.encode(rb->getString()), OdResBuf::newRb(code, rb->getString()));
        break;
    }
  }
  for (std::size_t i = 0; i < out.size() && i < oldTags.size(); ++i) {
    if (oldTags[i].code != out[i].first) continue;
    OdResBufPtr old = scalar(oldTags[i].code, oldTags[i].value, codec);
    if (sameValue(*values[i], *old)) out[i].second = std::string(oldTags[i].value);
  }
  return out;
}

}  // namespace xdata
