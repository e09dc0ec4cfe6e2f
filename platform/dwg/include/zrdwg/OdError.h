#pragma once
// Errors of the object model. Every failure of the drawing libraries is thrown as an
// OdError carrying a result code and a readable description.

#include <exception>
#include <string>

#include "OdString.h"

enum OdResult {
  eOk = 0,
  eNotImplemented,
  eNotApplicable,
  eInvalidInput,
  eNullObjectId,
  eWasErased,
  eNotOpenForWrite,
  eNotThatKindOfClass,
  eKeyNotFound,
  eInvalidKey,
  eAlreadyInDb,
  eNotInDatabase,
  eInvalidOwnerObject,
  eHandleInUse,
  eCantOpenFile,
  eFileWriteError,
  eBadDxfFile,
  eUnsupportedFileFormat,
  eExtendedError,
};

class OdRxClass;

class OdError : public std::exception {
 public:
  explicit OdError(OdResult code);
  OdError(OdResult code, const OdString& description);
  explicit OdError(const OdString& description) : OdError(eExtendedError, description) {}

  OdResult code() const { return code_; }
  const OdString& description() const { return description_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

  // The standard text of a result code ("Not opened for write", ...).
  static OdString describe(OdResult code);

 private:
  OdResult code_;
  OdString description_;
  std::string utf8_;
};

// Raised by a failed cast: an object of one class taken as another.
class OdError_NotThatKindOfClass : public OdError {
 public:
  OdError_NotThatKindOfClass(const OdRxClass* from, const OdRxClass* to);
  OdError_NotThatKindOfClass(const OdString& fromName, const OdRxClass* to);
};
