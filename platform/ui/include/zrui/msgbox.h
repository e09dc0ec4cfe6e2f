// Message boxes and the file-open dialog. Without a screen they are answered
// by a responder; the default one records what was shown and gives the
// default answer. Tests install their own (see zrui/testing.h for modal
// dialogs).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "zrui/winapi.h"

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_TOPMOST = 0x00040000;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
#define MessageBox MessageBoxW

namespace zrui {

struct MessageBoxInfo {
  HWND owner = nullptr;
  std::u16string text;
  std::u16string caption;
  UINT type = 0;
  UINT buttons() const { return type & MB_TYPEMASK; }
  UINT icon() const { return type & MB_ICONMASK; }
  // The answers the box offers (IDOK, IDYES...), in order, and the default.
  std::vector<int> answers() const;
  int defaultAnswer() const;
};

// Returns the chosen answer; one of info.answers() is expected.
using MessageBoxResponder = std::function<int(const MessageBoxInfo& info)>;
// Installs a responder for the whole process; nullptr restores the default.
void SetMessageBoxResponder(MessageBoxResponder r);
// Every box shown since the last call, oldest first (also with a responder).
std::vector<MessageBoxInfo> TakeShownMessageBoxes();

struct FileDialogRequest {
  bool open = true;
  std::u16string title;
  std::u16string defaultExtension;
  std::u16string fileName;
  std::u16string filter;       // "Drawings|*.dwg|" form, as given
  std::u16string initialDirectory;
  DWORD flags = 0;
};
struct FileDialogAnswer {
  int result = IDCANCEL;       // IDOK or IDCANCEL
  std::u16string path;         // full path of the chosen file
};
using FileDialogResponder = std::function<FileDialogAnswer(const FileDialogRequest& request)>;
void SetFileDialogResponder(FileDialogResponder r);
// Shows a file dialog: records the request and asks the responder (cancel
// without one).
FileDialogAnswer ShowFileDialog(const FileDialogRequest& request);
std::vector<FileDialogRequest> TakeShownFileDialogs();

// Caption of AfxMessageBox boxes (the program's name).
void SetAppName(const std::u16string& name);
std::u16string AppName();

// Records the boxes shown while it lives and answers them from a queue (the
// default answer once the queue is empty). Restores the default responder
// when destroyed.
class ScriptedMessageBoxes {
 public:
  ScriptedMessageBoxes();
  ~ScriptedMessageBoxes();
  ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
  ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;
  void answer(int id);  // queues one answer
  const std::vector<MessageBoxInfo>& shown() const { return shown_; }

 private:
  std::vector<MessageBoxInfo> shown_;
  std::vector<int> answers_;
  size_t next_ = 0;
};

}  // namespace zrui
