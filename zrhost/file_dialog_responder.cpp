#include "file_dialog_responder.h"

#ifdef ZRHOST_HAVE_ZRUI

#include <libguile.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "OdString.h"
#include "scheme_guard.h"
#include "scheme_values.h"
#include "terminal.h"
#include "zrui/msgbox.h"

namespace zrhost {
namespace {

std::string utf8(const std::u16string& text) { return OdString(text).toUtf8(); }
std::u16string utf16(const std::string& text) { return OdString::fromUtf8(text).str(); }

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

// The extensions of a "Name|*.ext;*.ext2|..." filter, lower case without the
// dot; empty when it admits every file.
std::vector<std::string> extensions(const std::string& filter) {
  std::vector<std::string> out;
  std::size_t bar = filter.find('|');
  std::string patterns = bar == std::string::npos ? filter : filter.substr(bar + 1);
  patterns = patterns.substr(0, patterns.find('|'));
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    std::string p = patterns.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (p == "*.*" || p == "*") return {};
    if (p.rfind("*.", 0) == 0) out.push_back(lower(p.substr(2)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

// The folder's files that the filter admits, sorted by name.
std::vector<std::filesystem::path> matchingFiles(const std::string& folder, const std::string& filter) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  const std::vector<std::string> wanted = extensions(filter);
  for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    std::string ext = lower(entry.path().extension().string());
    if (!ext.empty()) ext.erase(0, 1);
    if (wanted.empty() || std::find(wanted.begin(), wanted.end(), ext) != wanted.end()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

zrui::FileDialogAnswer cancelled() { return zrui::FileDialogAnswer{IDCANCEL, u""}; }

zrui::FileDialogAnswer askPerson(const zrui::FileDialogRequest& r) {
  const std::string folder = utf8(r.initialDirectory);
  const std::vector<std::filesystem::path> files = matchingFiles(folder, utf8(r.filter));
  std::string text = "[";
  text += r.title.empty() ? std::string("Open") : utf8(r.title);
  text += "] ";
  text += folder.empty() ? std::string(".") : folder;
  text += "\n";
  for (std::size_t i = 0; i < files.size(); ++i)
    text += "  " + std::to_string(i + 1) + ". " + files[i].filename().string() + "\n";
  printOut(text);
  std::optional<std::string> line = askLine("File (number or path; empty line: cancel): ");
  if (!line) return cancelled();
  std::size_t start = line->find_first_not_of(" \t\r");
  if (start == std::string::npos) return cancelled();
  std::string answer = line->substr(start, line->find_last_not_of(" \t\r") - start + 1);
  if (answer.find_first_not_of("0123456789") == std::string::npos && answer.size() < 6) {
    std::size_t n = std::stoul(answer);
    if (n >= 1 && n <= files.size()) return zrui::FileDialogAnswer{IDOK, utf16(files[n - 1].string())};
  }
  return zrui::FileDialogAnswer{IDOK, utf16(answer)};
}

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
      scm_is_false(scm_procedure_p(scm_variable_ref(variable))))
    return interactive() ? askPerson(r) : cancelled();
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
