#pragma once
// The inside of a drawing: its sections in file order and the indexes the object
// model needs (handles, block names, well-known tables and objects). Shared by
// the object model, the DXF reader and the writer; not part of the public API.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "OdDbBlockTableRecord.h"
#include "OdDbDatabase.h"
#include "OdDbDictionary.h"
#include "OdDbSymbolTable.h"
#include "TagArena.h"
#include "TagList.h"
#include "TextCodec.h"

struct HeaderVariable {
  std::string name;  // with the "$"
  TagList tags;
};

// A section the model keeps without interpreting (CLASSES, THUMBNAILIMAGE,
// ACDSDATA): every tag between its name and its ENDSEC.
struct RawSection {
  std::string name;
  TagList tags;
};

// kComment: comments (group code 999) between sections, kept in their place
// as a RawSection without a name and written without SECTION/ENDSEC.
enum class SectionKind { kHeader, kRaw, kTables, kBlocks, kEntities, kObjects, kComment };

struct SectionSlot {
  SectionKind kind;
  std::size_t rawIndex = 0;  // for kRaw and kComment, index into rawSections
};

// A block definition (BLOCK, its entities, ENDBLK) that no BLOCK_RECORD of the
// drawing names, as other programs leave them: kept as read and written back
// in its place, just before blocksSection[before] (or last). Its objects keep
// their handles; the entities belong to no block of the model. `zrdxf audit`
// reports it and `--fix` gives it a record (DrawingRepair).
struct UnlistedBlock {
  OdDbEntity* begin = nullptr;
  std::vector<OdDbEntity*> entities;
  OdDbEntity* end = nullptr;
  std::size_t before = 0;
};

struct DatabaseImpl {
  explicit DatabaseImpl(OdDbDatabase* owner) : self(owner) {}
  ~DatabaseImpl();

  // Makes a new object part of the drawing: gives it the next handle (or
  // `handle`, which must be free), sets its owner, and writes both into its tags.
  void addObject(OdDbObject* object, OdDbObject* owner, uint64_t handle = 0);
  // Adds the sub-entities (ATTRIBs, SEQEND) of an entity that are not yet part
  // of the drawing, owned by that entity, and drops the hold the entity had on them.
  void adoptChildren(OdDbEntity* parent);
  // Same for an object read from the file, with the handle it had.
  void registerLoaded(OdDbObject* object);
  OdDbObject* lookup(uint64_t handle) const;
  // The index of a kind of object in this drawing: a fixed kind's
  // (OdDbObject::internType), or one numbered by this drawing from
  // OdDbObject::kFirstDrawingKind. Throws OdError(eInvalidInput) past 32,767
  // kinds of its own.
  uint16_t kindOf(std::string_view name);
  // The name of a kind numbered by this drawing.
  const std::string& kindName(uint16_t type) const { return kinds[type - OdDbObject::kFirstDrawingKind]; }
  // The next free handle. Throws OdError(eHandleInUse) when none is left: the
  // largest value is never handed out, so that $HANDSEED stays above every handle.
  uint64_t takeHandle();

  // Index helpers; names are compared ignoring case.
  static std::u16string nameKey(const OdString& name);
  OdDbBlockTableRecord* blockNamed(const OdString& name) const;
  void indexBlockName(OdDbBlockTableRecord* record);
  // The APPID table, created (empty) when the drawing has none.
  void ensureRegAppTable();
  // The APPID record of that name, created (with the table) when missing.
  void ensureRegApp(const OdString& name);
  // Throws OdError when erasing the object would leave a drawing that other
  // programs fault: a symbol table, model space, the paper space, the named
  // objects dictionary (eNotApplicable), or an application that extended data
  // still names (eInvalidInput).
  void assertErasable(const OdDbObject* object) const;
  // The OBJECTS section, created (with an empty named-objects dictionary) when
  // the drawing has none.
  void ensureObjectsSection();
  // What becomes of each block without a record, in file order: a
  // BLOCK_RECORD of the block's name, with this handle (free, neither 0 nor
  // the largest) or a new one when 0; or, when empty, the block's objects
  // erased so that they are not written.
  using UnlistedChoice = std::function<std::optional<uint64_t>(const UnlistedBlock&)>;
  // Settles every block of unlistedBlocks as `choose` says, which sees the
  // records made for the blocks before (blockNamed). A record goes at the end
  // of the block table and takes its block's place in the BLOCKS section; it
  // owns the block's objects that have no owner, and references of its name
  // reach it. unlistedBlocks is left empty. Returns, for each block in file
  // order, its BLOCK and its new record (null when erased). Linear in the
  // drawing's size.
  std::vector<std::pair<const OdDbEntity*, OdDbBlockTableRecord*>> settleUnlistedBlocks(const UnlistedChoice& choose);

  OdDbDatabase* self;
  // The tags of everything read from the file. Declared first, so that it
  // goes last: the header, the raw sections and the objects point into it.
  TagArena arena;
  std::string version = "AC1027";
  int versionNumber = 1027;
  std::unique_ptr<TextCodec> codec;
  std::string codePage = "ANSI_1252";
  std::string eol = "\n";
  bool bom = false;

  std::vector<SectionSlot> sections;
  std::vector<HeaderVariable> header;
  std::vector<RawSection> rawSections;
  std::vector<OdDbSymbolTable*> tables;
  std::vector<OdDbBlockTableRecord*> blocksSection;  // BLOCKS section order
  std::vector<UnlistedBlock> unlistedBlocks;         // in file order
  std::vector<OdDbEntity*> entitiesSection;          // ENTITIES section order
  std::vector<OdDbObject*> objectsSection;           // OBJECTS section order

  // Every object of the drawing by handle; holds the database's reference.
  // Kept sorted by handle (new handles are always the largest).
  std::vector<std::pair<uint64_t, OdDbObject*>> handles;
  uint64_t nextHandle = 1;
  uint64_t handseedRead = 0;  // $HANDSEED as read; written back unchanged unless new handles were taken

  std::unordered_map<std::u16string, OdDbBlockTableRecord*> blocksByName;
  // Kinds numbered by this drawing (see kindOf); a deque: names never move.
  std::deque<std::string> kinds;
  std::unordered_map<std::string_view, uint16_t> kindIndex;
  OdDbBlockTable* blockTable = nullptr;
  OdDbSymbolTable* layerTable = nullptr;
  OdDbSymbolTable* regAppTable = nullptr;
  OdDbBlockTableRecord* modelSpace = nullptr;
  OdDbBlockTableRecord* paperSpace = nullptr;
  OdDbDictionary* namedObjects = nullptr;
};
