#pragma once
// Dialogs driven by queued actions when no person is at a terminal: a
// script queues what a person would do (click, type, choose...) before the
// call that opens a dialog, and the dialogs that open during that call
// consume the actions in order, each when its modal loop has nothing else to
// do. The dialog acted on is the one on top (the innermost modal loop).
//
// While actions are queued, message boxes and the file dialog are real
// dialogs (so the actions answer them); with nothing queued, boxes go to the
// printing responder as before.
//
// An action that cannot be applied (no such control, a control that stays
// disabled or hidden, no dialog open) fails the call: the failure names the
// dialog and the control, the dialogs still open in that call are cancelled
// and the actions left are dropped. A dialog left waiting with nothing queued
// fails the call the same way after the wait limit, never hangs. Actions that
// wait for something a worker thread is still doing (a control still
// disabled, a tree item not filled yet) are retried until the wait limit.
//
// Everything here runs on the Scheme thread (which runs the modal loops).

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zrhost {

// What (dialog-check ...) hands to its procedure.
struct ControlState {
  int id = 0;
  std::string className;
  std::string text;
  bool enabled = false;
  bool visible = false;
  bool checked = false;
  std::vector<std::string> items;  // entries; tree items as "/"-joined paths; list rows' first column
  int selection = -1;              // index of the current entry (tree: in items), -1 for none
};

struct DialogAction {
  enum class Kind { Click, Type, Key, Close, Choose, Tab, Cell, Snapshot, Picture, Check };
  Kind kind = Kind::Click;
  int id = 0;
  std::u16string text;  // Type: the text; Key: the key's name; Choose: the entry (or path)
  int index = -1;       // Choose by index; Tab
  int row = 0;
  int column = 0;
  std::string path;     // Snapshot, Picture
  // Check: returns an error message, or nothing when the check passed.
  std::function<std::optional<std::string>(const ControlState&)> check;
  // How the script wrote it, for messages: "(dialog-click 1)".
  std::string written;
};

// Queue and state of the driver (one per process).
void queueDialogAction(DialogAction action);
// The actions not used yet, as written.
std::vector<std::string> pendingDialogActions();
void clearDialogActions();

// Installs the idle handler of the calling (Scheme) thread's modal loops and
// the real-dialog policy. `waitLimit`: how long a dialog may wait with
// nothing queued, or for an action to become possible.
void installDialogDriver(std::chrono::milliseconds waitLimit);
void removeDialogDriver();

// True when a dialog opened now has someone to answer it: a front end shows
// it to a person, or actions are queued (and the call has not failed). The
// real-dialog policy answers the same; the host's own dialogs (the colour
// picker) ask it too.
bool dialogsAnswerable();

// A front end that shows dialogs to a person: dialogs are real and a dialog
// with nothing queued waits for the person instead of failing.
void setDialogFrontEndAttached(bool attached);

// Around each call from Scheme that may open dialogs (module functions,
// message-box): starts a call; ends it, returning the failure of the call's
// dialogs, if any.
void beginDialogCall();
std::optional<std::string> endDialogCall();

// Validates a key name as (dialog-key KEY) takes it: "Enter", "Escape",
// "Tab", "S-Tab", "Up", "Down", "Left", "Right", "Space", "Home", "End",
// "PageUp", "PageDown", "Delete", "Backspace", "F1".."F12", a single letter or
// digit, with "S-", "C-", "M-" prefixes for Shift, Control, Alt.
bool validKeyName(const std::u16string& name);

}  // namespace zrhost
