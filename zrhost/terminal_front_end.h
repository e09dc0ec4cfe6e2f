#pragma once
// The terminal front end of zrhost: when standard input and output are a
// terminal, the module's dialogs, message boxes and the file dialog show in
// it (library zrterm) and a person drives them; the console gets the
// terminal back whenever control returns to Scheme. Ctrl-C in a dialog
// cancels the dialogs open and interrupts the call that opened them.
//
// REQUIRES: the Scheme thread (which runs the modal loops).

namespace zrhost {

// Attaches the front end when there is a terminal (and zrhost was built with
// it). Returns whether it did.
bool attachTerminalFrontEnd();
void detachTerminalFrontEnd();

}  // namespace zrhost
