// Standard controls of the MFC-shaped layer: CStatic, CButton,
// CBitmapButton, CEdit, CComboBox (one header each; this one includes them
// all). Like their originals they add no data to CWnd (except
// CBitmapButton), so a CWnd* of such a control may be cast.
#pragma once

#include "zrui/afx/cbitmapbutton.h"
#include "zrui/afx/cbutton.h"
#include "zrui/afx/ccombobox.h"
#include "zrui/afx/cedit.h"
#include "zrui/afx/cgdi.h"
#include "zrui/afx/cstatic.h"
#include "zrui/afx/cwnd.h"
