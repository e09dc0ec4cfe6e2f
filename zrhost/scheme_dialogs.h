#pragma once
// Scheme procedures that drive the dialogs opened by the calls that follow
// them (dialog-click, dialog-type, ... see dialog_driver.h), and message-box.

namespace zrhost {

// Defines the procedures in the current module. Needs the window toolkit.
void initDialogProcedures();

}  // namespace zrhost
