// MessageBoxW and the file dialog: real modal dialogs when the policy says
// something will answer them, otherwise answered by responders.
#include <mutex>
#include <utility>

#include "dialog/real_dialogs.h"
#include "zrui/msgbox.h"

namespace zrui {
namespace {

struct Responders {
  std::mutex m;
  MessageBoxResponder box;
  FileDialogResponder file;
  RealDialogPolicy real;
  std::vector<MessageBoxInfo> shownBoxes;
  std::vector<FileDialogRequest> shownFiles;
  std::u16string appName = u"zrhost";
  bool portuguese = false;  // the buttons' language
};

Responders& state() {
  static auto* r = new Responders;
  return *r;
}

}  // namespace

std::vector<int> MessageBoxInfo::answers() const {
  switch (buttons()) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

int MessageBoxInfo::defaultAnswer() const {
  std::vector<int> a = answers();
  size_t i = (type & MB_DEFMASK) >> 8;
  return i < a.size() ? a[i] : a.front();
}

void SetMessageBoxResponder(MessageBoxResponder r) {
  std::lock_guard lock(state().m);
  state().box = std::move(r);
}

std::vector<MessageBoxInfo> TakeShownMessageBoxes() {
  std::lock_guard lock(state().m);
  return std::exchange(state().shownBoxes, {});
}

void SetRealDialogPolicy(RealDialogPolicy policy) {
  std::lock_guard lock(state().m);
  state().real = std::move(policy);
}

namespace detail {
bool RealDialogWanted() {
  RealDialogPolicy policy;
  {
    std::lock_guard lock(state().m);
    policy = state().real;
  }
  // Asked without the lock: the policy may look at anything, boxes included.
  return policy && policy();
}
}  // namespace detail

void SetFileDialogResponder(FileDialogResponder r) {
  std::lock_guard lock(state().m);
  state().file = std::move(r);
}

std::vector<FileDialogRequest> TakeShownFileDialogs() {
  std::lock_guard lock(state().m);
  return std::exchange(state().shownFiles, {});
}

void SetAppName(const std::u16string& name) {
  std::lock_guard lock(state().m);
  state().appName = name;
}

void SetMessageBoxLocale(const std::string& locale) {
  // "pt", "pt_BR", "pt_PT.UTF-8", "pt_BR@euro"...
  const bool portuguese = locale.rfind("pt", 0) == 0 && (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' ||
                                                         locale[2] == '@');
  std::lock_guard lock(state().m);
  state().portuguese = portuguese;
}

std::string MessagesLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* v : {lcAll, lcMessages, lang})
    if (v && *v) return v;
  return "";
}

std::u16string MessageBoxButtonCaption(int id) {
  struct Caption {
    int id;
    const char16_t* english;
    const char16_t* portuguese;
  };
  static constexpr Caption kCaptions[] = {
      {IDOK, u"OK", u"OK"},
      {IDCANCEL, u"Cancel", u"Cancelar"},
      {IDABORT, u"&Abort", u"&Anular"},
      {IDRETRY, u"&Retry", u"&Repetir"},
      {IDIGNORE, u"&Ignore", u"&Ignorar"},
      {IDYES, u"&Yes", u"&Sim"},
      {IDNO, u"&No", u"&N\u00E3o"},
  };
  bool portuguese = false;
  {
    std::lock_guard lock(state().m);
    portuguese = state().portuguese;
  }
  for (const Caption& c : kCaptions)
    if (c.id == id) return portuguese ? c.portuguese : c.english;
  return u"?";
}

std::u16string AppName() {
  std::lock_guard lock(state().m);
  return state().appName;
}

FileDialogAnswer ShowFileDialog(const FileDialogRequest& req) {
  FileDialogResponder r;
  {
    std::lock_guard lock(state().m);
    state().shownFiles.push_back(req);
    r = state().file;
  }
  if (detail::RealDialogWanted()) return detail::RunFileDialog(req);
  return r ? r(req) : FileDialogAnswer{};
}

ScriptedMessageBoxes::ScriptedMessageBoxes() {
  SetMessageBoxResponder([this](const MessageBoxInfo& info) {
    shown_.push_back(info);
    return next_ < answers_.size() ? answers_[next_++] : info.defaultAnswer();
  });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() { SetMessageBoxResponder(nullptr); }

void ScriptedMessageBoxes::answer(int id) { answers_.push_back(id); }

}  // namespace zrui

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  zrui::MessageBoxInfo info;
  info.owner = owner;
  info.text = text ? text : u"";
  info.caption = caption ? caption : u"Error";
  info.type = type;
  zrui::MessageBoxResponder r;
  {
    std::lock_guard lock(zrui::state().m);
    zrui::state().shownBoxes.push_back(info);
    r = zrui::state().box;
  }
  // The dialog and the responder run without the lock: they may show
  // further boxes.
  if (zrui::detail::RealDialogWanted()) return zrui::detail::RunMessageBoxDialog(info);
  return r ? r(info) : info.defaultAnswer();
}
