// The file-open (and save) dialog as a real modal dialog: a folder's
// entries in a list, a file name, the file types of the filter.
#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "dialog/real_dialogs.h"
#include "zrui/commctrl.h"

namespace fs = std::filesystem;

namespace zrui::detail {
namespace {

constexpr DWORD kFileMustExist = 0x00001000;   // OFN_FILEMUSTEXIST
constexpr DWORD kOverwritePrompt = 0x00000002;  // OFN_OVERWRITEPROMPT
constexpr DWORD kReadOnly = 0x00000001;         // OFN_READONLY
constexpr DWORD kHideReadOnly = 0x00000004;     // OFN_HIDEREADONLY

struct FileType {
  std::u16string description;
  std::vector<std::string> patterns;  // "*.dwg", ...
};

struct Entry {
  std::u16string name;  // as listed: folders end in "/"
  bool folder = false;
};

struct State {
  FileDialogRequest request;
  fs::path folder;
  std::vector<FileType> types;
  std::vector<Entry> entries;
  std::u16string result;
  bool readOnly = false;
};

// Only an open dialog offers to open read-only, and only when asked to.
bool OffersReadOnly(const FileDialogRequest& r) { return r.open && !(r.flags & kHideReadOnly); }

std::string Utf8(const std::u16string& s) { return fs::path(s).string(); }
std::u16string Utf16(const fs::path& p) { return p.u16string(); }

// "Drawings (*.dwg)|*.dwg;*.dxf|All files|*.*|" pairs.
std::vector<FileType> ParseFilter(const std::u16string& filter) {
  std::vector<std::u16string> parts;
  std::u16string cur;
  for (char16_t c : filter) {
    if (c == u'|') {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  std::vector<FileType> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    FileType t{parts[i], {}};
    std::string pats = Utf8(parts[i + 1]);
    size_t start = 0;
    while (start <= pats.size()) {
      size_t end = pats.find(';', start);
      std::string p = pats.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!p.empty()) t.patterns.push_back(p == "*.*" ? "*" : p);
      if (end == std::string::npos) break;
      start = end + 1;
    }
    out.push_back(t);
  }
  if (out.empty()) out.push_back(FileType{u"All files", {"*"}});
  return out;
}

bool MatchesType(const FileType& t, const std::string& name) {
  for (const std::string& p : t.patterns)
    if (fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
  return false;
}

std::u16string Title(const State& s) {
  if (!s.request.title.empty()) return s.request.title;
  return s.request.open ? u"Open" : u"Save As";
}

void Warn(HWND h, const State& s, const std::u16string& text) {
  MessageBoxW(h, text.c_str(), Title(s).c_str(), MB_OK | MB_ICONWARNING);
}

int CurrentType(HWND h) {
  LRESULT i = SendDlgItemMessageW(h, IDC_FILE_TYPES, CB_GETCURSEL, 0, 0);
  return i == CB_ERR ? 0 : static_cast<int>(i);
}

// Reads the folder; on failure says why and keeps the folder shown before.
bool ShowFolder(HWND h, State* s, const fs::path& folder) {
  std::error_code ec;
  std::vector<Entry> folders, files;
  const FileType& type = s->types[static_cast<size_t>(CurrentType(h))];
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kindError;
    bool isFolder = it->is_directory(kindError);
    std::string name = it->path().filename().string();
    if (isFolder) folders.push_back(Entry{Utf16(it->path().filename()) + u"/", true});
    else if (MatchesType(type, name)) files.push_back(Entry{Utf16(it->path().filename()), false});
  }
  if (ec) {
    Warn(h, *s, Utf16(folder) + u"\nThe folder cannot be read: " + fs::path(ec.message()).u16string());
    return false;
  }
  auto byName = [](const Entry& a, const Entry& b) { return a.name < b.name; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  s->folder = folder;
  s->entries.clear();
  if (folder.has_parent_path() && folder != folder.root_path()) s->entries.push_back(Entry{u"../", true});
  s->entries.insert(s->entries.end(), folders.begin(), folders.end());
  s->entries.insert(s->entries.end(), files.begin(), files.end());
  HWND list = GetDlgItem(h, IDC_FILE_LIST);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < s->entries.size(); ++i) {
    LVITEMW item;
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = s->entries[i].name.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  SetDlgItemTextW(h, IDC_FILE_FOLDER, Utf16(folder).c_str());
  return true;
}

// A name typed or chosen: a folder opens, a file ends the dialog (after the
// checks of the request's flags).
void Accept(HWND h, State* s, std::u16string name) {
  if (name.empty()) return;
  fs::path p(name);
  if (p.is_relative()) p = s->folder / p;
  p = p.lexically_normal();
  if (p.has_filename() == false) p = p.parent_path();
  std::error_code ec;
  if (fs::is_directory(p, ec)) {
    if (ShowFolder(h, s, p)) SetDlgItemTextW(h, IDC_FILE_NAME, u"");
    return;
  }
  if (!s->request.defaultExtension.empty() && !p.has_extension())
    p += u"." + s->request.defaultExtension;
  bool exists = fs::exists(p, ec);
  if (s->request.open && (s->request.flags & kFileMustExist) && !exists) {
    Warn(h, *s, Utf16(p) + u"\nFile not found.\nCheck the file name and try again.");
    return;
  }
  if (!s->request.open && exists && (s->request.flags & kOverwritePrompt)) {
    std::u16string q = Utf16(p) + u" already exists.\nDo you want to replace it?";
    if (MessageBoxW(h, q.c_str(), Title(*s).c_str(), MB_YESNO | MB_ICONWARNING) != IDYES) return;
  }
  s->result = Utf16(p);
  s->readOnly = OffersReadOnly(s->request) && IsDlgButtonChecked(h, IDC_FILE_READONLY) == BST_CHECKED;
  EndDialog(h, IDOK);
}

int SelectedEntry(HWND h) {
  return static_cast<int>(SendDlgItemMessageW(h, IDC_FILE_LIST, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

INT_PTR OnNotify(HWND h, State* s, const NMHDR* nm) {
  if (nm->idFrom != IDC_FILE_LIST) return FALSE;
  if (nm->code == LVN_ITEMCHANGED) {
    const auto* lv = reinterpret_cast<const NMLISTVIEW*>(nm);
    bool selected = (lv->uNewState & LVIS_SELECTED) && !(lv->uOldState & LVIS_SELECTED);
    if (selected && lv->iItem >= 0 && static_cast<size_t>(lv->iItem) < s->entries.size()) {
      const Entry& e = s->entries[static_cast<size_t>(lv->iItem)];
      if (!e.folder) SetDlgItemTextW(h, IDC_FILE_NAME, e.name.c_str());
    }
  } else if (nm->code == NM_DBLCLK) {
    int i = SelectedEntry(h);
    if (i >= 0 && static_cast<size_t>(i) < s->entries.size()) Accept(h, s, s->entries[static_cast<size_t>(i)].name);
  }
  return FALSE;
}

INT_PTR CALLBACK FileProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = reinterpret_cast<State*>(GetWindowLongPtrW(h, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      s = reinterpret_cast<State*>(l);
      SetWindowLongPtrW(h, DWLP_USER, l);
      HWND list = GetDlgItem(h, IDC_FILE_LIST);
      LVCOLUMNW col;
      col.mask = LVCF_WIDTH | LVCF_TEXT;
      col.cx = 370;
      std::u16string name = u"Name";
      col.pszText = name.data();
      SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
      for (const FileType& t : s->types)
        SendDlgItemMessageW(h, IDC_FILE_TYPES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.description.c_str()));
      SendDlgItemMessageW(h, IDC_FILE_TYPES, CB_SETCURSEL, 0, 0);
      fs::path start = s->folder;
      if (!ShowFolder(h, s, start)) ShowFolder(h, s, fs::path("/"));
      SetDlgItemTextW(h, IDC_FILE_NAME, Utf16(fs::path(s->request.fileName).filename()).c_str());
      if (OffersReadOnly(s->request)) CheckDlgButton(h, IDC_FILE_READONLY, (s->request.flags & kReadOnly) ? BST_CHECKED : BST_UNCHECKED);
      else ShowWindow(GetDlgItem(h, IDC_FILE_READONLY), SW_HIDE);
      // The name field takes the focus (its text selected) once the loop
      // runs: the dialog manager focuses the first Tab stop, the list.
      PostMessageW(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(h, IDC_FILE_NAME)), TRUE);
      return TRUE;
    }
    case WM_COMMAND: {
      int id = LOWORD(static_cast<DWORD_PTR>(w));
      int code = HIWORD(static_cast<DWORD_PTR>(w));
      if (id == IDOK) {
        std::u16string text = GetWindowTextString(GetDlgItem(h, IDC_FILE_NAME));
        int sel = SelectedEntry(h);
        if (text.empty() && sel >= 0 && static_cast<size_t>(sel) < s->entries.size())
          text = s->entries[static_cast<size_t>(sel)].name;
        Accept(h, s, text);
      } else if (id == IDCANCEL) {
        EndDialog(h, IDCANCEL);
      } else if (id == IDC_FILE_TYPES && code == CBN_SELCHANGE) {
        ShowFolder(h, s, s->folder);
      }
      return TRUE;
    }
    case WM_NOTIFY: return OnNotify(h, s, reinterpret_cast<const NMHDR*>(l));
  }
  return FALSE;
}

DialogTemplate FileTemplate(const std::u16string& title) {
  using namespace rc;
  DialogTemplate t;
  t.caption = title;
  t.cx = 241;
  t.cy = 150;
  t.items = {
      LTEXT(u"", IDC_FILE_FOLDER, 7, 7, 227, 8),
      CONTROL(u"", IDC_FILE_LIST, WC_LISTVIEWW,
              LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | WS_BORDER | WS_TABSTOP, 7, 18,
              227, 78),
      // The labels are as wide as their texts in character cells (4 units
      // a character), so that none is cut on the terminal.
      LTEXT(u"File &name:", -1, 7, 102, 56, 8),
      EDITTEXT(IDC_FILE_NAME, 63, 100, 117, 12, ES_AUTOHSCROLL),
      LTEXT(u"Files of &type:", -1, 7, 118, 56, 8),
      COMBOBOX(IDC_FILE_TYPES, 63, 116, 117, 60, CBS_DROPDOWNLIST),
      DEFPUSHBUTTON(u"OK", IDOK, 184, 100, 50, 14),
      PUSHBUTTON(u"Cancel", IDCANCEL, 184, 116, 50, 14),
      CHECKBOX(u"Open as &read-only", IDC_FILE_READONLY, 63, 134, 117, 8),
  };
  return t;
}

}  // namespace

FileDialogAnswer RunFileDialog(const FileDialogRequest& request) {
  State s;
  s.request = request;
  s.types = ParseFilter(request.filter);
  std::error_code ec;
  fs::path named(request.fileName);
  if (!request.initialDirectory.empty()) s.folder = fs::path(request.initialDirectory);
  else if (named.has_parent_path()) s.folder = named.parent_path();
  else s.folder = fs::current_path(ec);
  if (s.folder.is_relative()) s.folder = fs::absolute(s.folder, ec);
  DialogTemplate t = FileTemplate(Title(s));
  INT_PTR r = DialogBoxIndirectParamW(nullptr, &t, GetActiveWindow(), FileProc, reinterpret_cast<LPARAM>(&s));
  if (r == IDOK && !s.result.empty()) return FileDialogAnswer{IDOK, s.result, s.readOnly};
  return FileDialogAnswer{IDCANCEL, u""};
}

}  // namespace zrui::detail
