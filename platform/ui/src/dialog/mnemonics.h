// The dialog manager's mnemonics: Alt+letter reaches the control whose
// caption underlines the letter ("&Name:").
#pragma once

#include "zrui/winapi.h"

namespace zrui::detail {

// The character a caption marks with a single '&', lower-cased; 0 when it
// marks none ("&&" is a plain '&').
char16_t CaptionMnemonic(const std::u16string& caption);

// Acts on the mnemonic ch in dlg as the dialog manager does on WM_SYSCHAR:
// the search starts after the focused control and wraps (so pressing it again
// reaches the next control with the same letter); child dialogs are entered.
// A label or group box passes the focus to the next Tab stop after it; a push
// button is clicked without taking the focus; a check box or radio button
// takes the focus and is clicked. Hidden and disabled controls are skipped.
// Returns false when no control has it.
bool PressMnemonic(HWND dlg, char16_t ch);

}  // namespace zrui::detail
