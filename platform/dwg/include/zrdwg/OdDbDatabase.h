#pragma once
// OdDbDatabase: one drawing in memory, read from and written to ASCII DXF
// (AC1015/R2000 to AC1032/R2018). What the model does not interpret is kept as
// read and written back in its place.

#include <memory>
#include <string>

#include "zrdwg/OdDbObjectId.h"
#include "zrdwg/OdResBuf.h"
#include "zrdwg/OdRxObject.h"

class OdDbDatabase;
class TextCodec;
struct DatabaseImpl;
typedef OdSmartPtr<OdDbDatabase> OdDbDatabasePtr;

// What a drawing is read for. kEdit keeps every object's tags as the file
// has them, to be written back. kInspect is for a program that only looks
// at the drawing (a checker): it keeps what the model reads and leaves out
// what only a writer needs, so that a large drawing takes less memory: the
// SEQEND closing each INSERT's attributes or POLYLINE's vertices is not
// kept as an object of its own (nothing finds it, by handle or otherwise),
// and the handle and owner tags are not kept in the objects' tags, where
// the object holds them as its handle and its owner. Such a drawing cannot
// be written (writeDxf and dxfText throw OdError(eNotApplicable)); what
// every object answers, the handles and owners included, is what a kEdit
// read answers. A SEQEND left out is not checked either: a file whose only
// fault is such a SEQEND's handle (one already used) reads so.
enum class OdDbReadPurpose { kEdit, kInspect };

class OdDbDatabase : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdDbDatabase)
 public:
  // Drops the drawing's reference to its objects. An object still held
  // elsewhere survives, outside any drawing (database() null).
  ~OdDbDatabase() override;

  // Reads a DXF file. Throws OdError naming the file (and line, for bad
  // content): eCantOpenFile, eBadDxfFile, eUnsupportedFileFormat. Nothing is
  // returned unless the whole file was read.
  static OdDbDatabasePtr readDxf(const OdString& path, OdDbReadPurpose purpose = OdDbReadPurpose::kEdit);
  // Reads DXF text held in memory, as readDxf reads a file; errors name `name`
  // in place of a path.
  static OdDbDatabasePtr readDxfText(const std::string& text, const OdString& name,
                                     OdDbReadPurpose purpose = OdDbReadPurpose::kEdit);
  // A new, empty drawing of the given version (AC1015 ... AC1032).
  static OdDbDatabasePtr createNew(const OdString& version = OdString(u"AC1027"));
  // Writes the drawing atomically: a temporary file beside the target, flushed
  // to disk, then renamed over it. On failure the target is left as it was and
  // OdError(eFileWriteError) says why; a drawing read for
  // OdDbReadPurpose::kInspect throws OdError(eNotApplicable) and writes
  // nothing.
  void writeDxf(const OdString& path) const;
  // The DXF text of the drawing, as writeDxf would write it (and throws as
  // it throws).
  std::string dxfText() const;
  // What the drawing was read for (kEdit for one made new).
  OdDbReadPurpose readPurpose() const;

  // A system variable: the host's process-wide variables first (see
  // setHostSysVar), then the drawing's header variable of that name ("$"
  // prefixed in the file). Null when neither exists.
  OdResBufPtr getSysVar(const OdString& name) const;
  // Sets a process-wide variable that every drawing answers (the host's
  // "PROGRAM", for instance); a null value removes it.
  static void setHostSysVar(const OdString& name, const OdResBuf* value);

  // "AC1015" ... "AC1032".
  OdString version() const;
  // The $DWGCODEPAGE value ("ANSI_1252"), or "UTF-8" for R2007 and later.
  OdString codePage() const;

  // The BLOCK_RECORD table; every drawing read has one.
  OdDbObjectId getBlockTableId() const;
  // The LAYER table, or null when the drawing has none.
  OdDbObjectId getLayerTableId() const;
  // The APPID table, or null until the drawing has one (setXData makes it).
  OdDbObjectId getRegAppTableId() const;
  // The "*Model_Space" block record, or null when the drawing lacks it.
  OdDbObjectId getModelSpaceId() const;
  // The "*Paper_Space" block record, or null when the drawing lacks it.
  OdDbObjectId getPaperSpaceId() const;
  // The named objects dictionary, made (with an OBJECTS section) when the
  // drawing has none: the drawing changes.
  OdDbObjectId getNamedObjectsDictionaryId() const;

  // The identifier of the object with this handle, or null. Never creates one.
  OdDbObjectId getOdDbObjectId(const OdDbHandle& handle, bool createIfNotFound = false) const;
  // The handle that the next new object will get.
  OdDbHandle handseed() const;

  // The drawing's text codec: how its text values are encoded in the file.
  // Lives as long as the drawing.
  const TextCodec& codec() const;

 private:
  OdDbDatabase();
  // The inside of the drawing (model/DatabaseImpl.h): reached by the object
  // model and the file format through DatabaseImpl::of.
  friend struct DatabaseImpl;
  std::unique_ptr<DatabaseImpl> impl_;
};
