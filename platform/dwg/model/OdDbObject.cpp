#include "zrdwg/OdDbObject.h"

#include <vector>

#include "model/DxfFields.h"
#include "store/ExtendedData.h"
#include "store/ObjectKinds.h"
#include "store/ObjectStore.h"
#include "zrdwg/DxfValues.h"
#include "zrdwg/TextCodec.h"

ODRX_DEFINE_MEMBERS(OdDbObject, OdRxObject, "AcDbObject")

OdDbObject::~OdDbObject() = default;

std::optional<uint16_t> OdDbObject::fixedKind(std::string_view name) { return objectkinds::fixed(name); }

uint16_t OdDbObject::internType(std::string_view name) { return objectkinds::intern(name); }

const std::string& OdDbObject::dxfName() const {
  if (type_ < kFirstDrawingKind) return objectkinds::name(type_);
  return store()->kindName(type_);
}

OdDbDatabase* OdDbObject::database() const { return store() ? store()->database() : nullptr; }

OdDbObject* OdDbObject::objectAt(uint64_t handle) const {
  return store() ? static_cast<OdDbObject*>(store()->lookup(handle)) : nullptr;
}

void OdDbObject::release() {
  if (--refs_ == 0) {
    destroy();
    return;
  }
  // Only the database's own reference is left: nobody has the object open.
  if (refs_ == 1 && store()) openMode_ = OdDb::kNotOpen;
}

void OdDbObject::assertWriteEnabled() const {
  if (!isWriteEnabled()) throw OdError(eNotOpenForWrite);
}

void OdDbObject::upgradeOpen() {
  if (store()) openMode_ = OdDb::kForWrite;
}

void OdDbObject::downgradeOpen() {
  if (store()) openMode_ = OdDb::kForRead;
}

void OdDbObject::erase(bool erasing) {
  assertWriteEnabled();
  if (erasing && store() && !isErased()) store()->assertErasable(*this);
  if (erasing) {
    flags_ |= kErased;
  } else {
    flags_ &= static_cast<uint8_t>(~kErased);
  }
}

OdString OdDbObject::className() const {
  // Kinds the model knows report their own class; others the drawing's name.
  if (isA() != OdDbObject::desc()) return OdRxObject::className();
  return recordedClassName();
}

OdString OdDbObject::recordedClassName() const {
  std::string_view sc = tags::lastSubclass(tags_);
  if (sc.empty()) return OdRxObject::className();
  return OdString::fromUtf8(sc);
}

OdString OdDbObject::decode(std::string_view raw) const {
  if (store()) return store()->codec().decode(raw);
  static const TextCodec kDefault(true, "");
  return kDefault.decode(raw);
}

std::string OdDbObject::encode(const OdString& text) const {
  if (store()) return store()->codec().encode(text);
  static const TextCodec kDefault(true, "");
  return kDefault.encode(text);
}

OdString OdDbObject::textField(std::string_view subclass, int code) const {
  auto v = field(subclass, code);
  return v ? decode(*v) : OdString();
}

double OdDbObject::doubleField(std::string_view subclass, int code, double dflt) const {
  auto v = field(subclass, code);
  if (!v) return dflt;
  return dxfv::toDouble(*v).value_or(dflt);
}

long OdDbObject::intField(std::string_view subclass, int code, long dflt) const {
  auto v = field(subclass, code);
  if (!v) return dflt;
  return static_cast<long>(dxfv::toInt(*v).value_or(dflt));
}

void OdDbObject::setField(std::string_view subclass, int code, std::string_view raw) {
  assertWriteEnabled();
  tags_ = tags::withValue(tags_, subclass, code, raw);
}

void OdDbObject::setTextField(std::string_view subclass, int code, const OdString& text) {
  std::string raw = encode(text);
  setField(subclass, code, raw);
}

std::optional<std::string_view> OdDbObject::field(const DxfField& f) const { return field(f.subclass, f.code); }

OdString OdDbObject::textField(const DxfField& f) const { return textField(f.subclass, f.code); }

std::string_view OdDbObject::textFieldUtf8(const DxfField& f, std::string& scratch) const {
  scratch.clear();
  const std::optional<std::string_view> raw = field(f);
  if (!raw) return {};
  if (dxfv::readsAsItself(*raw)) return *raw;
  scratch = decode(*raw).toUtf8();
  return scratch;
}

double OdDbObject::doubleField(const DxfField& f, double dflt) const { return doubleField(f.subclass, f.code, dflt); }

long OdDbObject::intField(const DxfField& f, long dflt) const { return intField(f.subclass, f.code, dflt); }

void OdDbObject::setField(const DxfField& f, std::string_view raw) { setField(f.subclass, f.code, raw); }

void OdDbObject::setTextField(const DxfField& f, const OdString& text) { setTextField(f.subclass, f.code, text); }

OdResBufPtr OdDbObject::xData(const OdString& regappName) const {
  xdata::Layout l = xdata::extendedDataOf(tags_);
  const TextCodec* codec = store() ? &store()->codec() : nullptr;
  static const TextCodec kDefault(true, "");
  if (!codec) codec = &kDefault;
  std::u16string want = ObjectStore::nameKey(regappName);
  OdResBufPtr head;
  OdResBuf* tail = nullptr;
  for (auto [first, last] : l.groups) {
    if (!regappName.isEmpty() && ObjectStore::nameKey(codec->decode(l.tags[first].value)) != want) continue;
    OdResBufPtr chain = xdata::groupToChain(l.tags, first, last, *codec);
    if (!head) {
      head = chain;
    } else {
      tail->setNext(chain);
    }
    tail = chain->last();
    if (!regappName.isEmpty()) break;
  }
  return head;
}

bool OdDbObject::xDataTexts(const OdString& regappName, std::vector<OdString>& values) const {
  values.clear();
  if (regappName.isEmpty()) return false;
  // Names are compared ignoring case; the upper-cased key is made only for a
  // name not spelled exactly as asked, which callers seldom meet.
  std::u16string want;
  bool inGroup = false, found = false, needsChain = false;
  xdata::walk(tags_, [&](const DxfTag& t) {
    if (t.code == OdResBuf::kDxfRegAppName) {
      if (inGroup) return false;  // the wanted group ended; the first of a name is the one read
      OdString name = decode(t.value);
      if (name != regappName) {
        if (want.empty()) want = ObjectStore::nameKey(regappName);
        if (ObjectStore::nameKey(name) != want) return true;
      }
      inGroup = found = true;
      values.push_back(std::move(name));
      return true;
    }
    if (!inGroup) return true;
    // Text values read as they are; any other kind (numbers, points joined
    // from their coordinate tags, handles, bytes) goes through the chain.
    if (OdResBuf::kindOf(t.code) != OdResBuf::Kind::kString) {
      needsChain = true;
      return false;
    }
    values.push_back(decode(t.value));
    return true;
  });
  if (needsChain) {
    values.clear();
    OdResBufPtr chain = xData(regappName);
    for (const OdResBuf* rb = chain.get(); rb; rb = rb->next().get()) values.push_back(rb->valueAsText());
    return true;
  }
  return found;
}

namespace {

using dxfv::readsAsItself;
using dxfv::sameAsciiIgnoringCase;

// Replaces each view that does not read as itself by its text (`text` of
// the view, as UTF-8) placed in scratch. The texts are made first and scratch
// reserved to their exact size, so that scratch never moves while the views
// into it are made.
template <class Text>
void placeConverted(std::vector<std::string_view>& views, std::string& scratch, Text text) {
  std::vector<std::string> texts;
  std::size_t total = 0;
  for (std::string_view view : views)
    if (!readsAsItself(view)) total += texts.emplace_back(text(view)).size();
  scratch.reserve(scratch.size() + total);
  std::size_t next = 0;
  for (std::string_view& view : views) {
    if (readsAsItself(view)) continue;
    const std::string& converted = texts[next++];
    view = std::string_view(scratch.data() + scratch.size(), converted.size());
    scratch += converted;
  }
}

}  // namespace

bool OdDbObject::xDataTextsUtf8(std::string_view regappName, std::vector<std::string_view>& values,
                                std::string& scratch) const {
  values.clear();
  scratch.clear();
  if (regappName.empty()) return false;
  const bool asciiName = readsAsItself(regappName);
  std::u16string want;  // the name's key, made only for a name that is not plain ASCII
  bool inGroup = false, found = false, needsChain = false;
  bool converted = false;  // a value is not its own UTF-8
  xdata::walk(tags_, [&](const DxfTag& t) {
    if (t.code == OdResBuf::kDxfRegAppName) {
      if (inGroup) return false;  // the wanted group ended; the first of a name is the one read
      bool same;
      if (asciiName && readsAsItself(t.value)) {
        same = sameAsciiIgnoringCase(t.value, regappName);
      } else {
        if (want.empty()) want = ObjectStore::nameKey(OdString::fromUtf8(regappName));
        same = ObjectStore::nameKey(decode(t.value)) == want;
      }
      if (!same) return true;
      inGroup = found = true;
    } else if (!inGroup) {
      return true;
    } else if (OdResBuf::kindOf(t.code) != OdResBuf::Kind::kString) {
      needsChain = true;
      return false;
    }
    values.push_back(t.value);
    converted |= !readsAsItself(t.value);
    return true;
  });
  if (needsChain) {
    // Values other than text read as valueAsText gives them.
    values.clear();
    std::vector<OdString> texts;
    xDataTexts(OdString::fromUtf8(regappName), texts);
    std::vector<std::string> utf8;
    utf8.reserve(texts.size());
    std::size_t total = 0;
    for (const OdString& text : texts) total += utf8.emplace_back(text.toUtf8()).size();
    scratch.reserve(total);
    for (const std::string& value : utf8) {
      values.emplace_back(scratch.data() + scratch.size(), value.size());
      scratch += value;
    }
    return found;
  }
  if (converted) placeConverted(values, scratch, [this](std::string_view v) { return decode(v).toUtf8(); });
  return found;
}

std::vector<OdString> OdDbObject::xDataApplications() const {
  std::vector<OdString> names;
  xDataApplications(names);
  return names;
}

void OdDbObject::xDataApplications(std::vector<OdString>& names) const {
  names.clear();
  xdata::walk(tags_, [&](const DxfTag& t) {
    if (t.code == OdResBuf::kDxfRegAppName) names.push_back(decode(t.value));
    return true;
  });
}

void OdDbObject::xDataApplicationsUtf8(std::vector<std::string_view>& names, std::string& scratch) const {
  names.clear();
  scratch.clear();
  bool converted = false;
  xdata::walk(tags_, [&](const DxfTag& t) {
    if (t.code == OdResBuf::kDxfRegAppName) {
      names.push_back(t.value);
      converted |= !readsAsItself(t.value);
    }
    return true;
  });
  if (converted) placeConverted(names, scratch, [this](std::string_view v) { return decode(v).toUtf8(); });
}

void OdDbObject::setXData(const OdResBuf* chain) {
  assertWriteEnabled();
  if (!chain) return;
  if (chain->restype() != OdResBuf::kDxfRegAppName || chain->getString().isEmpty())
    throw OdError(eInvalidInput, OdString(u"Extended data must start with an application name (1001)"));
  const OdString app = chain->getString();
  const std::u16string key = ObjectStore::nameKey(app);
  if (store()) store()->registerApplication(app);

  xdata::Layout l = xdata::layoutOf(tags_);
  const TextCodec* codec = store() ? &store()->codec() : nullptr;
  static const TextCodec kDefault(true, "");
  if (!codec) codec = &kDefault;

  std::size_t replaceFirst = l.end, replaceLast = l.end;
  for (auto [first, last] : l.groups) {
    if (ObjectStore::nameKey(codec->decode(l.tags[first].value)) == key) {
      replaceFirst = first;
      replaceLast = last;
      break;
    }
  }
  std::vector<DxfTag> old(l.tags.begin() + static_cast<std::ptrdiff_t>(replaceFirst),
                          l.tags.begin() + static_cast<std::ptrdiff_t>(replaceLast));
  // A chain of the name alone removes the application's data.
  std::vector<std::pair<int, std::string>> fresh;
  if (chain->next()) fresh = xdata::chainToTags(chain, old, *codec);

  TagListBuilder b;
  for (std::size_t i = 0; i < replaceFirst; ++i) b.add(l.tags[i]);
  for (const auto& [code, raw] : fresh) b.add(code, raw);
  for (std::size_t i = replaceLast; i < l.tags.size(); ++i) b.add(l.tags[i]);
  tags_ = b.finish();
}

OdDbObjectId OdDbObject::extensionDictionary() const {
  auto v = tags::findInAppGroup(tags_, "ACAD_XDICTIONARY", 360);
  if (!v || !store()) return OdDbObjectId();
  auto h = dxfv::toHandle(*v);
  if (!h) return OdDbObjectId();
  return OdDbObjectId::fromObject(objectAt(*h));
}

bool OdDbObject::createExtensionDictionary() {
  assertWriteEnabled();
  if (!extensionDictionary().isNull()) return false;
  if (!store()) throw OdError(eNotInDatabase);
  const uint64_t dictionary = store()->addExtensionDictionary(this);

  std::vector<DxfTag> v = tags_.toVector();
  // The group goes after the handle and after a reactors group, where other
  // programs write it.
  std::size_t at = 0;
  while (at < v.size() && (v[at].code == 5 || v[at].code == 105)) ++at;
  if (at < v.size() && v[at].code == 102 && v[at].value == "{ACAD_REACTORS") {
    while (at < v.size() && !(v[at].code == 102 && v[at].value == "}")) ++at;
    if (at < v.size()) ++at;
  }
  std::string hex = OdDbHandle(dictionary).hex();
  v.insert(v.begin() + static_cast<std::ptrdiff_t>(at),
           {DxfTag{102, "{ACAD_XDICTIONARY"}, DxfTag{360, hex}, DxfTag{102, "}"}});
  tags_ = TagList::fromTags(v);
  return true;
}

// An identifier names an object and opens it: defined with the object, so
// that the identifier, which every object class uses, stands below them.

const OdDbObjectId OdDbObjectId::kNull;

bool OdDbObjectId::isErased() const { return object_ && object_->isErased(); }

OdDbHandle OdDbObjectId::getHandle() const { return object_ ? object_->getDbHandle() : OdDbHandle(); }

OdDbDatabase* OdDbObjectId::database() const { return object_ ? object_->database() : nullptr; }

bool operator<(const OdDbObjectId& a, const OdDbObjectId& b) {
  return a.getHandle().value() < b.getHandle().value();
}

OdDbObjectPtr OdDbObjectId::openObject(OdDb::OpenMode mode, bool openErased) const {
  if (!object_) return OdDbObjectPtr();
  if (object_->isErased() && !openErased) return OdDbObjectPtr();
  if (mode == OdDb::kForWrite) {
    object_->upgradeOpen();
  } else if (object_->numRefs() <= 1) {
    // Nobody has it open: it opens in the mode asked for.
    object_->downgradeOpen();
  }
  return OdDbObjectPtr(object_);
}

OdDbObjectPtr OdDbObjectId::safeOpenObject(OdDb::OpenMode mode, bool openErased) const {
  if (!object_) throw OdError(eNullObjectId);
  if (object_->isErased() && !openErased) throw OdError(eWasErased);
  return openObject(mode, openErased);
}
