#include "dxf/DxfWriter.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "model/DatabaseImpl.h"
#include "model/DxfFields.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"
#include "zrdwg/DxfValues.h"
#include "dxf/AtomicFile.h"

// Buffered output to a string or, through a sink, to a file.
class DxfWriter::Out {
 public:
  Out(std::string eol, std::function<void(std::string_view)> sink) : eol_(std::move(eol)), sink_(std::move(sink)) {
    buf_.reserve(kFlushAt + 4096);
  }
  void raw(std::string_view s) {
    buf_.append(s);
    if (sink_ && buf_.size() >= kFlushAt) flush();
  }
  void tag(int code, std::string_view value) {
    appendCode(code);
    buf_.append(eol_);
    buf_.append(value);
    buf_.append(eol_);
    if (sink_ && buf_.size() >= kFlushAt) flush();
  }
  void tags(const TagList& list) {
    for (const auto& t : list) tag(t.code, t.value);
  }
  void flush() {
    if (sink_ && !buf_.empty()) sink_(buf_);
    buf_.clear();
  }
  std::string& buffer() { return buf_; }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  // Group codes right-aligned to three characters, as most programs write them.
  void appendCode(int code) {
    if (code >= 0 && code < 10) {
      buf_.append("  ");
      buf_ += static_cast<char>('0' + code);
    } else if (code >= 10 && code < 100) {
      buf_ += ' ';
      buf_ += static_cast<char>('0' + code / 10);
      buf_ += static_cast<char>('0' + code % 10);
    } else {
      std::string s = std::to_string(code);
      if (s.size() < 3) buf_.append(3 - s.size(), ' ');
      buf_.append(s);
    }
  }
  std::string eol_;
  std::function<void(std::string_view)> sink_;
  std::string buf_;
};

DxfWriter::DxfWriter(const OdDbDatabase& db) : db_(db) {
  if (DatabaseImpl::of(db).readPurpose == OdDbReadPurpose::kInspect)
    throw OdError(eNotApplicable, OdString(u"The drawing was read to be inspected only: it cannot be written"));
}

std::string DxfWriter::text() const {
  Out out(DatabaseImpl::of(db_).eol, nullptr);
  emit(out);
  return std::move(out.buffer());
}

void DxfWriter::writeFile(const OdString& path) const {
  AtomicFile file(path.toUtf8());
  Out out(DatabaseImpl::of(db_).eol, [&file](std::string_view data) { file.write(data); });
  emit(out);
  out.flush();
  file.commit();
}

void DxfWriter::emit(Out& out) const {
  const DatabaseImpl& impl = DatabaseImpl::of(db_);
  if (impl.bom) out.raw("\xEF\xBB\xBF");
  for (const SectionSlot& slot : impl.sections) {
    if (slot.kind == SectionKind::kComment) {
      out.tags(impl.rawSections[slot.rawIndex].tags);
      continue;
    }
    out.tag(0, "SECTION");
    switch (slot.kind) {
      case SectionKind::kHeader:
        out.tag(2, "HEADER");
        header(out);
        break;
      case SectionKind::kRaw:
        out.tag(2, impl.rawSections[slot.rawIndex].name);
        out.tags(impl.rawSections[slot.rawIndex].tags);
        break;
      case SectionKind::kTables:
        out.tag(2, "TABLES");
        tables(out);
        break;
      case SectionKind::kBlocks:
        out.tag(2, "BLOCKS");
        blocks(out);
        break;
      case SectionKind::kEntities:
        out.tag(2, "ENTITIES");
        for (const OdDbEntity* e : impl.sectionEntities()) entity(out, e);
        break;
      case SectionKind::kObjects:
        out.tag(2, "OBJECTS");
        for (const OdDbObject* o : impl.objectsSection) object(out, o);
        break;
      case SectionKind::kComment: break;
    }
    out.tag(0, "ENDSEC");
  }
  out.tag(0, "EOF");
}

void DxfWriter::header(Out& out) const {
  const DatabaseImpl& impl = DatabaseImpl::of(db_);
  const std::string seed = OdDbHandle(impl.nextHandle).hex();
  for (const HeaderVariable& var : impl.header) {
    out.tag(9, var.name);
    if (var.name != "$HANDSEED") {
      out.tags(var.tags);
      continue;
    }
    // $HANDSEED moves past every handle in use; an unchanged value is written as read.
    for (const auto& t : var.tags) {
      if (t.code == fields::header::kHandle.code && dxfv::toHandle(t.value).value_or(0) != impl.nextHandle) {
        out.tag(t.code, seed);
      } else {
        out.tag(t.code, t.value);
      }
    }
  }
}

void DxfWriter::tables(Out& out) const {
  for (const OdDbSymbolTable* table : DatabaseImpl::of(db_).tables) {
    out.tag(0, "TABLE");
    out.tags(table->dxfTags());
    for (const OdDbSymbolTableRecord* record : table->records_) object(out, record);
    out.tag(0, "ENDTAB");
    out.tags(table->endTags_);
  }
}

void DxfWriter::blocks(Out& out) const {
  const DatabaseImpl& impl = DatabaseImpl::of(db_);
  // Blocks without a record go back between the others where they were read.
  std::size_t next = 0;
  auto unlistedBefore = [&](std::size_t i) {
    for (; next < impl.unlistedBlocks.size() && impl.unlistedBlocks[next].before <= i; ++next) {
      const UnlistedBlock& u = impl.unlistedBlocks[next];
      object(out, u.begin);
      for (const OdDbEntity* e : u.entities) entity(out, e);
      object(out, u.end);
    }
  };
  for (std::size_t i = 0; i < impl.blocksSection.size(); ++i) {
    unlistedBefore(i);
    const OdDbBlockTableRecord* block = impl.blocksSection[i];
    if (block->isErased() || !block->blockBegin_) continue;
    object(out, block->blockBegin_);
    for (const OdDbEntity* e : block->entities_)
      if (!(e->flags_ & OdDbObject::kInEntitiesSection)) entity(out, e);
    if (block->blockEnd_) object(out, block->blockEnd_);
  }
  unlistedBefore(SIZE_MAX);
}

bool DxfWriter::isDropped(const OdDbObject* o) {
  // Owner chains are short (entity, block record, block table); a drawing may
  // hold a cycle of owners, so the walk is bounded.
  for (int depth = 0; o && depth < 64; ++depth, o = o->ownerObject())
    if (o->isErased()) return true;
  return false;
}

void DxfWriter::entity(Out& out, const OdDbEntity* e) const {
  if (isDropped(e)) return;
  object(out, e);
  const OdDbEntity::Children* children = e->children();
  if (!children) return;
  for (const OdDbEntity* child : *children) object(out, child);
  if (children->seqend) object(out, children->seqend);
}

void DxfWriter::object(Out& out, const OdDbObject* o) const {
  if (isDropped(o)) return;
  out.tag(0, o->dxfName());
  const auto* dict = OdDbDictionary::cast(o);
  if (!dict) {
    out.tags(o->dxfTags());
    return;
  }
  // Entries go back where the first one was read, or at the end of the
  // dictionary's own data.
  std::size_t at = dict->entriesAt_;
  if (at == OdDbDictionary::kAtSubclassEnd) {
    std::vector<DxfTag> v = o->dxfTags().toVector();
    at = tags::subclassEnd(v, fields::dictionary::kMarker);
    if (at == std::string_view::npos) at = tags::xdataStart(v);
  }
  std::size_t i = 0;
  auto writeEntries = [&] {
    for (const auto& entry : dict->entries_) {
      const OdDbObject* target = DatabaseImpl::of(db_).object(entry.handle);
      if (target && isDropped(target)) continue;
      out.tag(fields::dictionary::kEntryKey.code, entry.rawKey);
      out.tag(entry.code, entry.rawHandle.empty() ? OdDbHandle(entry.handle).hex() : entry.rawHandle);
    }
  };
  bool written = false;
  for (const auto& t : o->dxfTags()) {
    if (i++ == at) {
      writeEntries();
      written = true;
    }
    out.tag(t.code, t.value);
  }
  if (!written) writeEntries();
}
