#pragma once
// The toolkit's file-open dialog in the host. Whenever someone can answer
// it (a person at the terminal, queued actions: the real-dialog policy of
// dialog_driver.h) it is the toolkit's file chooser, a real dialog. Else this
// responder answers: the Scheme procedure "file-dialog" when defined, called
// with the initial folder, the filter ("Drawings|*.dwg") and the title as
// strings, and answering a path (confirmed) or #f (cancelled); else the
// dialog is printed ("[title]", the folder and the filter, "-> Cancel") and
// cancelled.

namespace zrhost {

// Installs the answer for the whole process (no effect when the host is built
// without the toolkit).
void installFileDialogResponder();
// Restores the toolkit's own (cancel).
void removeFileDialogResponder();

}  // namespace zrhost
