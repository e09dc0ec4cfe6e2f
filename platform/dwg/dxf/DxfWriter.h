#pragma once
// Writes an OdDbDatabase as ASCII DXF: sections in the order they were read,
// every object's tags as held by the model, group codes right-aligned in three
// columns, lines ended as in the file that was read. Erased objects are left out,
// and so is everything they own, so that no written owner names a missing object.

#include <functional>
#include <string>
#include <string_view>

#include "zrdwg/OdString.h"

class OdDbDatabase;
class OdDbObject;
class OdDbEntity;
class TagList;

class DxfWriter {
 public:
  // Throws OdError(eNotApplicable) for a drawing read for
  // OdDbReadPurpose::kInspect, which lacks what a writer needs.
  explicit DxfWriter(const OdDbDatabase& db);

  // The whole file as text.
  std::string text() const;
  // Writes atomically (see AtomicFile); throws OdError(eFileWriteError).
  void writeFile(const OdString& path) const;

 private:
  class Out;
  void emit(Out& out) const;
  void header(Out& out) const;
  void tables(Out& out) const;
  void blocks(Out& out) const;
  void entity(Out& out, const OdDbEntity* e) const;
  void object(Out& out, const OdDbObject* o) const;
  // True when the object or one of its owners is erased.
  static bool isDropped(const OdDbObject* o);

  const OdDbDatabase& db_;
};
