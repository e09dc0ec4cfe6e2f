// The MFC-shaped layer of the toolkit in one include.
#pragma once

#include "zrui/afx/ccommctrl.h"
#include "zrui/afx/ccontrols.h"
#include "zrui/afx/cdialog.h"
#include "zrui/afx/cgdi.h"
#include "zrui/afx/cmisc.h"
#include "zrui/afx/cstring.h"
#include "zrui/afx/cwnd.h"
#include "zrui/afx/types.h"
#include "zrui/dialog.h"
#include "zrui/msgbox.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"
#include "zrui/tooltip.h"
