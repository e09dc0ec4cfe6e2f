#pragma once
// Helpers for the suite components that the module creates through the COM
// run time (the settings and texts of PRMSET, the data-access objects), and
// for raising COM errors that carry a readable description.

#include "zrcom/com.h"
#include "zrui/afx/cstring.h"

// Creates an object as the suite's components are created: CoCreateInstance
// for IUnknown with context 0x17, OleRun, then a query for the interface.
// Returns null on any failure; the calling thread's error information then
// describes the cause (see TakeErrorDescription).
IUnknownPtr CreateRunningObject(REFCLSID clsid);

template <class I>
_com_ptr_t<I> CreateComponent(REFCLSID clsid) {
  IUnknownPtr unknown = CreateRunningObject(clsid);
  if (!unknown) return nullptr;
  _com_ptr_t<I> wanted(unknown);
  if (!wanted) ZrSetErrorInfo(E_NOINTERFACE, u"The object does not offer the interface the module needs.");
  return wanted;
}

// The description in the calling thread's error information, which is
// cleared; empty when there is none.
CString TakeErrorDescription();

// Throws a _com_error for hr whose description is the given text.
[[noreturn]] void RaiseComError(HRESULT hr, const CString& description);
