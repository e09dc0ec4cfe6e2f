// Common controls of the MFC-shaped layer: CImageList, CHeaderCtrl,
// CListCtrl, CTreeCtrl and CTabCtrl (one header each; this one includes them all).
#pragma once

#include "zrui/afx/cgdi.h"
#include "zrui/afx/cheaderctrl.h"
#include "zrui/afx/cimagelist.h"
#include "zrui/afx/clistctrl.h"
#include "zrui/afx/ctabctrl.h"
#include "zrui/afx/ctreectrl.h"
#include "zrui/afx/cwnd.h"
#include "zrui/commctrl.h"
