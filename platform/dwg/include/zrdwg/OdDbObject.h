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
#include <string_view>
#include <vector>

#include "zrdwg/OdDb.h"
#include "zrdwg/OdDbObjectId.h"
#include "zrdwg/OdResBuf.h"
#include "zrdwg/OdRxObject.h"
#include "zrdwg/StoredObject.h"
#include "zrdwg/TagList.h"

class OdDbDatabase;
struct DxfField;
class DxfLoader;
class DxfWriter;
struct DatabaseImpl;

class OdDbObject : public StoredObject {
  ODRX_DECLARE_MEMBERS(OdDbObject)
 public:
  // Objects are deleted by their last release, never directly.
  ~OdDbObject() override;

  // The object's identifier; null while the object is outside a drawing.
  OdDbObjectId objectId() const { return OdDbObjectId::fromObject(store() ? this : nullptr); }
  // The drawing that holds the object, or null. An object held past its
  // drawing's end leaves it (null from then on).
  OdDbDatabase* database() const;
  // The owner as the model links it (a block for an entity, a table for a
  // record, a dictionary for its entries); null for a root or an owner the
  // drawing lacks.
  OdDbObjectId ownerId() const { return OdDbObjectId::fromObject(ownerObject()); }
  // The handle; null until the object joins a drawing.
  OdDbHandle getDbHandle() const { return OdDbHandle(handle_); }
  // The same.
  OdDbHandle handle() const { return getDbHandle(); }

  // True once erased (and not un-erased).
  bool isErased() const { return flags_ & kErased; }
  // Erases (or un-erases) the object; erased objects are not opened and not
  // saved, nor is what they own. Throws OdError for what the drawing cannot do
  // without (symbol tables, model and paper space, the named objects
  // dictionary: eNotApplicable) and for an APPID record that extended data
  // still names (eInvalidInput).
  void erase(bool erasing = true);

  // True while the object is open (or outside a drawing).
  bool isReadEnabled() const { return openMode_ != OdDb::kNotOpen || !store(); }
  // True while the object is open for write (or outside a drawing).
  bool isWriteEnabled() const { return openMode_ == OdDb::kForWrite || !store(); }
  // Throws eNotOpenForWrite unless the object is open for writing (objects not
  // yet added to a database are always writable).
  void assertWriteEnabled() const;
  // Opens the object for write (nothing outside a drawing).
  void upgradeOpen();
  // Opens it for read only (nothing outside a drawing).
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
  // The same values as UTF-8, without a UTF-16 string each: a value whose
  // bytes in the drawing are its text already (ASCII without a backslash,
  // as nearly every name, code and identifier is) is a view into the
  // object's tags; any other (another code page's bytes, "\U+XXXX"
  // escapes, values other than text) is converted into `scratch`. values and
  // scratch are emptied first, so that one pair serves many objects.
  // Lifetime: the views stay valid while the object's tags are unchanged and
  // the object lives, and until scratch is next changed (the next call with
  // it), whichever ends first. The application's name is compared ignoring
  // case, as in xData. Returns false, values empty, as xDataTexts does.
  bool xDataTextsUtf8(std::string_view regappName, std::vector<std::string_view>& values,
                      std::string& scratch) const;
  // Names of the applications that have extended data on this object, in order.
  std::vector<OdString> xDataApplications() const;
  // The same into names, emptied first: a caller walking many objects reuses
  // one vector instead of allocating one per object.
  void xDataApplications(std::vector<OdString>& names) const;
  // The same names as UTF-8, viewed and converted as xDataTextsUtf8 does its
  // values (with the same lifetime); names and scratch are emptied first.
  void xDataApplicationsUtf8(std::vector<std::string_view>& names, std::string& scratch) const;

  // The extension dictionary named in the object's ACAD_XDICTIONARY group;
  // null when there is none or the drawing lacks it.
  OdDbObjectId extensionDictionary() const;
  // Creates the extension dictionary if there is none; true when one was created.
  bool createExtensionDictionary();

  // The DXF type name ("INSERT", "DICTIONARY", "LINE", ...).
  const std::string& dxfName() const;
  // Objects of kinds the model does not know report the class recorded in the
  // drawing (the last subclass marker, such as AcDbLine).
  OdString className() const override;

  // Drops a reference; when only the drawing's own is left, the object is closed.
  void release() override;

  // The object's DXF tags after its type line, as they will be written.
  const TagList& dxfTags() const { return tags_; }

 protected:
  explicit OdDbObject(uint16_t type) : StoredObject(type) {}
  // The owner linked by the model, or null.
  OdDbObject* ownerObject() const { return static_cast<OdDbObject*>(owner_); }
  // The object of that handle in this object's drawing, or null.
  OdDbObject* objectAt(uint64_t handle) const;
  // The class recorded in the drawing (the last subclass marker), or this
  // class's own name when the tags have none.
  OdString recordedClassName() const;
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
  // The same for a field of the format's tables (model/DxfFields.h): its
  // subclass and group code come from the table.
  std::optional<std::string_view> field(const DxfField& f) const;
  OdString textField(const DxfField& f) const;
  // The same text as UTF-8: a view into the tags when its bytes are its text
  // already (dxfv::readsAsItself), else converted into scratch, which is
  // emptied first; empty when absent. The view lasts while the tags are
  // unchanged and the object lives, and until scratch next changes.
  std::string_view textFieldUtf8(const DxfField& f, std::string& scratch) const;
  double doubleField(const DxfField& f, double dflt = 0.0) const;
  long intField(const DxfField& f, long dflt = 0) const;
  void setField(const DxfField& f, std::string_view raw);
  void setTextField(const DxfField& f, const OdString& text);
  // Objects hold the index of their DXF type name. Kinds the model makes and
  // those most drawings hold come from a fixed list, numbered alike in every
  // process (below kFirstDrawingKind); any other kind read from a file is
  // numbered by its drawing (ObjectStore::kindOf), so that no session runs
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
  friend class DxfLinker;
  friend class DxfWriter;
  friend struct DatabaseImpl;
  friend class OdDbBlockTable;
  friend class OdDbBlockTableRecord;
  friend class OdDbBlockReference;
  friend class OdDbSymbolTable;
  friend class OdDbDictionary;
  friend class DrawingRepair;
};

// Casts that throw OdError_NotThatKindOfClass, as smart-pointer conversion does.
// p must not be null.
template <class T>
T* odCast(OdRxObject* p) {
  return static_cast<T*>(p->x(T::desc()));
}
