#pragma once
// Errors of the object model. Every failure of the drawing libraries is thrown as an
// OdError carrying a result code and a readable description.

#include <exception>
#include <string>

#include "zrdwg/OdString.h"

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
  // An error with the standard text of its code (describe).
  explicit OdError(OdResult code);
  // An error with its own text, which names what failed (file, line, object).
  OdError(OdResult code, const OdString& description);
  // An error of code eExtendedError with that text.
  explicit OdError(const OdString& description) : OdError(eExtendedError, description) {}

  // The result code, for callers that tell failures apart.
  OdResult code() const { return code_; }
  // The readable text, as given or the code's standard text.
  const OdString& description() const { return description_; }
  // The description in UTF-8; valid as long as the error.
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
  // "Object of class FROM can't be cast to TO."; a null class reads "(null)".
  OdError_NotThatKindOfClass(const OdRxClass* from, const OdRxClass* to);
  // The same, naming the object's class by its name (a drawing's own class name).
  OdError_NotThatKindOfClass(const OdString& fromName, const OdRxClass* to);
};
