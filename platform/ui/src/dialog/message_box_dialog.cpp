// The message box as a real modal dialog: its template is built from the
// text and the answers, so a front end or queued actions drive it like any
// dialog (the buttons carry the answers' ids).
#include "dialog/real_dialogs.h"

#include <algorithm>

#include "zrui/cellwidth.h"
#include "zrui/commctrl.h"
#include "zrui/dialog.h"
#include "zrui/metrics.h"

namespace zrui::detail {
namespace {

std::u16string LabelOf(int id) { return MessageBoxButtonCaption(id); }

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> out(1);
  for (char16_t c : text) {
    if (c == u'\n') out.emplace_back();
    else if (c != u'\r') out.back() += c;
  }
  return out;
}

// Breaks each line longer than maxCells cells at its last space that lets
// the start fit, a word longer than a line where the cells run out.
std::vector<std::u16string> Wrapped(const std::vector<std::u16string>& lines, int maxCells) {
  std::vector<std::u16string> out;
  for (std::u16string rest : lines) {
    while (TextCells(rest) > maxCells) {
      const size_t fits = std::max<size_t>(FitCells(rest, maxCells), 1);
      size_t cut = rest.rfind(u' ', fits);
      if (cut == std::u16string::npos || cut == 0) cut = fits;
      out.push_back(rest.substr(0, cut));
      rest.erase(0, cut);
      if (!rest.empty() && rest[0] == u' ') rest.erase(0, 1);
    }
    out.push_back(rest);
  }
  return out;
}

// Escape and the title-bar close: IDCANCEL when offered, IDOK in an OK-only
// box, nothing in a box that must be answered (Yes/No, Abort/Retry/Ignore).
int EscapeAnswer(const MessageBoxInfo& info) {
  std::vector<int> a = info.answers();
  if (std::find(a.begin(), a.end(), IDCANCEL) != a.end()) return IDCANCEL;
  if (a.size() == 1) return IDOK;
  return 0;
}

INT_PTR CALLBACK BoxProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(h, DWLP_USER, l);
      const auto* info = reinterpret_cast<const MessageBoxInfo*>(l);
      // A text taller than the screen scrolls in a list of its lines.
      if (HWND list = GetDlgItem(h, IDC_MESSAGE_TEXT); GetClassNameString(list) == WC_LISTVIEWW) {
        RECT rc{};
        GetClientRect(list, &rc);
        LVCOLUMNW col;
        col.mask = LVCF_WIDTH | LVCF_TEXT;
        col.cx = rc.right;
        std::u16string none;
        col.pszText = none.data();
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
        std::vector<std::u16string> lines = Lines(GetWindowTextString(list));
        for (size_t i = 0; i < lines.size(); ++i) {
          LVITEMW item;
          item.mask = LVIF_TEXT;
          item.iItem = static_cast<int>(i);
          item.pszText = lines[i].data();
          SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
      }
      int def = info->defaultAnswer();
      SendMessageW(h, DM_SETDEFID, static_cast<WPARAM>(def), 0);
      // The dialog manager focuses the first Tab stop after WM_INITDIALOG;
      // the default answer takes the focus once the loop runs.
      PostMessageW(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(h, def)), TRUE);
      return TRUE;
    }
    case WM_COMMAND: {
      const auto* info = reinterpret_cast<const MessageBoxInfo*>(GetWindowLongPtrW(h, DWLP_USER));
      int id = LOWORD(static_cast<DWORD_PTR>(w));
      std::vector<int> a = info->answers();
      // IDCANCEL also comes from Escape and the close box, whatever the buttons.
      if (id == IDCANCEL && std::find(a.begin(), a.end(), IDCANCEL) == a.end()) id = EscapeAnswer(*info);
      if (id && std::find(a.begin(), a.end(), id) != a.end()) EndDialog(h, id);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

DialogTemplate MessageBoxTemplate(const MessageBoxInfo& info) {
  constexpr int kMargin = 7, kButtonWidth = 50, kButtonHeight = 14, kGap = 4;
  const Metrics& m = GetMetrics();
  // The text wraps at about two thirds of the screen's width (less the
  // margins and the frame), and scrolls when it is taller than the screen
  // leaves room for beside the caption, the margins and the buttons.
  const int screenCells = GetSystemMetrics(SM_CXSCREEN) / m.cellWidth;
  const int screenRows = GetSystemMetrics(SM_CYSCREEN) / m.cellHeight;
  const int maxCells = std::max(20, screenCells * 2 / 3 - 2 * kMargin / m.dluPerCellX - 2);
  const int maxRows = std::max(3, screenRows - 8);
  std::vector<std::u16string> lines = Wrapped(Lines(info.text), maxCells);
  const bool scrolls = static_cast<int>(lines.size()) > maxRows;
  int longest = 0;
  for (const auto& line : lines) longest = std::max(longest, TextCells(line));
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? u"\n" : u"") + lines[i];
  std::vector<int> answers = info.answers();
  int buttons = static_cast<int>(answers.size());
  int buttonsWidth = buttons * kButtonWidth + (buttons - 1) * kGap;
  // A scrolling list has a border and a scroll mark: a cell more each side.
  int textWidth = (longest + (scrolls ? 2 : 0)) * m.dluPerCellX;
  int width = std::max({textWidth, buttonsWidth, TextCells(info.caption) * m.dluPerCellX + 16}) + 2 * kMargin;
  int textHeight = (scrolls ? maxRows : static_cast<int>(lines.size())) * m.dluPerCellY;

  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.caption = info.caption;
  t.cx = width;
  t.cy = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  if (scrolls) {
    t.items.push_back(rc::CONTROL(text, IDC_MESSAGE_TEXT, WC_LISTVIEWW,
                                  LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP, kMargin,
                                  kMargin, width - 2 * kMargin, textHeight));
  } else {
    t.items.push_back(rc::LTEXT(text, IDC_MESSAGE_TEXT, kMargin, kMargin, width - 2 * kMargin, textHeight));
  }
  int x = (width - buttonsWidth) / 2;
  int y = kMargin + textHeight + kMargin;
  int def = info.defaultAnswer();
  for (int id : answers) {
    t.items.push_back(id == def ? rc::DEFPUSHBUTTON(LabelOf(id), id, x, y, kButtonWidth, kButtonHeight)
                                : rc::PUSHBUTTON(LabelOf(id), id, x, y, kButtonWidth, kButtonHeight));
    x += kButtonWidth + kGap;
  }
  return t;
}

int RunMessageBoxDialog(const MessageBoxInfo& info) {
  DialogTemplate t = MessageBoxTemplate(info);
  HWND owner = info.owner && IsWindow(info.owner) ? GetAncestor(info.owner, GA_ROOT) : GetActiveWindow();
  INT_PTR r = DialogBoxIndirectParamW(nullptr, &t, owner, BoxProc, reinterpret_cast<LPARAM>(&info));
  // A loop that could not run (or was abandoned) gives the box's default.
  std::vector<int> a = info.answers();
  return std::find(a.begin(), a.end(), static_cast<int>(r)) != a.end() ? static_cast<int>(r) : info.defaultAnswer();
}

}  // namespace zrui::detail
