#include "zrdwg/OdDbDictionary.h"

#include <algorithm>

#include "model/DatabaseImpl.h"
#include "model/DxfFields.h"
#include "zrdwg/DxfValues.h"
#include "model/NewObjectTags.h"

ODRX_DEFINE_MEMBERS(OdDbDictionary, OdDbObject, "AcDbDictionary")
ODRX_DEFINE_MEMBERS(OdDbDictionaryIterator, OdRxObject, "OdDbDictionaryIterator")
ODRX_DEFINE_MEMBERS(OdDbXrecord, OdDbObject, "AcDbXrecord")

OdDbDictionaryPtr OdDbDictionary::createObject() {
  OdDbDictionaryPtr dict(new OdDbDictionary(internType("DICTIONARY")));
  dict->tags_ = newtags::dictionary();
  return dict;
}

void OdDbDictionary::onLoaded() {
  // Entries (3 key, then 350 or 360 handle) move out of the tag list; the
  // writer puts them back where the first one stood.
  std::vector<DxfTag> v = tags_.toVector();
  const std::size_t end = tags::xdataStart(v);
  std::vector<DxfTag> rest;
  rest.reserve(v.size());
  bool inGroup = false;
  bool inDictionary = false;
  bool placed = false;
  for (std::size_t i = 0; i < v.size(); ++i) {
    const DxfTag& t = v[i];
    if (i < end) {
      if (t.code == 102) inGroup = !t.value.empty() && t.value[0] == '{';
      if (!inGroup && t.code == 100) inDictionary = t.value == "AcDbDictionary";
      if (!inGroup && inDictionary && t.code == 3 && i + 1 < end && (v[i + 1].code == 350 || v[i + 1].code == 360)) {
        if (!placed) {
          entriesAt_ = rest.size();
          placed = true;
        }
        Entry e;
        e.rawKey = std::string(t.value);
        e.key = decode(t.value);
        e.code = v[i + 1].code;
        e.tagIndex = static_cast<uint32_t>(i);
        e.handle = dxfv::toHandle(v[i + 1].value).value_or(0);
        e.rawHandle = std::string(v[i + 1].value);
        index_.emplace(e.key.str(), entries_.size());
        entries_.push_back(std::move(e));
        ++i;
        continue;
      }
    }
    rest.push_back(t);
  }
  if (!placed) entriesAt_ = kAtSubclassEnd;
  tags_ = TagList::fromTags(rest);
}

OdDbObjectId OdDbDictionary::getAt(const OdString& key) const {
  auto it = index_.find(key.str());
  if (it == index_.end() || !store()) return OdDbObjectId();
  return OdDbObjectId::fromObject(objectAt(entries_[it->second].handle));
}

OdDbObjectPtr OdDbDictionary::getAt(const OdString& key, OdDb::OpenMode mode) const {
  return getAt(key).openObject(mode);
}

OdDbObjectId OdDbDictionary::setAt(const OdString& key, OdDbObject* object) {
  assertWriteEnabled();
  if (!object) throw OdError(eInvalidInput);
  if (key.isEmpty()) throw OdError(eInvalidKey, OdString(u"A dictionary entry needs a name"));
  if (!store()) throw OdError(eNotInDatabase);
  DatabaseImpl& impl = DatabaseImpl::of(store());
  if (!object->database()) {
    impl.addObject(object, this);
    impl.objectsSection.push_back(object);
  } else if (object->database() != database()) {
    throw OdError(eInvalidInput, OdString(u"Object of another drawing"));
  }
  auto it = index_.find(key.str());
  if (it != index_.end()) {
    entries_[it->second].handle = object->handle_;
    entries_[it->second].rawHandle.clear();
    return object->objectId();
  }
  Entry e;
  e.key = key;
  e.rawKey = encode(key);
  // Follow the dictionary's own kind of ownership (280 = 1: hard owner).
  namespace dictionary = fields::dictionary;
  e.code = intField(dictionary::kHardOwner, 0) == 1 ? dictionary::kEntryHard.code : dictionary::kEntrySoft.code;
  if (!entries_.empty()) e.code = entries_.back().code;
  e.handle = object->handle_;
  index_.emplace(e.key.str(), entries_.size());
  entries_.push_back(std::move(e));
  return object->objectId();
}

OdDbDictionaryIteratorPtr OdDbDictionary::newIterator(OdRx::DictIterType type) const {
  std::vector<OdDbDictionaryIterator::Item> items;
  items.reserve(entries_.size());
  for (const Entry& e : entries_) {
    OdDbObject* object = store() ? objectAt(e.handle) : nullptr;
    if (object && object->isErased()) continue;
    items.push_back({e.key, OdDbObjectId::fromObject(object)});
  }
  // Dictionaries are mostly filled in name order already: checked in one
  // pass, sorted only when they are not.
  auto byName = [](const auto& a, const auto& b) { return a.name.str() < b.name.str(); };
  if (type == OdRx::kDictSorted && !std::is_sorted(items.begin(), items.end(), byName))
    std::stable_sort(items.begin(), items.end(), byName);
  return OdDbDictionaryIteratorPtr(new OdDbDictionaryIterator(std::move(items)));
}

OdDbObjectPtr OdDbDictionaryIterator::getObject(OdDb::OpenMode mode) const { return objectId().openObject(mode); }

OdSmartPtr<OdDbXrecord> OdDbXrecord::createObject() {
  OdSmartPtr<OdDbXrecord> record(new OdDbXrecord(internType("XRECORD")));
  record->tags_ = newtags::xrecord();
  return record;
}

namespace {
// Where a record's values start: after its subclass marker and cloning flag.
std::size_t xrecordValuesAt(const std::vector<DxfTag>& v) {
  namespace xrecord = fields::xrecord;
  std::size_t i = 0;
  while (i < v.size() && !(v[i].code == kSubclassMarkerCode && v[i].value == xrecord::kMarker)) ++i;
  if (i < v.size()) ++i;
  if (i < v.size() && v[i].code == xrecord::kCloning.code) ++i;
  return i;
}
}  // namespace

OdResBufPtr OdDbXrecord::rbChain() const {
  std::vector<DxfTag> v = tags_.toVector();
  std::size_t i = xrecordValuesAt(v);
  OdResBufPtr head;
  OdResBuf* tail = nullptr;
  for (; i < v.size() && v[i].code != 1001; ++i) {
    OdResBufPtr rb = OdResBuf::newRb(v[i].code);
    switch (OdResBuf::kindOf(v[i].code)) {
      case OdResBuf::Kind::kString: rb->setString(decode(v[i].value)); break;
      case OdResBuf::Kind::kDouble:
      case OdResBuf::Kind::kPoint: rb->setDouble(dxfv::toDouble(v[i].value).value_or(0.0)); break;
      case OdResBuf::Kind::kHandle: rb->setHandle(dxfv::toHandle(v[i].value).value_or(0)); break;
      case OdResBuf::Kind::kBinary: rb->setString(decode(v[i].value)); break;
      default: rb->setInt64(dxfv::toInt(v[i].value).value_or(0)); break;
    }
    if (!head) {
      head = rb;
      tail = rb.get();
    } else {
      tail = tail->setNext(rb).get();
    }
  }
  return head;
}

void OdDbXrecord::setFromRbChain(const OdResBuf* chain) {
  assertWriteEnabled();
  std::vector<DxfTag> v = tags_.toVector();
  std::size_t i = xrecordValuesAt(v);
  std::size_t end = tags::xdataStart(v);
  std::vector<std::string> texts;
  std::vector<int> codes;
  for (const OdResBuf* rb = chain; rb; rb = rb->next().get()) {
    codes.push_back(rb->restype());
    switch (OdResBuf::kindOf(rb->restype())) {
      case OdResBuf::Kind::kString:
      case OdResBuf::Kind::kBinary: texts.push_back(encode(rb->getString())); break;
      case OdResBuf::Kind::kDouble:
      case OdResBuf::Kind::kPoint: texts.push_back(odFormatDouble(rb->getDouble())); break;
      case OdResBuf::Kind::kHandle: texts.push_back(rb->getHandle().hex()); break;
      default: texts.push_back(dxfv::fromInt(rb->getInt64())); break;
    }
  }
  TagListBuilder b;
  for (std::size_t k = 0; k < i; ++k) b.add(v[k]);
  for (std::size_t k = 0; k < codes.size(); ++k) b.add(codes[k], texts[k]);
  for (std::size_t k = end; k < v.size(); ++k) b.add(v[k]);
  tags_ = b.finish();
}
