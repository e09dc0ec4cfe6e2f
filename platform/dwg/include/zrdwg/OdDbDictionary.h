#pragma once
// OdDbDictionary: named entries that each own or refer to another object. Keys
// are exact (case-sensitive); the sorted iterator orders them by UTF-16 code units.

#include <string>
#include <unordered_map>
#include <vector>

#include "zrdwg/OdDb.h"
#include "zrdwg/OdDbObject.h"

class OdDbDictionary;
class OdDbDictionaryIterator;
typedef OdSmartPtr<OdDbDictionary> OdDbDictionaryPtr;
typedef OdSmartPtr<OdDbDictionaryIterator> OdDbDictionaryIteratorPtr;

class OdDbDictionary : public OdDbObject {
  ODRX_DECLARE_MEMBERS(OdDbDictionary)
 public:
  // A new, empty dictionary outside any drawing; setAt of another dictionary
  // makes it part of a drawing.
  static OdDbDictionaryPtr createObject();

  // The entry's object opened in the given mode, or null when there is no such
  // entry (or its object is erased).
  OdDbObjectPtr getAt(const OdString& key, OdDb::OpenMode mode) const;
  // The entry's identifier, or the null identifier.
  OdDbObjectId getAt(const OdString& key) const;
  // True when an entry of that key names an object the drawing holds.
  bool has(const OdString& key) const { return !getAt(key).isNull(); }
  // Adds (or replaces) an entry. A new object is added to the drawing, owned by
  // this dictionary. Returns the object's identifier.
  OdDbObjectId setAt(const OdString& key, OdDbObject* object);
  // The number of entries, those naming missing or erased objects included.
  unsigned long numEntries() const { return static_cast<unsigned long>(entries_.size()); }

  // The entries whose objects are not erased, as they are now: in the
  // dictionary's order (kDictCollated) or by key in code-unit order (kDictSorted).
  OdDbDictionaryIteratorPtr newIterator(OdRx::DictIterType type = OdRx::kDictCollated) const;

 protected:
  explicit OdDbDictionary(uint16_t type) : OdDbObject(type) {}
  void onLoaded() override;
  bool isDictionary() const override { return true; }
  friend class DxfLoader;
  friend class DxfLinker;
  friend class DxfWriter;
  friend struct DatabaseImpl;
  friend class DrawingRepair;

  struct Entry {
    OdString key;
    std::string rawKey;  // as read, written back unchanged
    int code = 350;      // 350 soft owner, 360 hard owner
    uint32_t tagIndex = 0;  // index of the key tag among the tags read (for messages)
    uint64_t handle = 0;
    std::string rawHandle;  // as read; empty for new entries
  };
  // Entries are kept outside the tag list and written back at entriesAt_, the
  // place of the first entry in the file, or (kAtSubclassEnd) at the end of the
  // dictionary's own data.
  static constexpr std::size_t kAtSubclassEnd = static_cast<std::size_t>(-1);
  std::vector<Entry> entries_;
  std::unordered_map<std::u16string, std::size_t> index_;
  std::size_t entriesAt_ = kAtSubclassEnd;
};

class OdDbDictionaryIterator : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdDbDictionaryIterator)
 public:
  struct Item {
    OdString name;
    OdDbObjectId id;
  };
  // An iterator standing on the first of items.
  explicit OdDbDictionaryIterator(std::vector<Item> items) : items_(std::move(items)) {}
  // True past the last entry.
  bool done() const { return pos_ >= items_.size(); }
  // Moves to the next entry; false once past the last.
  bool next() {
    ++pos_;
    return !done();
  }
  // The current entry's key; empty once done.
  OdString name() const { return done() ? OdString() : items_[pos_].name; }
  // The current entry's object; null once done or when the drawing lacks it.
  OdDbObjectId objectId() const { return done() ? OdDbObjectId() : items_[pos_].id; }
  // The current entry's object opened in that mode, or null.
  OdDbObjectPtr getObject(OdDb::OpenMode mode = OdDb::kForRead) const;

 private:
  std::vector<Item> items_;
  std::size_t pos_ = 0;
};

// XRECORD: a list of typed values stored in a dictionary.
class OdDbXrecord : public OdDbObject {
  ODRX_DECLARE_MEMBERS(OdDbXrecord)
 public:
  // A new, empty record outside any drawing; a dictionary's setAt adds it.
  static OdSmartPtr<OdDbXrecord> createObject();
  // The values after the record's cloning flag, as a chain (null when empty).
  OdResBufPtr rbChain() const;
  // Replaces the values with the chain's (null: none); values equal to the
  // old ones keep their text as read. Needs the object open for write.
  void setFromRbChain(const OdResBuf* chain);

 protected:
  explicit OdDbXrecord(uint16_t type) : OdDbObject(type) {}
  friend class DxfLoader;
  friend class DxfLinker;
};
typedef OdSmartPtr<OdDbXrecord> OdDbXrecordPtr;
