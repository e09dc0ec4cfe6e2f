// Exceptions of the MFC-shaped layer.
#pragma once

#include "zrui/afx/cstring.h"
#include "zrui/wintypes.h"

class CException {
 public:
  virtual ~CException() = default;
  virtual BOOL GetErrorMessage(LPTSTR buf, UINT max, UINT* helpContext = nullptr) const;
  virtual CString Message() const { return u"Unknown error"; }
  void Delete() { delete this; }
};
class CInvalidArgException : public CException {
 public:
  CString Message() const override { return u"Invalid argument"; }
};
class CMemoryException : public CException {
 public:
  CString Message() const override { return u"Out of memory"; }
};
// Thrown as pointers, as MFC does: catch (CException* e) { ...; e->Delete(); }
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
