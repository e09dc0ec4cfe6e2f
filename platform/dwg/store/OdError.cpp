#include "zrdwg/OdError.h"

OdError::OdError(OdResult code) : OdError(code, describe(code)) {}

OdError::OdError(OdResult code, const OdString& description)
    : code_(code), description_(description), utf8_(description.toUtf8()) {}

OdString OdError::describe(OdResult code) {
  const char* text = "Unknown error";
  switch (code) {
    case eOk: text = "No error"; break;
    case eNotImplemented: text = "Not implemented"; break;
    case eNotApplicable: text = "Not applicable"; break;
    case eInvalidInput: text = "Invalid input"; break;
    case eNullObjectId: text = "Null object Id"; break;
    case eWasErased: text = "Object was erased"; break;
    case eNotOpenForWrite: text = "Not opened for write"; break;
    case eNotThatKindOfClass: text = "Object of wrong class"; break;
    case eKeyNotFound: text = "Key not found"; break;
    case eInvalidKey: text = "Invalid key"; break;
    case eAlreadyInDb: text = "Object is already in a database"; break;
    case eNotInDatabase: text = "Object is not in a database"; break;
    case eInvalidOwnerObject: text = "Invalid owner object"; break;
    case eHandleInUse: text = "Handle already in use"; break;
    case eCantOpenFile: text = "Can't open file"; break;
    case eFileWriteError: text = "File write error"; break;
    case eBadDxfFile: text = "Bad DXF file"; break;
    case eUnsupportedFileFormat: text = "Unsupported file format"; break;
    case eExtendedError: text = "Extended error"; break;
  }
  return OdString::fromUtf8(text);
}
