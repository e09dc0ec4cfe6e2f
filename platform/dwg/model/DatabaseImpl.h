#pragma once
// The inside of a drawing: the object store (handles, kinds, tags) and, above
// it, the drawing's sections in file order, its block-name index and its
// well-known tables and objects. Shared by the object model, the DXF reader
// and the writer; not part of the public API.
//
// Its functions that make or find objects of concrete classes (the APPID table,
// the named objects dictionary, block records) are defined with OdDbDatabase,
// at the top of the object model, so that the object classes can include this
// header without a circle.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/ObjectStore.h"
#include "zrdwg/EntityList.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbObject.h"
#include "zrdwg/TagList.h"

class OdDbBlockTable;
class OdDbBlockTableRecord;
class OdDbDictionary;
class OdDbEntity;
class OdDbSymbolTable;

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
  EntityList entities;
  OdDbEntity* end = nullptr;
  std::size_t before = 0;
};

struct DatabaseImpl : ObjectStore {
  explicit DatabaseImpl(OdDbDatabase* owner) : ObjectStore(owner) {}
  ~DatabaseImpl() override;

  // The inside of a drawing (for the object model and the file format).
  static DatabaseImpl& of(const OdDbDatabase& db);
  // The same from an object's store (which must be a drawing's).
  static DatabaseImpl& of(ObjectStore* store) { return static_cast<DatabaseImpl&>(*store); }
  // A new drawing with nothing in it, for the reader to fill.
  static OdSmartPtr<OdDbDatabase> newDrawing();

  // The object of that handle, or null.
  OdDbObject* object(uint64_t handle) const { return static_cast<OdDbObject*>(lookup(handle)); }

  // The block record of that name (compared ignoring case), or null.
  OdDbBlockTableRecord* blockNamed(const OdString& name) const {
    auto it = blocksByName.find(nameKey(name));
    return it == blocksByName.end() ? nullptr : it->second;
  }
  // Indexes a block record under its name; the first of a name stays.
  void indexBlockName(const OdString& name, OdDbBlockTableRecord* record) {
    blocksByName.emplace(nameKey(name), record);
  }
  // Indexes the block table's records from the from-th on, in table order;
  // returns how many records it has (where a later call goes on).
  std::size_t indexBlockNames(std::size_t from);
  // The APPID table, created (empty) when the drawing has none.
  void ensureRegAppTable();
  // The APPID record of that name, created (with the table) when missing.
  void ensureRegApp(const OdString& name);
  // Throws OdError when erasing the object would leave a drawing that other
  // programs fault: a symbol table, model space, the paper space, the named
  // objects dictionary (eNotApplicable), or an application that extended data
  // still names (eInvalidInput).
  void assertErasable(const StoredObject& object) const override;
  void registerApplication(const OdString& name) override { ensureRegApp(name); }
  uint64_t addExtensionDictionary(StoredObject* object) override;
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

  std::string version = "AC1027";
  int versionNumber = 1027;
  std::string codePage = "ANSI_1252";
  std::string eol = "\n";
  bool bom = false;
  // kInspect: read without what only a writer needs; cannot be written.
  OdDbReadPurpose readPurpose = OdDbReadPurpose::kEdit;

  std::vector<SectionSlot> sections;
  std::vector<HeaderVariable> header;
  std::vector<RawSection> rawSections;
  std::vector<OdDbSymbolTable*> tables;
  std::vector<OdDbBlockTableRecord*> blocksSection;  // BLOCKS section order
  std::vector<UnlistedBlock> unlistedBlocks;         // in file order
  // The ENTITIES section in its order: the entities of model space and of
  // the active paper space. While all of them are model space's, in its
  // order (the usual drawing), model space's own list is the section and
  // this one stays empty: see sectionIsModelSpace and sectionEntities().
  EntityList entitiesSection;
  bool sectionIsModelSpace = false;
  std::vector<OdDbObject*> objectsSection;           // OBJECTS section order

  std::unordered_map<std::u16string, OdDbBlockTableRecord*> blocksByName;
  OdDbBlockTable* blockTable = nullptr;
  OdDbSymbolTable* layerTable = nullptr;
  OdDbSymbolTable* regAppTable = nullptr;
  OdDbBlockTableRecord* modelSpace = nullptr;
  // The entities of the ENTITIES section, in its order.
  const EntityList& sectionEntities() const;
  // Adds an entity just added to model space or the active paper space at
  // the end of the ENTITIES section.
  void addToSection(OdDbEntity* entity);
  OdDbBlockTableRecord* paperSpace = nullptr;
  OdDbDictionary* namedObjects = nullptr;
};
