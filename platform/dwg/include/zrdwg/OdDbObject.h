#pragma once
// OdDbObject: base of every object stored in a drawing. An object belongs to one
// database, has a handle and an owner, and carries its DXF tags (TagList), from
// which the model reads the fields it knows and into which edits are written.
//
// Opening: objects are reached through OdDbObjectId::openObject, which returns a
// smart pointer; the object is closed when the last such pointer goes away. The
// database holds one reference of its own to every object it contains.

#include <cstdint>
#include <memory>
#include <string>

#include "OdDb.h"
#include "OdDbObjectId.h"
#include "OdResBuf.h"
#include "OdRxObject.h"
#include "TagList.h"

class OdDbDatabase;
class DxfLoader;
class DxfWriter;
struct DatabaseImpl;

class OdDbObject : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdDbObject)
 public:
  ~OdDbObject() override;

  OdDbObjectId objectId() const { return OdDbObjectId::fromObject(db_ ? this : nullptr); }
  OdDbDatabase* database() const { return db_; }
  OdDbObjectId ownerId() const { return OdDbObjectId::fromObject(owner_); }
  OdDbHandle getDbHandle() const { return OdDbHandle(handle_); }
  OdDbHandle handle() const { return getDbHandle(); }

  bool isErased() const { return flags_ & kErased; }
  // Erases (or un-erases) the object; erased objects are not opened and not
  // saved, nor is what they own. Throws OdError for what the drawing cannot do
  // without (symbol tables, model and paper space, the named objects
  // dictionary: eNotApplicable) and for an APPID record that extended data
  // still names (eInvalidInput).
  void erase(bool erasing = true);

  bool isReadEnabled() const { return openMode_ != OdDb::kNotOpen || !db_; }
  bool isWriteEnabled() const { return openMode_ == OdDb::kForWrite || !db_; }
  // Throws eNotOpenForWrite unless the object is open for writing (objects not
  // yet added to a database are always writable).
  void assertWriteEnabled() const;
  void upgradeOpen();
  void downgradeOpen();

  // Extended data: with an application name, that application's chain (first
  // the 1001 name, then its values) or null; with an empty name, every
  // application's chain one after another.
  OdResBufPtr xData(const OdString& regappName = OdString()) const;
  // Replaces the extended data of the application named by the chain's first
  // value (code 1001); a chain of the name alone removes it. The application is
  // added to the drawing's APPID table when it is missing there.
  void setXData(const OdResBuf* xdata);
  // The values of one application's extended data as text, in the order and
  // form of xData(regappName)'s chain read with OdResBuf::valueAsText (the
  // 1001 name first). values is emptied first, so that a caller can reuse one
  // vector for many objects. Returns false, values empty, when the object has
  // no extended data of that application or regappName is empty. Cheaper than
  // xData: a group of text values is decoded straight from the tags, without a
  // result-buffer chain.
  bool xDataTexts(const OdString& regappName, std::vector<OdString>& values) const;
  // Names of the applications that have extended data on this object, in order.
  std::vector<OdString> xDataApplications() const;
  // The same into names, emptied first: a caller walking many objects reuses
  // one vector instead of allocating one per object.
  void xDataApplications(std::vector<OdString>& names) const;

  OdDbObjectId extensionDictionary() const;
  // Creates the extension dictionary if there is none; true when one was created.
  bool createExtensionDictionary();

  // The DXF type name ("INSERT", "DICTIONARY", "LINE", ...).
  const std::string& dxfName() const;
  // Kinds numbered by a drawing start here (see internType).
  static constexpr uint16_t kFirstDrawingKind = 0x8000;
  // Objects of kinds the model does not know report the class recorded in the
  // drawing (the last subclass marker, such as AcDbLine).
  OdString className() const override;

  void release() override;

  // The object's DXF tags after its type line, as they will be written.
  const TagList& dxfTags() const { return tags_; }

 protected:
  explicit OdDbObject(uint16_t type) : type_(type) {}
  // Decodes text from the file's encoding / encodes it for this drawing.
  OdString decode(std::string_view raw) const;
  std::string encode(const OdString& text) const;
  // Reads a field; empty optional when absent.
  std::optional<std::string_view> field(std::string_view subclass, int code) const {
    return tags::find(tags_, subclass, code);
  }
  OdString textField(std::string_view subclass, int code) const;
  double doubleField(std::string_view subclass, int code, double dflt = 0.0) const;
  long intField(std::string_view subclass, int code, long dflt = 0) const;
  // Writes a field (the object must be open for write).
  void setField(std::string_view subclass, int code, std::string_view raw);
  void setTextField(std::string_view subclass, int code, const OdString& text);
  // Objects hold the index of their DXF type name. Kinds the model makes and
  // those most drawings hold come from a fixed list, numbered alike in every
  // process (below kFirstDrawingKind); any other kind read from a file is
  // numbered by its drawing (DatabaseImpl::kindOf), so that no session runs
  // out of kinds however many drawings it opens. internType gives the index
  // of a fixed kind; for another name (the kind of an object that outlives
  // its drawing) it keeps the name for the process.
  static uint16_t internType(std::string_view name);
  // The index of a fixed kind, or none.
  static std::optional<uint16_t> fixedKind(std::string_view name);

  // Called once after the drawing is loaded or the object is added, to resolve
  // what it refers to. Default does nothing.
  virtual void onLoaded() {}

  friend class OdDbDatabase;
  friend class DxfLoader;
  friend class DxfWriter;
  friend struct DatabaseImpl;
  friend class OdDbBlockTable;
  friend class OdDbBlockTableRecord;
  friend class OdDbBlockReference;
  friend class OdDbSymbolTable;
  friend class OdDbDictionary;
  friend class DrawingRepair;

  enum Flags : uint8_t {
    kErased = 1,
    kInEntitiesSection = 2,  // written in the ENTITIES section (model space, active paper space)
  };

  // The three small fields come first so that they share a word with the
  // reference count: a drawing holds millions of objects.
  int8_t openMode_ = OdDb::kNotOpen;
  uint8_t flags_ = 0;
  uint16_t type_;
  TagList tags_;
  OdDbDatabase* db_ = nullptr;
  OdDbObject* owner_ = nullptr;
  uint64_t handle_ = 0;
};

// Casts that throw OdError_NotThatKindOfClass, as smart-pointer conversion does.
template <class T>
T* odCast(OdRxObject* p) {
  return static_cast<T*>(p->x(T::desc()));
}
