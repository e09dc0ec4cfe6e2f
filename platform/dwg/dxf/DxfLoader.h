#pragma once
// Reads an OdDbDatabase from ASCII DXF: reads every section into the model
// (or, for sections the model does not interpret, keeps their tags), then
// hands what it read to DxfLinker, which links handles, owners, blocks and
// dictionaries. Any fault throws OdError naming the file and line; the
// database is then discarded by the caller, so no partly read drawing is ever
// used.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdString.h"
#include "zrdwg/TagList.h"
#include "dxf/DxfLinker.h"
#include "dxf/DxfTagReader.h"
#include "dxf/LenientRead.h"

class OdDbDatabase;
class OdDbObject;
class OdDbBlockReference;
class OdDbBlockTableRecord;
class OdDbEntity;
struct DatabaseImpl;

class DxfLoader {
 public:
  // Reads a file (text null) or DXF text (messages name `path`) leniently,
  // filling `out`. Throws OdError as the normal read does for anything else.
  static OdDbDatabasePtr readLenient(const OdString& path, const std::string* text, LenientRead& out);

  DxfLoader(OdDbDatabase& db, const OdString& path, OdDbReadPurpose purpose = OdDbReadPurpose::kEdit);
  ~DxfLoader();

  void loadFile();
  // DXF text held in memory; messages name the path given to the constructor.
  void loadText(std::string text);
  // A new drawing of the given version from the built-in template.
  void loadNew(const std::string& version);

 private:
  // Every object read, with the line of its "0 TYPE" tag for messages.
  struct Loaded {
    OdDbObject* object;
    uint32_t line;
  };

  void parse();
  void readHeader();
  void checkVersion();
  void readRaw(const std::string& name);
  void readTables();
  void readTable();
  void readBlocks();
  void readEntities();
  void readObjects();
  // Reads the tags of one object up to the next "0" tag (left for the caller).
  void readBody(OdDbObject* object, std::size_t line);
  // Reads past the tags of the SEQEND just met (its "0 SEQEND" read), keeping
  // none of them.
  void skipSequenceEnd();
  // Read for OdDbReadPurpose::kInspect: SEQENDs and the handle and owner
  // tags are read and not kept.
  bool inspecting() const;
  // Reads an entity whose "0 TYPE" tag is current, with its ATTRIBs/VERTEXes
  // and SEQEND; parent is the entity a sub-entity follows (its owner).
  OdDbEntity* readEntity(OdDbEntity* parent = nullptr);
  // Notes a block reference just read for the linker and gives it its block
  // when a block record read before it has its name.
  void noteReference(OdDbBlockReference* reference);
  // The block of that name among the block records read so far, or null.
  OdDbBlockTableRecord* blockNamedSoFar(const OdString& name);
  std::string expectSectionEnd(const char* section);
  // Hands what was read to the linker (DxfLinker).
  void link();
  uint16_t typeOf(std::string_view name);
  // A new object of a kind drawings hold by the million, placed in the
  // drawing's arena (no allocation each; freed with the drawing).
  template <class T>
  T* placed(uint16_t type);
  // Sets the owner of an object just read from its owner tag when the owner
  // is already known (the usual case: a table record, a block record, a
  // dictionary read before it), else leaves it to the linker.
  void takeOwner(OdDbObject* object, uint64_t handle, std::size_t line, std::size_t index);
  // Makes an object just read findable as an owner by takeOwner.
  void indexOwner(OdDbObject* object);
  // The line of an object's "0 TYPE" tag. Lines are kept only by a lenient
  // read or a second read (keepLines_): a normal read that needs one, on its
  // way to refusing the drawing, reads the input again keeping them.
  std::size_t lineOf(const OdDbObject* object);
  [[noreturn]] void failWithLines();
  void reserveFor(std::size_t bytes);
  [[noreturn]] void failAt(std::size_t line, const std::string& message) const;

  DatabaseImpl& impl_;
  std::string path_;
  std::unique_ptr<DxfTagReader> r_;
  std::deque<Loaded> loaded_;  // when keepLines_; a deque: no copy of millions of entries as it grows
  bool keepLines_ = false;
  std::optional<std::string> text_;  // the text of loadText, for failWithLines
  // What the linker takes over: the largest handle, the blocks, the owners left to find.
  DxfLinker::Read read_;
  TagListBuilder bodyTags_;  // readBody's, kept so that its room is reused
  // Objects that own others (tables, their records, dictionaries) by handle,
  // as they are read; the last one found, which most objects share.
  std::unordered_map<uint64_t, OdDbObject*> owners_;
  OdDbObject* lastOwner_ = nullptr;
  bool seen_[8] = {};
  std::vector<std::pair<std::string, uint16_t>> typeCache_;
  std::size_t recentTypes_[4] = {SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX};  // indexes into typeCache_
  std::size_t nextRecent_ = 0;
  std::size_t versionLine_ = 0;
  LenientRead* lenient_ = nullptr;                           // null: refuse what a lenient read records
  std::unordered_map<const OdDbObject*, std::size_t> lines_;  // lenient reads: lineOf by lookup
};
