// Texts of HRESULTs and of GUIDs.

#include "zrcom/guid.h"
#include "zrcom/hresult.h"

#include <cstdio>

std::u16string ZrHResultMessage(HRESULT hr) {
  switch (hr) {
    case S_OK: return u"The operation completed successfully.";
    case S_FALSE: return u"The operation completed with a false result.";
    case E_NOTIMPL: return u"Not implemented";
    case E_NOINTERFACE: return u"No such interface supported";
    case E_POINTER: return u"Invalid pointer";
    case E_ABORT: return u"Operation aborted";
    case E_FAIL: return u"Unspecified error";
    case E_UNEXPECTED: return u"Catastrophic failure";
    case E_ACCESSDENIED: return u"Access is denied.";
    case E_HANDLE: return u"The handle is invalid.";
    case E_OUTOFMEMORY: return u"Not enough memory resources are available to complete this operation.";
    case E_INVALIDARG: return u"The parameter is incorrect.";
    case CLASS_E_NOAGGREGATION: return u"Class does not support aggregation";
    case CLASS_E_CLASSNOTAVAILABLE: return u"ClassFactory cannot supply requested class";
    case REGDB_E_CLASSNOTREG: return u"Class not registered";
    case CO_E_DLLNOTFOUND: return u"The server library could not be found";
    case CO_E_NOTINITIALIZED: return u"CoInitialize has not been called.";
    case CO_E_ERRORINDLL: return u"The server library has a bad format";
    case CO_E_CLASSSTRING: return u"Invalid class string";
    case DISP_E_MEMBERNOTFOUND: return u"Member not found.";
    case DISP_E_PARAMNOTFOUND: return u"Parameter not found.";
    case DISP_E_TYPEMISMATCH: return u"Type mismatch.";
    case DISP_E_BADVARTYPE: return u"Bad variable type.";
    case DISP_E_OVERFLOW: return u"Out of present range.";
    default: break;
  }
  char text[48];
  std::snprintf(text, sizeof text, "Unknown error 0x%08X", static_cast<unsigned>(hr));
  std::u16string out;
  for (const char* c = text; *c; ++c) out.push_back(static_cast<char16_t>(*c));
  return out;
}

std::string ZrGuidToString(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}
