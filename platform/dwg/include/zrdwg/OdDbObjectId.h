#pragma once
// Identifier of a drawing object inside its open database. Identifiers are valid
// while the database is open; the handle is the persistent form.

#include <cstddef>
#include <functional>
#include <vector>

#include "zrdwg/OdDb.h"
#include "zrdwg/OdDbHandle.h"
#include "zrdwg/OdRxObject.h"

class OdDbObject;
class OdDbDatabase;
typedef OdSmartPtr<OdDbObject> OdDbObjectPtr;

class OdDbObjectId {
 public:
  // The null identifier.
  OdDbObjectId() = default;
  static const OdDbObjectId kNull;

  // True for the null identifier.
  bool isNull() const { return object_ == nullptr; }
  // True when the identifier names an object that has been erased.
  bool isErased() const;
  // Not null and not erased.
  bool isValid() const { return !isNull() && !isErased(); }
  // The object's handle; the null handle for the null identifier.
  OdDbHandle getHandle() const;
  // The drawing that holds the object, or null (null identifier, object outside a drawing).
  OdDbDatabase* database() const;

  // The object opened in the given mode, or null when the identifier is null or
  // the object is erased (unless openErased).
  OdDbObjectPtr openObject(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;
  // As openObject, but throws OdError (eNullObjectId, eWasErased) instead of
  // returning null.
  OdDbObjectPtr safeOpenObject(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;

  friend bool operator==(const OdDbObjectId& a, const OdDbObjectId& b) { return a.object_ == b.object_; }
  friend bool operator!=(const OdDbObjectId& a, const OdDbObjectId& b) { return a.object_ != b.object_; }
  // Orders by handle, so sorted identifiers follow creation order.
  friend bool operator<(const OdDbObjectId& a, const OdDbObjectId& b);

  // Hints that the object will be opened soon: its memory, and what the
  // drawing holds after it (a read object's tags, a reference's
  // attributes), is fetched into the processor's caches while the caller
  // works on another. Changes nothing; the null identifier is ignored. For
  // walks over many objects in an order other than the file's.
  void prefetch() const {
    if (!object_) return;
    const char* at = reinterpret_cast<const char*>(object_);
    for (int line = 0; line < kPrefetchLines; ++line) __builtin_prefetch(at + 64 * line);
  }

  // The object itself, without opening it (for the object model's own use).
  OdDbObject* rawObject() const { return object_; }
  // The identifier of an object (null for null); the object model's own use.
  static OdDbObjectId fromObject(const OdDbObject* object) {
    OdDbObjectId id;
    id.object_ = const_cast<OdDbObject*>(object);
    return id;
  }

 private:
  // What prefetch fetches, in cache lines of 64 bytes: a pin symbol's
  // reference, attribute and their tags.
  static constexpr int kPrefetchLines = 8;
  OdDbObject* object_ = nullptr;
};

typedef std::vector<OdDbObjectId> OdDbObjectIdArray;

// Hashes the object's address, so that identifiers key unordered containers.
template <>
struct std::hash<OdDbObjectId> {
  std::size_t operator()(const OdDbObjectId& id) const noexcept {
    return std::hash<const void*>()(id.rawObject());
  }
};
