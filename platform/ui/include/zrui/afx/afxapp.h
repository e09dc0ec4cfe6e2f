// Process-wide helpers of the MFC-shaped layer: message boxes with the
// application name, the main window and resource handles.
#pragma once

#include "zrui/afx/cwnd.h"

int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* wnd);
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
