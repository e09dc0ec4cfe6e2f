// The message box as a real modal dialog: its template is built from the
// text and the answers, so a front end or queued actions drive it like any
// dialog (the buttons carry the answers' ids).
#include "dialog/real_dialogs.h"

#include <algorithm>

#include "zrui/dialog.h"

namespace zrui::detail {
namespace {

struct Label {
  int id;
  const char16_t* text;
};
constexpr Label kLabels[] = {{IDOK, u"OK"},         {IDCANCEL, u"Cancel"}, {IDABORT, u"&Abort"}, {IDRETRY, u"&Retry"},
                             {IDIGNORE, u"&Ignore"}, {IDYES, u"&Yes"},      {IDNO, u"&No"}};

std::u16string LabelOf(int id) {
  for (const Label& l : kLabels)
    if (l.id == id) return l.text;
  return u"?";
}

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> out(1);
  for (char16_t c : text) {
    if (c == u'\n') out.emplace_back();
    else if (c != u'\r') out.back() += c;
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
      int def = info->defaultAnswer();
      SendMessageW(h, DM_SETDEFID, static_cast<WPARAM>(def), 0);
      SetFocus(GetDlgItem(h, def));
      return FALSE;
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
  std::vector<std::u16string> lines = Lines(info.text);
  int longest = 0;
  for (const auto& line : lines) longest = std::max<int>(longest, static_cast<int>(line.size()));
  std::vector<int> answers = info.answers();
  int buttons = static_cast<int>(answers.size());
  int buttonsWidth = buttons * kButtonWidth + (buttons - 1) * kGap;
  int textWidth = longest * 4;
  int width = std::max({textWidth, buttonsWidth, static_cast<int>(info.caption.size()) * 4 + 16}) + 2 * kMargin;
  int textHeight = static_cast<int>(lines.size()) * 8;

  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.caption = info.caption;
  t.cx = width;
  t.cy = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  t.items.push_back(rc::LTEXT(info.text, IDC_MESSAGE_TEXT, kMargin, kMargin, width - 2 * kMargin, textHeight));
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
