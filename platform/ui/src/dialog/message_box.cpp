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
