#include "scheme_dialogs.h"

#include <libguile.h>

#include <memory>
#include <string>

#include "zrdwg/OdString.h"
#include "dialog_driver.h"
#include "scheme_guard.h"
#include "scheme_registry.h"
#include "scheme_values.h"
#include "zrui/msgbox.h"

namespace zrhost {
namespace {

std::u16string utf16(const std::string& s) { return OdString::fromUtf8(s).c_str(); }

int intArg(SCM value, const char* what) {
  if (!scm_is_signed_integer(value, -32768, 65535))
    throw SchemeFailure("wrong-type-arg", std::string("expected an integer for ") + what);
  return scm_to_int(value);
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

SCM queue(DialogAction action) {
  queueDialogAction(std::move(action));
  return SCM_UNSPECIFIED;
}

SCM dialogClick(SCM id) {
  return schemeGuard("dialog-click", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Click;
    a.id = intArg(id, "the control id");
    a.written = "(dialog-click " + std::to_string(a.id) + ")";
    return queue(std::move(a));
  });
}

SCM dialogType(SCM id, SCM text) {
  return schemeGuard("dialog-type", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Type;
    a.id = intArg(id, "the control id");
    std::string t = stringArg(text, "the text");
    a.text = utf16(t);
    a.written = "(dialog-type " + std::to_string(a.id) + " " + quoted(t) + ")";
    return queue(std::move(a));
  });
}

SCM dialogKey(SCM key) {
  return schemeGuard("dialog-key", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Key;
    std::string k = stringArg(key, "the key's name");
    a.text = utf16(k);
    if (!validKeyName(a.text))
      throw SchemeFailure("out-of-range", "no key is named " + quoted(k) +
                                              " (Enter, Escape, Tab, S-Tab, Up, Down, Left, Right, Space, F4, ...)");
    a.written = "(dialog-key " + quoted(k) + ")";
    return queue(std::move(a));
  });
}

SCM dialogClose() {
  return schemeGuard("dialog-close", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Close;
    a.written = "(dialog-close)";
    return queue(std::move(a));
  });
}

SCM dialogChoose(SCM id, SCM item) {
  return schemeGuard("dialog-choose", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Choose;
    a.id = intArg(id, "the control id");
    if (scm_is_exact_integer(item)) {
      if (!scm_is_signed_integer(item, 0, 1 << 30)) throw SchemeFailure("out-of-range", "an entry's index is 0 or more");
      a.index = scm_to_int(item);
      a.written = "(dialog-choose " + std::to_string(a.id) + " " + std::to_string(a.index) + ")";
    } else {
      std::string t = stringArg(item, "the entry (an index, a text or a tree path)");
      a.text = utf16(t);
      a.written = "(dialog-choose " + std::to_string(a.id) + " " + quoted(t) + ")";
    }
    return queue(std::move(a));
  });
}

SCM dialogTab(SCM id, SCM index) {
  return schemeGuard("dialog-tab", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Tab;
    a.id = intArg(id, "the control id");
    a.index = intArg(index, "the tab's index");
    a.written = "(dialog-tab " + std::to_string(a.id) + " " + std::to_string(a.index) + ")";
    return queue(std::move(a));
  });
}

SCM dialogCell(SCM id, SCM row, SCM column) {
  return schemeGuard("dialog-cell", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Cell;
    a.id = intArg(id, "the control id");
    a.row = intArg(row, "the row");
    a.column = intArg(column, "the column");
    a.written = "(dialog-cell " + std::to_string(a.id) + " " + std::to_string(a.row) + " " +
                std::to_string(a.column) + ")";
    return queue(std::move(a));
  });
}

SCM dialogSnapshot(SCM path) {
  return schemeGuard("dialog-snapshot", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Snapshot;
    a.path = stringArg(path, "the file to write");
    a.written = "(dialog-snapshot " + quoted(a.path) + ")";
    return queue(std::move(a));
  });
}

SCM dialogPicture(SCM path) {
  return schemeGuard("dialog-picture", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Picture;
    a.path = stringArg(path, "the file to write");
    a.written = "(dialog-picture " + quoted(a.path) + ")";
    return queue(std::move(a));
  });
}

SCM stateAlist(const ControlState& s) {
  SCM items = SCM_EOL;
  for (auto it = s.items.rbegin(); it != s.items.rend(); ++it) items = scm_cons(fromUtf8(*it), items);
  auto entry = [](const char* key, SCM value) { return scm_cons(scm_from_utf8_symbol(key), value); };
  return scm_list_n(entry("id", scm_from_int(s.id)), entry("class", fromUtf8(s.className)),
                    entry("text", fromUtf8(s.text)), entry("enabled", scm_from_bool(s.enabled)),
                    entry("visible", scm_from_bool(s.visible)), entry("checked", scm_from_bool(s.checked)),
                    entry("items", items), entry("selection", s.selection >= 0 ? scm_from_int(s.selection) : SCM_BOOL_F),
                    SCM_UNDEFINED);
}

// Keeps a procedure from the collector while an action holds it.
std::shared_ptr<void> protectedProcedure(SCM proc) {
  scm_gc_protect_object(proc);
  return std::shared_ptr<void>(SCM_UNPACK_POINTER(proc), [](void* p) { scm_gc_unprotect_object(SCM_PACK_POINTER(p)); });
}

SCM dialogCheck(SCM id, SCM proc) {
  return schemeGuard("dialog-check", [&]() -> SCM {
    DialogAction a;
    a.kind = DialogAction::Kind::Check;
    a.id = intArg(id, "the control id");
    if (scm_is_false(scm_procedure_p(proc))) throw SchemeFailure("wrong-type-arg", "expected a procedure to check with");
    std::shared_ptr<void> held = protectedProcedure(proc);
    a.check = [held](const ControlState& state) -> std::optional<std::string> {
      SCM result;
      if (schemeApply(SCM_PACK_POINTER(held.get()), scm_list_1(stateAlist(state)), &result, "dialog-check"))
        return std::nullopt;
      return std::string("the check failed (its error is printed above)");
    };
    a.written = "(dialog-check " + std::to_string(a.id) + " ...)";
    return queue(std::move(a));
  });
}

SCM dialogPending() {
  return schemeGuard("dialog-pending", [&]() -> SCM {
    SCM out = SCM_EOL;
    std::vector<std::string> pending = pendingDialogActions();
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) out = scm_cons(fromUtf8(*it), out);
    return out;
  });
}

SCM dialogClear() {
  return schemeGuard("dialog-clear", [&]() -> SCM {
    clearDialogActions();
    return SCM_UNSPECIFIED;
  });
}

SCM messageBox(SCM text, SCM caption, SCM style) {
  return schemeGuard("message-box", [&]() -> SCM {
    std::u16string body = utf16(stringArg(text, "the text"));
    std::u16string title = SCM_UNBNDP(caption) ? zrui::AppName() : utf16(stringArg(caption, "the caption"));
    UINT type = SCM_UNBNDP(style) ? MB_OK : static_cast<UINT>(intArg(style, "the style (MB_ flags)"));
    beginDialogCall();
    int answer = MessageBoxW(GetActiveWindow(), body.c_str(), title.c_str(), type);
    if (std::optional<std::string> failure = endDialogCall()) throw SchemeFailure("dialog-error", *failure);
    return scm_from_int(answer);
  });
}

const SchemeProcedure kProcedures[] = {
    {"dialog-click", 1, 0, false, subr(dialogClick),
     "(dialog-click ID): queues a click on the control ID of the dialog on top (1 OK, 2 Cancel, 6 Yes, 7 No in "
     "message boxes). Queued actions are used, in order, by the dialogs that the following calls open."},
    {"dialog-type", 2, 0, false, subr(dialogType),
     "(dialog-type ID TEXT): queues typing: the control ID gets the focus, all its text is selected (Ctrl+A) and "
     "TEXT is typed as keys."},
    {"dialog-key", 1, 0, false, subr(dialogKey),
     "(dialog-key KEY): queues a key for the focus: \"Enter\", \"Escape\", \"Tab\", \"S-Tab\", \"Up\", \"Down\", "
     "\"Left\", \"Right\", \"Space\", \"Home\", \"End\", \"PageUp\", \"PageDown\", \"Delete\", \"Backspace\", "
     "\"F1\"..\"F12\", a letter or digit; prefixes S-, C-, M- add Shift, Control, Alt."},
    {"dialog-close", 0, 0, false, subr(dialogClose),
     "(dialog-close): queues the window close command of the dialog on top, as a click on its close box [x] or Alt+F4 sends it."},
    {"dialog-choose", 2, 0, false, subr(dialogChoose),
     "(dialog-choose ID ITEM): queues choosing an entry by index or text in a list or combo box, or an item of a "
     "tree by its path of texts joined by \"/\" (closed folders on the way are opened), or a colour of the colour "
     "dialog's swatches (control 100) by its index: a click on its swatch."},
    {"dialog-tab", 2, 0, false, subr(dialogTab), "(dialog-tab ID INDEX): queues a click on tab INDEX of a tab control."},
    {"dialog-cell", 3, 0, false, subr(dialogCell),
     "(dialog-cell ID ROW COLUMN): queues a click on a cell of a report list view (a property list opens its "
     "editor there, which then has the focus and its own control id)."},
    {"dialog-snapshot", 1, 0, false, subr(dialogSnapshot),
     "(dialog-snapshot PATH): queues writing the text rendering of the screen (every window shown) to PATH."},
    {"dialog-picture", 1, 0, false, subr(dialogPicture),
     "(dialog-picture PATH): queues writing a PNG picture of the screen (every window shown) to PATH."},
    {"dialog-check", 2, 0, false, subr(dialogCheck),
     "(dialog-check ID PROC): queues a check: PROC gets the control's state as an association list (id, class, "
     "text, enabled, visible, checked, items, selection); an error in PROC fails the call."},
    {"dialog-pending", 0, 0, false, subr(dialogPending), "(dialog-pending): the queued actions not used yet, as written."},
    {"dialog-clear", 0, 0, false, subr(dialogClear), "(dialog-clear): drops the queued actions."},
    {"message-box", 1, 2, false, subr(messageBox),
     "(message-box TEXT [CAPTION] [STYLE]): shows a message box as the module's are shown (MB_ style flags, "
     "default MB_OK) and returns the button id: answered by queued actions, else printed and answered with its "
     "default."},
};

}  // namespace

void initDialogProcedures() { defineProcedures(kProcedures); }

}  // namespace zrhost
