// Message boxes and the file-open dialog. When something can answer them (a
// front end, queued actions: the real-dialog policy says so) they are real
// modal dialogs, driven like any other. Otherwise a responder answers them;
// the default one gives the default answer. Tests install their own (see
// zrui/testing.h for modal dialogs).
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
  bool readOnly = false;       // "Open as read-only" was checked
};
using FileDialogResponder = std::function<FileDialogAnswer(const FileDialogRequest& request)>;
void SetFileDialogResponder(FileDialogResponder r);
// Shows a file dialog: records the request and asks the responder (cancel
// without one).
FileDialogAnswer ShowFileDialog(const FileDialogRequest& request);
std::vector<FileDialogRequest> TakeShownFileDialogs();

// Decides, each time a message box or file dialog opens, whether it is shown
// as a real modal dialog (true: a front end or queued actions will answer
// it) or answered by the responder (false). Boxes are recorded for
// TakeShownMessageBoxes either way. nullptr, the default: never real.
// The policy runs on the thread that opens the dialog.
using RealDialogPolicy = std::function<bool()>;
void SetRealDialogPolicy(RealDialogPolicy policy);

// Control ids of the real dialogs. A message box has its text in a static
// of id IDC_MESSAGE_TEXT and one push button per answer, with the answer's
// id (IDOK, IDCANCEL, IDYES, IDNO...); the default answer is the default
// button and has the focus. Escape and the title-bar close answer IDCANCEL
// when the box offers it, IDOK in a box with only OK, and do nothing else.
constexpr int IDC_MESSAGE_TEXT = 0xFFFF;
// The file dialog: the file name edit, the list of the folder's entries (a
// report list view: folders end in "/", ".." first), the file-type combo
// (one entry per filter pair), the folder shown, OK and Cancel. OK (or
// Enter, or a double click on an entry) with a folder's name opens that
// folder; with a file's name ends the dialog with its full path. An open
// dialog with OFN_FILEMUSTEXIST refuses names of missing files with a box;
// a save dialog with OFN_OVERWRITEPROMPT asks before naming an existing file.
// An open dialog without OFN_HIDEREADONLY shows the "Open as read-only" check
// box (IDC_FILE_READONLY, checked from OFN_READONLY), answered in readOnly.
constexpr int IDC_FILE_NAME = 1152;
constexpr int IDC_FILE_READONLY = 1040;
constexpr int IDC_FILE_LIST = 1120;
constexpr int IDC_FILE_TYPES = 1136;
constexpr int IDC_FILE_FOLDER = 1088;

// The language of the buttons of message boxes, from a locale name as the
// environment gives it ("pt_BR.UTF-8"): Portuguese for "pt" and its
// variants, English for anything else and by default (as Windows takes them
// from the system's language). Process-wide.
void SetMessageBoxLocale(const std::string& locale);
// The locale that chooses the language of messages: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty (as POSIX orders them);
// empty when none is. Pass std::getenv's answers.
std::string MessagesLocale(const char* lcAll, const char* lcMessages, const char* lang);
// The caption of a message box's button for an answer (IDOK, IDYES...) in
// the language chosen, '&' before the letter that chooses it.
std::u16string MessageBoxButtonCaption(int id);

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
