#pragma once
// What the dialog driver reads of controls (their state for dialog-check,
// list rows and tree items by text) and how it names keys. Needs the
// window toolkit.

#include <optional>
#include <string>
#include <utility>

#include "dialog_driver.h"
#include "zrui/commctrl.h"
#include "zrui/input.h"

namespace zrhost {

// The control's state: text, enabled, visible; entries and the current one
// of combo boxes, list views (first column), trees ("/"-joined paths, in
// order) and tab controls; the check of buttons; the index chosen in the
// colour picker's swatches.
ControlState readControl(HWND ctl, int id);

// Texts of a list view's row (first column) and of a tree item.
std::u16string listRowText(HWND list, int row);
std::u16string treeItemText(HWND tree, HTREEITEM item);
// TVM_GETNEXTITEM.
HTREEITEM treeNext(HWND tree, UINT how, HTREEITEM from);

// The virtual key and modifiers of a key name as (dialog-key KEY) takes it;
// nothing for names it does not know.
std::optional<std::pair<UINT, zrui::Keys>> parseKeyName(std::u16string name);

}  // namespace zrhost
