#pragma once
// Builds an OdDbDatabase from ASCII DXF: reads every section into the model (or,
// for sections the model does not interpret, keeps their tags), then links
// handles, owners, blocks and dictionaries. Any fault throws OdError naming the
// file and line; the database is then discarded by the caller, so no partly read
// drawing is ever used.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "../OdDbDatabase.h"
#include "../OdString.h"
#include "../TagList.h"
#include "DxfTagReader.h"

class OdDbDatabase;
class OdDbObject;
class OdDbEntity;
struct DatabaseImpl;

// What a lenient read records: duplicate handles, which the normal read
// refuses, and owners and dictionary entries that name missing handles, which
// the normal read keeps silently. A drawing with duplicate handles is for
// reporting only (DrawingAudit); it is never saved.
struct LenientRead {
  struct Issue {
    std::size_t line;
    const OdDbObject* object;
    std::string message;
  };
  std::vector<Issue> issues;
  // Every object read, with the line of its "0 TYPE" tag, in file order.
  std::vector<std::pair<const OdDbObject*, std::size_t>> objects;
  // Objects the file gave no handle (or handle 0), numbered by the reader.
  std::unordered_set<const OdDbObject*> numbered;
  std::size_t duplicateHandles = 0;

  // The line of the tag at `index` among the tags `object` holds now, the
  // object's "0 TYPE" being at `line`: two lines per tag. A dictionary's
  // entries were taken out of its tags (all of them before its extended
  // data); an object the reader numbered has a handle tag the file did not,
  // so its own line is given.
  std::size_t tagLine(const OdDbObject* object, std::size_t line, std::size_t index) const;
};

class DxfLoader {
 public:
  // Reads a file (text null) or DXF text (messages name `path`) leniently,
  // filling `out`. Throws OdError as the normal read does for anything else.
  static OdDbDatabasePtr readLenient(const OdString& path, const std::string* text, LenientRead& out);

  DxfLoader(OdDbDatabase& db, const OdString& path);
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
  // An object whose owner tag named an object not yet known when it was
  // read: found by handle once every object is read.
  struct PendingOwner {
    OdDbObject* object;
    uint64_t handle;
    uint32_t line;   // of the object's "0 TYPE" tag (0 when lines are not kept)
    uint32_t index;  // of the owner tag among the object's tags
  };
  struct PendingBlock {
    OdDbEntity* begin = nullptr;
    std::vector<OdDbEntity*> entities;
    OdDbEntity* end = nullptr;
    std::size_t line = 0;
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
  // Reads an entity whose "0 TYPE" tag is current, with its ATTRIBs/VERTEXes
  // and SEQEND; parent is the entity a sub-entity follows (its owner).
  OdDbEntity* readEntity(OdDbEntity* parent = nullptr);
  std::string expectSectionEnd(const char* section);
  void link();
  void linkHandles();
  void linkBlocks();
  void linkEntities();
  void linkObjects();
  uint16_t typeOf(std::string_view name);
  // Sets the owner of an object just read from its owner tag when the owner
  // is already known (the usual case: a table record, a block record, a
  // dictionary read before it), else leaves it to linkHandles.
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
  uint64_t maxHandle_ = 0;
  std::vector<PendingBlock> blocks_;
  TagListBuilder bodyTags_;  // readBody's, kept so that its room is reused
  // Objects that own others (tables, their records, dictionaries) by handle,
  // as they are read; the last one found, which most objects share.
  std::unordered_map<uint64_t, OdDbObject*> owners_;
  OdDbObject* lastOwner_ = nullptr;
  std::vector<PendingOwner> pendingOwners_;
  bool seen_[8] = {};
  std::vector<std::pair<std::string, uint16_t>> typeCache_;
  std::size_t recentTypes_[4] = {SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX};  // indexes into typeCache_
  std::size_t nextRecent_ = 0;
  std::size_t versionLine_ = 0;
  LenientRead* lenient_ = nullptr;                           // null: refuse what a lenient read records
  std::unordered_map<const OdDbObject*, std::size_t> lines_;  // lenient reads: lineOf by lookup
};
