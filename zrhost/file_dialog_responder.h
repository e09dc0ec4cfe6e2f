#pragma once
// The toolkit's file-open dialog in the host: the Scheme procedure
// "file-dialog" answers it when defined, called with the initial folder, the
// filter ("Drawings|*.dwg") and the title as strings, and answering a path
// (confirmed) or #f (cancelled); else a person at the terminal picks one of
// the folder's files that match the filter, by number, or types a path;
// else the dialog is cancelled.

namespace zrhost {

// Installs the answer for the whole process (no effect when the host is built
// without the toolkit).
void installFileDialogResponder();
// Restores the toolkit's own (cancel).
void removeFileDialogResponder();

}  // namespace zrhost
