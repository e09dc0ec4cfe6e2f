#include "OdDbObject.h"

#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "DatabaseImpl.h"
#include "DxfValues.h"
#include "ExtendedData.h"
#include "OdDbDictionary.h"
#include "OdDbEntity.h"
#include "TextCodec.h"

ODRX_DEFINE_MEMBERS(OdDbObject, OdRxObject, "AcDbObject")

OdDbObject::~OdDbObject() = default;

namespace {

// Kinds numbered alike in every process: those the model makes and those
// most drawings hold. The order is the numbering; new names go at the end.
const char* const kFixedKinds[] = {
    "TABLE", "BLOCK_RECORD", "LAYER", "LTYPE", "STYLE", "VIEW", "UCS", "VPORT", "APPID", "DIMSTYLE",
    "BLOCK", "ENDBLK", "INSERT", "ATTRIB", "ATTDEF", "SEQEND", "TEXT", "MTEXT", "LINE", "POLYLINE",
    "VERTEX", "LWPOLYLINE", "CIRCLE", "ARC", "ELLIPSE", "SPLINE", "POINT", "SOLID", "HATCH", "DIMENSION",
    "LEADER", "MLEADER", "VIEWPORT", "3DFACE", "IMAGE", "WIPEOUT", "XLINE", "RAY", "TRACE", "REGION",
    "3DSOLID", "BODY", "TOLERANCE", "SHAPE", "OLE2FRAME", "DICTIONARY", "ACDBDICTIONARYWDFLT", "XRECORD",
    "LAYOUT", "PLOTSETTINGS", "GROUP", "MLINESTYLE", "MLINE", "ACDBPLACEHOLDER", "DICTIONARYVAR",
    "SCALE", "VISUALSTYLE", "MATERIAL", "TABLESTYLE", "MLEADERSTYLE", "CELLSTYLEMAP", "SUNSTUDY",
    "SUN", "LAYER_INDEX", "SPATIAL_INDEX", "LAYER_FILTER", "SPATIAL_FILTER", "IDBUFFER", "IMAGEDEF",
    "IMAGEDEF_REACTOR", "RASTERVARIABLES", "WIPEOUTVARIABLES", "FIELD", "FIELDLIST", "GEODATA",
    "SORTENTSTABLE", "DATATABLE", "DIMASSOC", "TABLEGEOMETRY", "ACAD_PROXY_OBJECT", "ACAD_PROXY_ENTITY",
    "ACAD_TABLE", "PDFDEFINITION", "DWFDEFINITION", "DGNDEFINITION", "UNDERLAYDEFINITION", "XREF",
    "ACDBDETAILVIEWSTYLE", "ACDBSECTIONVIEWSTYLE", "SECTION", "HELIX", "SURFACE", "MESH", "LIGHT",
    "ARC_DIMENSION", "EXTRUDEDSURFACE", "LOFTEDSURFACE", "REVOLVEDSURFACE", "SWEPTSURFACE",
    "PLANESURFACE", "NURBSSURFACE", "VBA_PROJECT", "OBJECT_PTR", "PLACEHOLDER",
};
constexpr std::size_t kFixedCount = sizeof kFixedKinds / sizeof kFixedKinds[0];

// Built once, then only read: no lock.
const std::unordered_map<std::string_view, uint16_t>& fixedIndex() {
  static const std::unordered_map<std::string_view, uint16_t> index = [] {
    std::unordered_map<std::string_view, uint16_t> m;
    for (std::size_t i = 0; i < kFixedCount; ++i) m.emplace(kFixedKinds[i], static_cast<uint16_t>(i));
    return m;
  }();
  return index;
}
const std::vector<std::string>& fixedNames() {
  static const std::vector<std::string> names(std::begin(kFixedKinds), std::end(kFixedKinds));
  return names;
}

// Kinds of objects that outlived their drawing, kept for the process. Entries
// are written once and never move, so reading an index handed out earlier
// needs no lock.
constexpr std::size_t kMaxKeptKinds = OdDbObject::kFirstDrawingKind - kFixedCount;
std::atomic<const std::string*> gKeptNames[kMaxKeptKinds];
std::mutex gKeptMutex;
std::unordered_map<std::string, uint16_t> gKeptIndex;
const std::string kUnnamedKind = "ACDBPLACEHOLDER";

}  // namespace

std::optional<uint16_t> OdDbObject::fixedKind(std::string_view name) {
  const auto& index = fixedIndex();
  auto it = index.find(name);
  if (it == index.end()) return std::nullopt;
  return it->second;
}

uint16_t OdDbObject::internType(std::string_view name) {
  if (auto fixed = fixedKind(name)) return *fixed;
  std::lock_guard<std::mutex> lock(gKeptMutex);
  auto it = gKeptIndex.find(std::string(name));
  if (it != gKeptIndex.end()) return it->second;
  // Only objects kept past their drawing come here; should a process keep
  // that many kinds, the rest are named as placeholders.
  if (gKeptIndex.size() >= kMaxKeptKinds) return *fixedKind(kUnnamedKind);
  const std::size_t slot = gKeptIndex.size();
  auto* stored = new std::string(name);  // lives for the process
  gKeptNames[slot].store(stored, std::memory_order_release);
  const auto type = static_cast<uint16_t>(kFixedCount + slot);
  gKeptIndex.emplace(*stored, type);
  return type;
}

const std::string& OdDbObject::dxfName() const {
  if (type_ < kFixedCount) return fixedNames()[type_];
  if (type_ < kFirstDrawingKind) return *gKeptNames[type_ - kFixedCount].load(std::memory_order_acquire);
  return db_->impl().kindName(type_);
}

void OdDbObject::release() {
  if (--refs_ == 0) {
    delete this;
    return;
  }
  // Only the database's own reference is left: nobody has the object open.
  if (refs_ == 1 && db_) openMode_ = OdDb::kNotOpen;
}

void OdDbObject::assertWriteEnabled() const {
  if (!isWriteEnabled()) throw OdError(eNotOpenForWrite);
}

void OdDbObject::upgradeOpen() {
  if (db_) openMode_ = OdDb::kForWrite;
}

void OdDbObject::downgradeOpen() {
  if (db_) openMode_ = OdDb::kForRead;
}

void OdDbObject::erase(bool erasing) {
  assertWriteEnabled();
  if (erasing && db_ && !isErased()) db_->impl().assertErasable(this);
  if (erasing) {
    flags_ |= kErased;
  } else {
    flags_ &= static_cast<uint8_t>(~kErased);
  }
}

OdString OdDbObject::className() const {
  // Kinds the model knows report their own class; others the drawing's name.
  if (isA() != OdDbObject::desc() && isA() != OdDbEntity::desc()) return OdRxObject::className();
  std::string_view sc = tags::lastSubclass(tags_);
  if (sc.empty()) return OdRxObject::className();
  return OdString::fromUtf8(sc);
}

OdString OdDbObject::decode(std::string_view raw) const {
  if (db_) return db_->codec().decode(raw);
  static const TextCodec kDefault(true, "");
  return kDefault.decode(raw);
}

std::string OdDbObject::encode(const OdString& text) const {
  if (db_) return db_->codec().encode(text);
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

namespace {

// The extended-data part of an object's tags (from the first 1001 on), as
// xdata::layoutOf would find it, without copying the object's own tags: the
// pin check reads extended data of every symbol.
xdata::Layout extendedDataOf(const TagList& list) {
  xdata::Layout l;
  bool inXdata = false;
  for (const DxfTag& t : list) {
    if (!inXdata && t.code != 1001) continue;
    inXdata = true;
    l.tags.push_back(t);
  }
  l.begin = 0;
  std::size_t i = 0;
  while (i < l.tags.size() && l.tags[i].code == 1001) {
    std::size_t j = i + 1;
    while (j < l.tags.size() && l.tags[j].code >= 1000 && l.tags[j].code != 1001) ++j;
    l.groups.emplace_back(i, j);
    i = j;
  }
  l.end = i;
  return l;
}

}  // namespace

OdResBufPtr OdDbObject::xData(const OdString& regappName) const {
  xdata::Layout l = extendedDataOf(tags_);
  const TextCodec* codec = db_ ? &db_->codec() : nullptr;
  static const TextCodec kDefault(true, "");
  if (!codec) codec = &kDefault;
  std::u16string want = DatabaseImpl::nameKey(regappName);
  OdResBufPtr head;
  OdResBuf* tail = nullptr;
  for (auto [first, last] : l.groups) {
    if (!regappName.isEmpty() && DatabaseImpl::nameKey(codec->decode(l.tags[first].value)) != want) continue;
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
  // The groups as extendedDataOf finds them: from the first 1001 to a code
  // below 1000.
  bool inXdata = false, inGroup = false, found = false;
  for (const DxfTag& t : tags_) {
    if (t.code == 1001) {
      inXdata = true;
      if (inGroup) break;  // the wanted group ended; the first of a name is the one read
      OdString name = decode(t.value);
      if (name != regappName) {
        if (want.empty()) want = DatabaseImpl::nameKey(regappName);
        if (DatabaseImpl::nameKey(name) != want) continue;
      }
      inGroup = found = true;
      values.push_back(std::move(name));
    } else if (!inXdata) {
      continue;
    } else if (t.code < 1000) {
      break;
    } else if (inGroup) {
      // Text values read as they are; any other kind (numbers, points joined
      // from their coordinate tags, handles, bytes) goes through the chain.
      if (OdResBuf::kindOf(t.code) != OdResBuf::Kind::kString) {
        values.clear();
        OdResBufPtr chain = xData(regappName);
        for (const OdResBuf* rb = chain.get(); rb; rb = rb->next().get()) values.push_back(rb->valueAsText());
        return true;
      }
      values.push_back(decode(t.value));
    }
  }
  return found;
}

std::vector<OdString> OdDbObject::xDataApplications() const {
  std::vector<OdString> names;
  xDataApplications(names);
  return names;
}

void OdDbObject::xDataApplications(std::vector<OdString>& names) const {
  // The groups extendedDataOf finds, in one pass without copying the tags:
  // extended data starts at the first 1001 and ends at a code below 1000.
  names.clear();
  bool inXdata = false;
  for (const DxfTag& t : tags_) {
    if (t.code == 1001) {
      inXdata = true;
      names.push_back(decode(t.value));
    } else if (inXdata && t.code < 1000) {
      break;
    }
  }
}

void OdDbObject::setXData(const OdResBuf* chain) {
  assertWriteEnabled();
  if (!chain) return;
  if (chain->restype() != OdResBuf::kDxfRegAppName || chain->getString().isEmpty())
    throw OdError(eInvalidInput, OdString(u"Extended data must start with an application name (1001)"));
  const OdString app = chain->getString();
  const std::u16string key = DatabaseImpl::nameKey(app);
  if (db_) db_->impl().ensureRegApp(app);

  xdata::Layout l = xdata::layoutOf(tags_);
  const TextCodec* codec = db_ ? &db_->codec() : nullptr;
  static const TextCodec kDefault(true, "");
  if (!codec) codec = &kDefault;

  std::size_t replaceFirst = l.end, replaceLast = l.end;
  for (auto [first, last] : l.groups) {
    if (DatabaseImpl::nameKey(codec->decode(l.tags[first].value)) == key) {
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
  if (!v || !db_) return OdDbObjectId();
  auto h = dxfv::toHandle(*v);
  if (!h) return OdDbObjectId();
  return OdDbObjectId::fromObject(db_->impl().lookup(*h));
}

bool OdDbObject::createExtensionDictionary() {
  assertWriteEnabled();
  if (!extensionDictionary().isNull()) return false;
  if (!db_) throw OdError(eNotInDatabase);
  OdDbDictionaryPtr dict = OdDbDictionary::createObject();
  // An extension dictionary is owned by its object: hard ownership.
  dict->tags_ = tags::withValue(dict->tags_, "AcDbDictionary", 280, "1");
  db_->impl().addObject(dict.get(), this);
  db_->impl().objectsSection.push_back(dict.get());

  std::vector<DxfTag> v = tags_.toVector();
  // The group goes after the handle and after a reactors group, where other
  // programs write it.
  std::size_t at = 0;
  while (at < v.size() && (v[at].code == 5 || v[at].code == 105)) ++at;
  if (at < v.size() && v[at].code == 102 && v[at].value == "{ACAD_REACTORS") {
    while (at < v.size() && !(v[at].code == 102 && v[at].value == "}")) ++at;
    if (at < v.size()) ++at;
  }
  std::string hex = dict->getDbHandle().hex();
  v.insert(v.begin() + static_cast<std::ptrdiff_t>(at),
           {DxfTag{102, "{ACAD_XDICTIONARY"}, DxfTag{360, hex}, DxfTag{102, "}"}});
  tags_ = TagList::fromTags(v);
  return true;
}
