// The connector dialogs' templates, built from their dialog-unit layouts
// before any dialog logic exists, with the state lights and tree images of
// their bitmaps. Shared by the snapshot and picture tests.
#pragma once

#include <string>

#include "zrui/commctrl.h"
#include "zrui/dialog.h"
#include "zrui/gdi.h"

namespace zrui::test {

// Light colours of the state-light strip (bitmap 50113): 0 green, 1 yellow,
// 2 red, 3 grey, each a disc on the magenta mask.
constexpr COLORREF kGreen = RGB(0, 170, 0);
constexpr COLORREF kYellow = RGB(230, 190, 0);
constexpr COLORREF kRed = RGB(210, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The templates by id: 50103 (connectors screen), 50106 (selection dialog,
// its tab control only), 50112 and 50109 (its pages), else 108 (new
// connector). Styles and dialog units as the module's resources give them.
const DialogTemplate& ConnectorTemplate(int id);

// Registers bitmaps 50113 (lights), 50116 (connector, pin) and 50100 (six
// catalogue images). Idempotent.
void RegisterConnectorBitmaps();

// The dialogs, created hidden-free and filled with sample content; each
// returns the top-level dialog (destroy it with DestroyWindow).
HWND CreateConnectorsScreen();   // template 50103
HWND CreateSelectionDialog(bool creationTab);  // 50106 with pages 50112 and 50109
HWND CreateNewConnectorDialog(); // template 108

}  // namespace zrui::test
