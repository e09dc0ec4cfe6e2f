#include "file_dialog_responder.h"

#ifdef ZRHOST_HAVE_ZRUI

#include <libguile.h>

#include <string>

#include "zrdwg/OdString.h"
#include "scheme_guard.h"
#include "scheme_values.h"
#include "terminal.h"
#include "zrui/msgbox.h"

namespace zrhost {
namespace {

std::string utf8(const std::u16string& text) { return OdString(text).toUtf8(); }
std::u16string utf16(const std::string& text) { return OdString::fromUtf8(text).str(); }

zrui::FileDialogAnswer cancelled() { return zrui::FileDialogAnswer{IDCANCEL, u""}; }

zrui::FileDialogAnswer respond(const zrui::FileDialogRequest& r) {
  // The toolkit keeps every request for tests to read; a long session should
  // not pile them up.
  zrui::TakeShownFileDialogs();
  if (!onSchemeThread()) {
    printErr("zrhost: the file dialog was asked for from another thread than the console's; cancelled\n");
    return cancelled();
  }
  SCM variable = scm_module_variable(scm_c_resolve_module("guile-user"), scm_from_utf8_symbol("file-dialog"));
  if (scm_is_false(variable) || scm_is_false(scm_variable_bound_p(variable)) ||
      scm_is_false(scm_procedure_p(scm_variable_ref(variable)))) {
    // No one to answer: printed with its answer, as message boxes are.
    std::string text = "[";
    text.append(r.title.empty() ? std::string("Open") : utf8(r.title)).append("]\n  ");
    text.append(r.initialDirectory.empty() ? std::string(".") : utf8(r.initialDirectory));
    text.append(" (").append(utf8(r.filter)).append(")\n  -> Cancel\n");
    printOut(text);
    return cancelled();
  }
  SCM args = scm_list_3(fromUtf8(utf8(r.initialDirectory)), fromUtf8(utf8(r.filter)), fromUtf8(utf8(r.title)));
  SCM value = SCM_BOOL_F;
  if (!schemeApply(scm_variable_ref(variable), args, &value, "file-dialog")) return cancelled();
  if (scm_is_false(value)) return cancelled();
  if (!scm_is_string(value)) {
    printErr("zrhost: file-dialog must answer a path or #f\n");
    return cancelled();
  }
  char* path = scm_to_utf8_string(value);
  std::string text(path);
  free(path);
  return zrui::FileDialogAnswer{IDOK, utf16(text)};
}

}  // namespace

void installFileDialogResponder() { zrui::SetFileDialogResponder(respond); }
void removeFileDialogResponder() { zrui::SetFileDialogResponder(nullptr); }

}  // namespace zrhost

#else

namespace zrhost {
// Built without the window toolkit: the module cannot show the dialog either.
void installFileDialogResponder() {}
void removeFileDialogResponder() {}
}  // namespace zrhost

#endif
