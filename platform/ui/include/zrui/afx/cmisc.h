// AfxMessageBox, the file dialog, exceptions and worker threads of the
// MFC-shaped layer (one header each; this one includes them all).
#pragma once

#include <atomic>
#include <thread>

#include "zrui/afx/afxapp.h"
#include "zrui/afx/cexception.h"
#include "zrui/afx/cfiledialog.h"
#include "zrui/afx/cwinthread.h"
#include "zrui/afx/cwnd.h"
