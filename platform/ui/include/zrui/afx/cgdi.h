// GDI objects and device contexts of the MFC-shaped layer: CFont, CBrush,
// CBitmap (cgdiobject.h), CDC with CPaintDC and CClientDC (cdc.h).
#pragma once

#include "zrui/afx/cdc.h"
#include "zrui/afx/cgdiobject.h"
#include "zrui/afx/cstring.h"
#include "zrui/afx/types.h"
#include "zrui/gdi.h"
