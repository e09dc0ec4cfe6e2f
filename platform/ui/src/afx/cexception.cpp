#include "zrui/afx/cexception.h"

#include <algorithm>

BOOL CException::GetErrorMessage(LPTSTR buf, UINT max, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (!buf || max == 0) return FALSE;
  CString m = Message();
  UINT n = std::min<UINT>(static_cast<UINT>(m.GetLength()), max - 1);
  std::copy_n(m.GetString(), n, buf);
  buf[n] = 0;
  return TRUE;
}
void AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AfxThrowMemoryException() { throw new CMemoryException; }
