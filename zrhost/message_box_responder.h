#pragma once
// Message boxes of the window toolkit, shown on the terminal: each box is
// printed (caption and text) with the answer it gets. A box with one button
// gets it; a person at a terminal chooses among several (boxes shown from the
// console's thread); otherwise a Yes/No box is answered No and any other the
// box's default.

namespace zrhost {

// Installs the responder for the whole process (no effect when the host is
// built without the toolkit).
void installMessageBoxResponder();
// Restores the toolkit's own responder.
void removeMessageBoxResponder();

}  // namespace zrhost
