#include "dxf/DxfLoader.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <unordered_map>

#include "model/DatabaseImpl.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"
#include "zrdwg/DxfValues.h"
#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbText.h"
#include "dxf/DxfLinker.h"
#include "dxf/NewDrawingTemplate.h"

namespace {

// The DXF versions read, from R2000 to R2018.
const char* const kVersions[] = {"AC1015", "AC1018", "AC1021", "AC1024", "AC1027", "AC1032"};

// Longest kind of object ("LINE", "ACDBDICTIONARYWDFLT", ...) accepted.
constexpr std::size_t kMaxTypeName = 255;
// Kinds a drawing may number of its own (ObjectStore::kindOf).
constexpr std::size_t kMaxDrawingKinds = 0x10000 - OdDbObject::kFirstDrawingKind - 1;

const char* kSupported = "this program reads ASCII DXF of R2000 (AC1015) to R2018 (AC1032)";

// A handle or owner tag's value, read in place when it is bare hexadecimal
// digits (every object has one or two), else as dxfv::toHandle reads it.
std::optional<uint64_t> handleOf(std::string_view v) {
  if (v.empty() || v.size() > 16) return dxfv::toHandle(v);
  uint64_t h = 0;
  for (char c : v) {
    unsigned d = static_cast<unsigned char>(c) - '0';
    if (d > 9) {
      d = (static_cast<unsigned char>(c) | 0x20) - 'a';
      if (d > 5) return dxfv::toHandle(v);
      d += 10;
    }
    h = h << 4 | d;
  }
  return h;
}

}  // namespace

DxfLoader::DxfLoader(OdDbDatabase& db, const OdString& path, OdDbReadPurpose purpose)
    : impl_(DatabaseImpl::of(db)), path_(path.toUtf8()) {
  impl_.readPurpose = purpose;
}

DxfLoader::~DxfLoader() = default;


template <class T>
T* DxfLoader::placed(uint16_t type) {
  T* object = new (impl_.arena.allocateAligned(sizeof(T))) T(type);
  static_cast<OdDbObject*>(object)->flags_ |= OdDbObject::kInArena;
  return object;
}

uint16_t DxfLoader::typeOf(std::string_view name) {
  // Most drawings use a few dozen kinds: a short list beats the shared
  // table's lock. The kinds found last are tried first: objects come in
  // runs of a few kinds (INSERT, ATTRIB, SEQEND, INSERT, ...).
  auto matches = [&](std::size_t i) {
    const std::string& known = typeCache_[i].first;
    return !name.empty() && known[0] == name[0] && tags::sameBytes(known, name);
  };
  for (std::size_t i : recentTypes_)
    if (i < typeCache_.size() && matches(i)) return typeCache_[i].second;
  for (std::size_t i = 0; i < typeCache_.size(); ++i) {
    if (!matches(i)) continue;
    recentTypes_[nextRecent_++ % std::size(recentTypes_)] = i;
    return typeCache_[i].second;
  }
  // A kind is written back as a value line of its own: a name no writer
  // would use (a control character, an endless name) is refused.
  bool plain = !name.empty() && name.size() <= kMaxTypeName;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) plain = false;
  if (!plain) r_->fail("\"" + DxfTagReader::shown(name) + "\" is not a kind of drawing object");
  if (impl_.ownKindCount() >= kMaxDrawingKinds && !OdDbObject::fixedKind(name) && !impl_.numbersKind(name))
    r_->fail("the drawing has more than 32,767 kinds of objects");
  const uint16_t type = impl_.kindOf(name);
  if (typeCache_.size() < 64) typeCache_.emplace_back(std::string(name), type);
  return type;
}

void DxfLoader::failAt(std::size_t line, const std::string& message) const { r_->fail(message, line); }

void DxfLoader::loadFile() {
  r_ = DxfTagReader::openFile(path_, path_);
  // Objects whose count the file's size bounds: reserved, the indexes are
  // never copied as they grow (pages not reached are never touched).
  std::error_code ec;
  const auto size = std::filesystem::file_size(path_, ec);
  if (!ec) reserveFor(size);
  parse();
  link();
}

void DxfLoader::reserveFor(std::size_t bytes) {
  // The smallest object takes some 40 bytes of text.
  const std::size_t objects = bytes / 40 + 64;
  impl_.handles.reserve(objects);
  impl_.entitiesSection.reserve(objects / 2);
  read_.references.reserve(objects / 3);
}

void DxfLoader::failWithLines() {
  // The first read kept no lines: read again keeping them, which fails the
  // same way and names them.
  OdDbDatabasePtr again = DatabaseImpl::newDrawing();
  DxfLoader second(*again, OdString::fromUtf8(path_), impl_.readPurpose);
  second.keepLines_ = true;
  if (text_) {
    second.loadText(std::move(*text_));
  } else {
    second.loadFile();
  }
  throw OdError(eBadDxfFile, OdString::fromUtf8(path_ + ": the file changed while it was read"));
}

OdDbDatabasePtr DxfLoader::readLenient(const OdString& path, const std::string* text, LenientRead& out) {
  OdDbDatabasePtr db = DatabaseImpl::newDrawing();
  DxfLoader loader(*db, path);
  loader.lenient_ = &out;
  loader.keepLines_ = true;
  if (text) {
    loader.loadText(*text);
  } else {
    loader.loadFile();
  }
  return db;
}

void DxfLoader::loadText(std::string text) {
  r_ = DxfTagReader::fromText(text, path_);
  reserveFor(text.size());
  text_ = std::move(text);
  parse();
  link();
}

void DxfLoader::loadNew(const std::string& version) {
  if (std::find(std::begin(kVersions), std::end(kVersions), version) == std::end(kVersions))
    throw OdError(eInvalidInput, OdString::fromUtf8("Unknown drawing version \"" + version + "\"; " + kSupported));
  r_ = DxfTagReader::fromText(newDrawingTemplate(version), "(new drawing)");
  parse();
  link();
}

// ---------------------------------------------------------------------------
// Sections

void DxfLoader::parse() {
  impl_.setCodec(std::make_unique<TextCodec>(true, ""));
  bool first = true;
  TagListBuilder comments;
  for (;;) {
    if (!r_->next()) {
      if (first) r_->fail("the file is empty", 1);
      r_->fail("the file ends without an EOF marker (truncated?)", r_->line() + 1);
    }
    if (r_->code() == 999) {
      // Comments between sections stay where they are: consecutive ones share a slot.
      if (impl_.sections.empty() || impl_.sections.back().kind != SectionKind::kComment) {
        impl_.sections.push_back(SectionSlot{SectionKind::kComment, impl_.rawSections.size()});
        impl_.rawSections.push_back(RawSection{});
      }
      comments.add(999, r_->value());
      continue;
    }
    if (!comments.empty()) impl_.rawSections[impl_.sections.back().rawIndex].tags = comments.finish();
    if (r_->code() != 0) r_->fail("expected \"0 SECTION\", found group code " + std::to_string(r_->code()));
    if (r_->value() == "EOF") break;
    if (r_->value() != "SECTION") r_->fail("expected \"0 SECTION\", found \"" + DxfTagReader::shown(r_->value()) + "\"");
    const std::size_t sectionLine = r_->line();
    if (!r_->next() || r_->code() != 2) failAt(sectionLine, "a SECTION without its name (group code 2)");
    const std::string name(r_->value());
    if (first && name != "HEADER") {
      throw OdError(eUnsupportedFileFormat,
                    OdString::fromUtf8(path_ + ":" + std::to_string(sectionLine) +
                                       ": the drawing has no HEADER with $ACADVER (DXF older than R2000?); " +
                                       kSupported));
    }
    first = false;
    int slot = -1;
    SectionKind kind = SectionKind::kRaw;
    if (name == "HEADER") slot = 0, kind = SectionKind::kHeader;
    else if (name == "CLASSES") slot = 1;
    else if (name == "TABLES") slot = 2, kind = SectionKind::kTables;
    else if (name == "BLOCKS") slot = 3, kind = SectionKind::kBlocks;
    else if (name == "ENTITIES") slot = 4, kind = SectionKind::kEntities;
    else if (name == "OBJECTS") slot = 5, kind = SectionKind::kObjects;
    else if (name == "THUMBNAILIMAGE") slot = 6;
    else if (name == "ACDSDATA") slot = 7;
    else failAt(sectionLine, "unknown section \"" + DxfTagReader::shown(name) + "\"");
    if (seen_[slot]) failAt(sectionLine, "the section " + name + " appears twice");
    seen_[slot] = true;
    SectionSlot s{kind};
    switch (kind) {
      case SectionKind::kHeader: readHeader(); break;
      case SectionKind::kRaw:
        s.rawIndex = impl_.rawSections.size();
        readRaw(name);
        break;
      case SectionKind::kTables: readTables(); break;
      case SectionKind::kBlocks: readBlocks(); break;
      case SectionKind::kEntities: readEntities(); break;
      case SectionKind::kObjects: readObjects(); break;
      case SectionKind::kComment: break;
    }
    impl_.sections.push_back(s);
  }
  impl_.eol = r_->crlf() ? "\r\n" : "\n";
  impl_.bom = r_->bom();
}

std::string DxfLoader::expectSectionEnd(const char* section) {
  if (!r_->next()) r_->fail(std::string("the file ends inside the ") + section + " section", r_->line() + 1);
  return std::string(r_->value());
}

void DxfLoader::readHeader() {
  HeaderVariable* current = nullptr;
  TagListBuilder b;
  auto close = [&] {
    if (current) current->tags = b.finish(impl_.arena);
  };
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside the HEADER section", r_->line() + 1);
    if (r_->code() == 0) {
      if (r_->value() != "ENDSEC") r_->fail("unexpected \"" + DxfTagReader::shown(r_->value()) + "\" in the HEADER section");
      break;
    }
    if (r_->code() == 9) {
      close();
      impl_.header.push_back(HeaderVariable{std::string(r_->value()), TagList()});
      current = &impl_.header.back();
      continue;
    }
    if (!current) r_->fail("a header value before any variable name");
    if (current->name == "$ACADVER") versionLine_ = r_->line();
    b.add(r_->code(), r_->value());
  }
  close();
  checkVersion();
}

void DxfLoader::checkVersion() {
  std::string version, codePage;
  for (const HeaderVariable& var : impl_.header) {
    if (var.name == "$ACADVER") {
      if (auto v = tags::find(var.tags, "", 1)) version = std::string(dxfv::trim(*v));
    } else if (var.name == "$DWGCODEPAGE") {
      if (auto v = tags::find(var.tags, "", 3)) codePage = std::string(dxfv::trim(*v));
    } else if (var.name == "$HANDSEED") {
      if (auto v = tags::find(var.tags, "", 5)) impl_.handseedRead = dxfv::toHandle(*v).value_or(0);
    }
  }
  if (version.empty()) {
    throw OdError(eUnsupportedFileFormat,
                  OdString::fromUtf8(path_ + ":" + std::to_string(r_->line()) +
                                     ": the HEADER has no $ACADVER (DXF older than R2000?); " + kSupported));
  }
  if (std::find(std::begin(kVersions), std::end(kVersions), version) == std::end(kVersions)) {
    throw OdError(eUnsupportedFileFormat, OdString::fromUtf8(path_ + ":" + std::to_string(versionLine_) +
                                                             ": DXF version " + version + " is not supported; " +
                                                             kSupported));
  }
  impl_.version = version;
  impl_.versionNumber = std::stoi(version.substr(2));
  if (!codePage.empty()) impl_.codePage = codePage;
  impl_.setCodec(std::make_unique<TextCodec>(impl_.versionNumber >= 1021, impl_.codePage));
}

void DxfLoader::readRaw(const std::string& name) {
  TagListBuilder b;
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside the " + name + " section", r_->line() + 1);
    if (r_->code() == 0 && r_->value() == "ENDSEC") break;
    b.add(r_->code(), r_->value());
  }
  impl_.rawSections.push_back(RawSection{name, b.finish(impl_.arena)});
}

void DxfLoader::readBody(OdDbObject* object, std::size_t line) {
  // Registered first, so that the drawing frees the object if reading fails.
  impl_.registerLoaded(object);
  if (keepLines_) loaded_.push_back(Loaded{object, static_cast<uint32_t>(line)});
  TagListBuilder& b = bodyTags_;
  b.clear();
  bool inGroup = false;
  bool seenSubclass = false;
  bool seenHandle = false;
  bool seenOwner = false;
  uint64_t owner = 0;
  std::size_t ownerIndex = 0, index = 0;
  // A kind fixed in every drawing: compared as a number for each object.
  static const uint16_t kDimstyle = *OdDbObject::fixedKind("DIMSTYLE");
  const int handleCode = object->type_ == kDimstyle ? 105 : 5;
  for (;; ++index) {
    if (!r_->next()) r_->fail("the file ends inside " + object->dxfName() + " (started at line " +
                              std::to_string(line) + ")", r_->line() + 1);
    const int code = r_->code();
    if (code == 0) {
      r_->pushBack();
      break;
    }
    const std::string_view value = r_->value();
    // Read for inspection, the handle and owner tags are not kept: the
    // object holds them as its handle and its owner.
    bool keep = true;
    if (code == 102) {
      inGroup = !value.empty() && value[0] == '{';
    } else if (!inGroup) {
      if (code == 100 || code == 1001) {
        // The owner and handle tags come before any subclass or extended data.
        seenSubclass = true;
      } else if (code == handleCode && !seenHandle && !seenSubclass) {
        auto h = handleOf(value);
        if (!h) r_->fail("\"" + DxfTagReader::shown(value) + "\" is not a handle");
        object->handle_ = *h;
        read_.maxHandle = std::max(read_.maxHandle, *h);
        seenHandle = true;
        keep = !inspecting();
      } else if (code == 330 && !seenOwner && !seenSubclass) {
        auto h = handleOf(value);
        if (!h) r_->fail("\"" + DxfTagReader::shown(value) + "\" is not an owner handle");
        owner = *h;
        ownerIndex = index;
        seenOwner = true;
        keep = !inspecting();
      }
    }
    if (keep) b.add(code, value);
  }
  // A list's size is kept in 32 bits.
  if (b.size() > TagListBuilder::kMaxBytes) failAt(line, "the " + object->dxfName() + " holds more than 2 GB");
  object->tags_ = b.finish(impl_.arena);
  read_.noteHandle(object->handle_);
  if (owner != 0) takeOwner(object, owner, line, ownerIndex);
}

bool DxfLoader::inspecting() const { return impl_.readPurpose == OdDbReadPurpose::kInspect; }

void DxfLoader::skipSequenceEnd() {
  const std::size_t line = r_->line();
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside SEQEND (started at line " + std::to_string(line) + ")", r_->line() + 1);
    if (r_->code() == 0) {
      r_->pushBack();
      return;
    }
  }
}

void DxfLoader::takeOwner(OdDbObject* object, uint64_t handle, std::size_t line, std::size_t index) {
  // A lenient read may meet duplicate handles, which only the handle index
  // sorts out: every owner is found there.
  if (!lenient_) {
    if (object->owner_ && object->ownerObject()->handle_ == handle) return;  // the entity an ATTRIB follows
    if (!lastOwner_ || lastOwner_->handle_ != handle) {
      auto it = owners_.find(handle);
      if (it != owners_.end()) lastOwner_ = it->second;
    }
    if (lastOwner_ && lastOwner_->handle_ == handle) {
      object->owner_ = lastOwner_;
      return;
    }
  }
  read_.pendingOwners.push_back(DxfLinker::PendingOwner{object, handle, static_cast<uint32_t>(line), static_cast<uint32_t>(index)});
}

void DxfLoader::indexOwner(OdDbObject* object) {
  if (object->handle_ != 0) owners_.emplace(object->handle_, object);
}

void DxfLoader::readTables() {
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside the TABLES section", r_->line() + 1);
    if (r_->code() != 0) r_->fail("expected \"0 TABLE\", found group code " + std::to_string(r_->code()));
    if (r_->value() == "ENDSEC") return;
    if (r_->value() != "TABLE") r_->fail("expected \"0 TABLE\", found \"" + DxfTagReader::shown(r_->value()) + "\"");
    readTable();
  }
}

void DxfLoader::readTable() {
  const std::size_t line = r_->line();
  if (!r_->next() || r_->code() != 2) failAt(line, "a TABLE without its name (group code 2)");
  const std::string name(r_->value());
  r_->pushBack();
  OdDbSymbolTable* table = name == "BLOCK_RECORD" ? new OdDbBlockTable(typeOf("TABLE"))
                                                  : new OdDbSymbolTable(typeOf("TABLE"));
  readBody(table, line);
  indexOwner(table);
  impl_.tables.push_back(table);
  if (name == "BLOCK_RECORD") impl_.blockTable = static_cast<OdDbBlockTable*>(table);
  if (name == "LAYER") impl_.layerTable = table;
  if (name == "APPID") impl_.regAppTable = table;
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside the " + DxfTagReader::shown(name) + " table", r_->line() + 1);
    const std::string type(r_->value());
    const std::size_t recordLine = r_->line();
    if (type == "ENDTAB") {
      TagListBuilder b;
      for (;;) {
        if (!r_->next()) r_->fail("the file ends inside the " + DxfTagReader::shown(name) + " table", r_->line() + 1);
        if (r_->code() == 0) break;
        b.add(r_->code(), r_->value());
      }
      r_->pushBack();
      table->endTags_ = b.finish();  // few, and kept with a table that outlives its drawing
      return;
    }
    if (type == "ENDSEC" || type == "TABLE") failAt(recordLine, "the " + DxfTagReader::shown(name) + " table has no ENDTAB");
    const uint16_t dxfType = typeOf(type);
    OdDbSymbolTableRecord* record;
    if (type == "BLOCK_RECORD") record = new OdDbBlockTableRecord(dxfType);
    else if (type == "LAYER") record = new OdDbLayerTableRecord(dxfType);
    else if (type == "APPID") record = new OdDbRegAppTableRecord(dxfType);
    else record = new OdDbSymbolTableRecord(dxfType);
    readBody(record, recordLine);
    indexOwner(record);
    table->records_.push_back(record);
  }
}

OdDbEntity* DxfLoader::readEntity(OdDbEntity* parent) {
  const std::string_view type = r_->value();
  const std::size_t line = r_->line();
  const uint16_t dxfType = typeOf(type);
  // The kinds below are fixed (the same number in every drawing): compared
  // as numbers, not names, for each of the millions of entities.
  static const uint16_t kInsert = *OdDbObject::fixedKind("INSERT"), kAttrib = *OdDbObject::fixedKind("ATTRIB"),
                        kAttdef = *OdDbObject::fixedKind("ATTDEF"), kText = *OdDbObject::fixedKind("TEXT"),
                        kPolyline = *OdDbObject::fixedKind("POLYLINE");
  OdDbEntity* entity;
  if (dxfType == kInsert) entity = placed<OdDbBlockReference>(dxfType);
  else if (dxfType == kAttrib) entity = placed<OdDbAttribute>(dxfType);
  else if (dxfType == kAttdef) entity = placed<OdDbAttributeDefinition>(dxfType);
  else if (dxfType == kText) entity = placed<OdDbText>(dxfType);
  else if (dxfType == kPolyline) entity = placed<OdDbComplexEntity>(dxfType);
  else entity = placed<OdDbEntity>(dxfType);
  // The owner first: an owner tag naming it is then taken at once.
  entity->owner_ = parent;
  readBody(entity, line);
  if (dxfType == kInsert) noteReference(static_cast<OdDbBlockReference*>(entity));

  // An INSERT is followed by its ATTRIBs, a POLYLINE by its VERTEXes, each list
  // closed by a SEQEND.
  const std::string_view childType = dxfType == kInsert ? "ATTRIB" : (dxfType == kPolyline ? "VERTEX" : "");
  if (childType.empty()) return entity;
  for (;;) {
    if (!r_->next()) break;
    if (r_->code() == 0 && tags::sameBytes(r_->value(), childType)) {
      OdDbEntity* child = readEntity(entity);
      entity->addChild(child, &impl_.arena);
      continue;
    }
    if (r_->code() == 0 && tags::sameBytes(r_->value(), "SEQEND") &&
        (entity->children() || tags::find(entity->tags_, "", 66))) {
      if (inspecting()) {
        // Read for inspection: nothing finds a SEQEND, and it is not kept.
        skipSequenceEnd();
        break;
      }
      OdDbEntity* seqend = placed<OdDbEntity>(typeOf("SEQEND"));
      seqend->owner_ = entity;
      readBody(seqend, r_->line());
      entity->setSequenceEnd(seqend, &impl_.arena);
      break;
    }
    r_->pushBack();
    break;
  }
  return entity;
}

void DxfLoader::noteReference(OdDbBlockReference* reference) {
  const std::string_view raw = tags::find(reference->tags_, "AcDbBlockReference", 2).value_or("");
  DxfLinker::ReferenceName& name = read_.noteReference(reference, raw, reference->handle_);
  if (name.references == 1) name.block = blockNamedSoFar(reference->decode(raw));
  reference->block_ = name.block;
}

OdDbBlockTableRecord* DxfLoader::blockNamedSoFar(const OdString& name) {
  // Block records are read only in the TABLES section, which holds no
  // reference and comes once: when a reference is read, the block table is
  // either whole or not read yet. A name found now therefore names the
  // block the linker would find; one not found is left to the linker.
  read_.blockRecordsIndexed = impl_.indexBlockNames(read_.blockRecordsIndexed);
  return impl_.blockNamed(name);
}

void DxfLoader::readBlocks() {
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside the BLOCKS section", r_->line() + 1);
    if (r_->code() != 0) r_->fail("expected \"0 BLOCK\", found group code " + std::to_string(r_->code()));
    if (r_->value() == "ENDSEC") return;
    if (r_->value() != "BLOCK") r_->fail("expected \"0 BLOCK\", found \"" + DxfTagReader::shown(r_->value()) + "\"");
    DxfLinker::PendingBlock block;
    block.line = r_->line();
    block.begin = new OdDbEntity(typeOf("BLOCK"));
    readBody(block.begin, block.line);
    for (;;) {
      if (!r_->next()) r_->fail("the file ends inside a block (started at line " + std::to_string(block.line) + ")",
                                r_->line() + 1);
      if (r_->value() == "ENDBLK") {
        block.end = new OdDbEntity(typeOf("ENDBLK"));
        readBody(block.end, r_->line());
        break;
      }
      if (r_->value() == "ENDSEC" || r_->value() == "BLOCK")
        failAt(block.line, "the block that starts here has no ENDBLK");
      block.entities.push_back(readEntity());
    }
    read_.blocks.push_back(std::move(block));
  }
}

void DxfLoader::readEntities() {
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside the ENTITIES section", r_->line() + 1);
    if (r_->code() != 0) r_->fail("expected an entity, found group code " + std::to_string(r_->code()));
    if (r_->value() == "ENDSEC") return;
    const std::size_t ownersLeft = read_.pendingOwners.size();
    OdDbEntity* entity = readEntity();
    entity->flags_ |= OdDbObject::kInEntitiesSection;
    if (impl_.entitiesSection.empty()) read_.entitiesOwner = entity->owner_;
    // An owner left to the linker may not be the one the entity has now.
    if (entity->owner_ != read_.entitiesOwner || read_.pendingOwners.size() != ownersLeft)
      read_.entitiesShareOwner = false;
    impl_.entitiesSection.push_back(entity);
  }
}

void DxfLoader::readObjects() {
  for (;;) {
    if (!r_->next()) r_->fail("the file ends inside the OBJECTS section", r_->line() + 1);
    if (r_->code() != 0) r_->fail("expected an object, found group code " + std::to_string(r_->code()));
    if (r_->value() == "ENDSEC") return;
    const std::string_view type = r_->value();
    const uint16_t dxfType = typeOf(type);
    OdDbObject* object;
    if (type == "DICTIONARY" || type == "ACDBDICTIONARYWDFLT") object = new OdDbDictionary(dxfType);
    else if (type == "XRECORD") object = new OdDbXrecord(dxfType);
    else object = placed<OdDbObject>(dxfType);
    readBody(object, r_->line());
    if (OdDbDictionary::cast(object)) indexOwner(object);
    impl_.objectsSection.push_back(object);
  }
}

std::size_t DxfLoader::lineOf(const OdDbObject* object) {
  if (lenient_) {
    // A lenient read may ask for many lines: index them once.
    if (lines_.empty())
      for (const Loaded& l : loaded_) lines_.emplace(l.object, l.line);
    auto it = lines_.find(object);
    return it == lines_.end() ? 0 : it->second;
  }
  // Only on the way to an error: a scan is enough.
  if (!keepLines_) failWithLines();
  for (const Loaded& l : loaded_)
    if (l.object == object) return l.line;
  return 0;
}

void DxfLoader::link() {
  // Nothing more is placed in the arena.
  impl_.arena.releaseSpare();
  DxfLinker(impl_, path_, read_, *r_, [this](const OdDbObject* object) { return lineOf(object); }, lenient_).link();
  if (lenient_)
    for (const Loaded& l : loaded_) lenient_->objects.emplace_back(l.object, l.line);
}
