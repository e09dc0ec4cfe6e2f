// Message boxes and the file dialog as real modal dialogs (used when the
// real-dialog policy of zrui/msgbox.h says something will answer them).
#pragma once

#include "zrui/dialog.h"
#include "zrui/msgbox.h"

namespace zrui::detail {

// The box's template: caption, text (IDC_MESSAGE_TEXT) and one button per
// answer, the default one the default button.
DialogTemplate MessageBoxTemplate(const MessageBoxInfo& info);
// Runs the box modally over its owner (else the active window); returns the
// answer, the box's default when the loop ends without one.
int RunMessageBoxDialog(const MessageBoxInfo& info);

// Runs the file dialog modally over the active window.
FileDialogAnswer RunFileDialog(const FileDialogRequest& request);

// True when the installed policy wants real dialogs now.
bool RealDialogWanted();

}  // namespace zrui::detail
