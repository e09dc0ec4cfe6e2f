// The interface and class of the test server library.
#pragma once

#include "zrcom/com.h"

struct ICounter : IDispatch {
  virtual HRESULT Next(LONG* value) = 0;
  // Fails with E_FAIL and error information naming the counter.
  virtual HRESULT Fail() = 0;

 protected:
  ~ICounter() = default;
};
ZR_DECLARE_IID(ICounter, "3F0C2D6E-8E31-4C55-9B62-5A4E1D0B7C11");
ZR_SMARTPTR_TYPEDEF(ICounter);

inline constexpr CLSID CLSID_TestCounter = ZrGuid("{9A1B7C3D-2E4F-4A60-8B71-C2D3E4F50617}");
