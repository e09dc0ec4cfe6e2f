// Single-line (and simple multi-line) edit controls: typing, selection,
// limit, clipboard and the EN_ notifications.
#include <algorithm>
#include <string_view>

#include "controls/builtin.h"
#include "zrui/cellwidth.h"

namespace zrui::detail {
namespace {

struct EditState {
  std::u16string text;
  int anchor = 0;  // selection is [min(anchor, caret), max(anchor, caret))
  int caret = 0;
  int limit = 0x7FFFFFFE;
  int scroll = 0;  // first visible character
  bool modified = false;
  HFONT font = nullptr;
  bool quiet = false;  // suppress notifications while the owner combo sets text
};

int SelMin(const EditState* s) { return std::min(s->anchor, s->caret); }
int SelMax(const EditState* s) { return std::max(s->anchor, s->caret); }

void Notify(HWND h, EditState* s, UINT code) {
  if (!s->quiet) NotifyCommand(h, code);
}

void StoreRecordText(HWND h, const std::u16string& t) { DefWindowProcW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str())); }

int TextTop(HWND h) {
  RECT rc;
  GetClientRect(h, &rc);
  return (rc.bottom - kCharHeight) / 2;
}

// The text as the field shows it: stars for a password.
std::u16string ShownText(HWND h, const EditState* s) {
  std::u16string shown = s->text;
  if (WindowStyle(h) & ES_PASSWORD) shown.assign(shown.size(), u'*');
  return shown;
}

// The cells that the text between two positions takes (a wide character
// two, a combining mark none).
int CellsBetween(HWND h, const EditState* s, int from, int to) {
  const std::u16string shown = ShownText(h, s);
  from = std::clamp(from, 0, static_cast<int>(shown.size()));
  to = std::clamp(to, from, static_cast<int>(shown.size()));
  return zrui::TextCells(std::u16string_view(shown).substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

// Moves the caret (when this field owns it) to the caret position.
void PlaceCaret(HWND h, const EditState* s) {
  if (GetFocus() == h) SetCaretPos(CellsBetween(h, s, s->scroll, s->caret) * kCharWidth, TextTop(h));
}

void KeepCaretVisible(HWND h, EditState* s) {
  RECT rc;
  GetClientRect(h, &rc);
  int visible = std::max(1, static_cast<int>(rc.right / kCharWidth) - 1);
  if (s->caret < s->scroll) s->scroll = s->caret;
  while (s->scroll < s->caret && CellsBetween(h, s, s->scroll, s->caret) > visible) ++s->scroll;
  PlaceCaret(h, s);
}

void Changed(HWND h, EditState* s) {
  s->modified = true;
  StoreRecordText(h, s->text);
  KeepCaretVisible(h, s);
  InvalidateRect(h, nullptr, TRUE);
  Notify(h, s, EN_UPDATE);
  Notify(h, s, EN_CHANGE);
}

// Replaces the selection by `in`, cut to the limit. Returns false when
// nothing could be inserted because the text is full.
bool ReplaceSelection(HWND h, EditState* s, std::u16string in) {
  int a = SelMin(s), b = SelMax(s);
  int room = s->limit - (static_cast<int>(s->text.size()) - (b - a));
  if (room < static_cast<int>(in.size())) {
    in.resize(static_cast<size_t>(std::max(room, 0)));
    Notify(h, s, EN_MAXTEXT);
    if (in.empty() && a == b) {
      MessageBeep(0);
      return false;
    }
  }
  s->text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), in);
  s->anchor = s->caret = a + static_cast<int>(in.size());
  Changed(h, s);
  return true;
}

bool ReadOnly(HWND h) { return (WindowStyle(h) & ES_READONLY) != 0; }

void OnChar(HWND h, EditState* s, char16_t ch) {
  DWORD style = WindowStyle(h);
  switch (ch) {
    case 0x01:  // Ctrl+A
      s->anchor = 0;
      s->caret = static_cast<int>(s->text.size());
      return;
    case 0x03: SendMessageW(h, WM_COPY, 0, 0); return;
    case 0x16: SendMessageW(h, WM_PASTE, 0, 0); return;
    case 0x18: SendMessageW(h, WM_CUT, 0, 0); return;
  }
  if (ReadOnly(h)) {
    MessageBeep(0);
    return;
  }
  if (ch == u'\b') {
    if (SelMin(s) == SelMax(s)) {
      if (s->caret == 0) return;
      s->anchor = s->caret - 1;
    }
    ReplaceSelection(h, s, u"");
    return;
  }
  if (ch == u'\r' || ch == u'\n') {
    if ((style & ES_MULTILINE) && (style & ES_WANTRETURN)) ReplaceSelection(h, s, u"\n");
    return;
  }
  if (ch < 0x20) return;
  if ((style & ES_NUMBER) && !(ch >= u'0' && ch <= u'9')) {
    MessageBeep(0);
    return;
  }
  if ((style & ES_UPPERCASE) && ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - 32);
  if ((style & ES_LOWERCASE) && ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch + 32);
  ReplaceSelection(h, s, std::u16string(1, ch));
}

void OnKeyDown(HWND h, EditState* s, UINT vk) {
  HWND parent = GetParent(h);
  if (IsComboEdit(h) && (vk == VK_UP || vk == VK_DOWN || vk == VK_F4 || vk == VK_PRIOR || vk == VK_NEXT ||
                         ((vk == VK_RETURN || vk == VK_ESCAPE) && SendMessageW(parent, CB_GETDROPPEDSTATE, 0, 0)))) {
    SendMessageW(parent, WM_KEYDOWN, vk, 0);
    return;
  }
  bool shift = GetKeyState(VK_SHIFT) < 0;
  int len = static_cast<int>(s->text.size());
  int to = s->caret;
  switch (vk) {
    case VK_LEFT: to = (!shift && SelMin(s) != SelMax(s)) ? SelMin(s) : std::max(0, s->caret - 1); break;
    case VK_RIGHT: to = (!shift && SelMin(s) != SelMax(s)) ? SelMax(s) : std::min(len, s->caret + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = len; break;
    case VK_DELETE:
      if (ReadOnly(h)) return;
      if (SelMin(s) == SelMax(s)) {
        if (s->caret >= len) return;
        s->anchor = s->caret + 1;
      }
      ReplaceSelection(h, s, u"");
      return;
    default: return;
  }
  s->caret = to;
  if (!shift) s->anchor = to;
  KeepCaretVisible(h, s);
  InvalidateRect(h, nullptr, TRUE);
}

void Paint(HWND h, EditState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  HGDIOBJ old = SelectObject(dc, ControlFont(s->font));
  bool enabled = IsWindowEnabled(h);
  CtlColor(h, dc, (enabled && !ReadOnly(h)) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  RECT rc;
  GetClientRect(h, &rc);
  int cells = std::max(0, static_cast<int>(rc.right / kCharWidth));
  std::u16string shown = ShownText(h, s).substr(std::min<size_t>(static_cast<size_t>(s->scroll), s->text.size()));
  for (char16_t& c : shown)
    if (c == u'\n' || c == u'\r') c = u' ';
  // Cut in cells: a wide character that does not fit whole stays out.
  shown.resize(zrui::FitCells(shown, cells));
  // The empty part of the field shows as a line, as text-mode input fields do.
  shown.append(static_cast<size_t>(std::max(0, cells - zrui::TextCells(shown))), u'_');
  int y = (rc.bottom - kCharHeight) / 2;
  TextOutW(dc, 0, y, shown.c_str(), static_cast<int>(shown.size()));
  // The selection shows in the highlight colours while the field has the
  // focus (or always with ES_NOHIDESEL).
  int a = std::max(SelMin(s) - s->scroll, 0), b = std::min(SelMax(s) - s->scroll, static_cast<int>(shown.size()));
  if (a < b && (GetFocus() == h || (WindowStyle(h) & ES_NOHIDESEL))) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const int x = zrui::TextCells(std::u16string_view(shown).substr(0, static_cast<size_t>(a))) * kCharWidth;
    TextOutW(dc, x, y, shown.c_str() + a, b - a);
  }
  PlaceCaret(h, s);
  SelectObject(dc, old);
  EndPaint(h, &ps);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<EditState>(h);
  if (!s) {
    if (msg != WM_NCCREATE) return DefWindowProcW(h, msg, w, l);
    auto st = std::make_shared<EditState>();
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) st->text = cs->lpszName;
    SetControlState(h, st);
    return DefWindowProcW(h, msg, w, l);
  }
  switch (msg) {
    case WM_SETFONT: s->font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      DWORD style = WindowStyle(h);
      if ((style & ES_MULTILINE) && (style & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
      if (IsComboEdit(h) && SendMessageW(GetParent(h), CB_GETDROPPEDSTATE, 0, 0)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SETTEXT: {
      s->text = l ? reinterpret_cast<LPCWSTR>(l) : u"";
      s->anchor = s->caret = s->scroll = 0;
      s->modified = false;
      StoreRecordText(h, s->text);
      InvalidateRect(h, nullptr, TRUE);
      Notify(h, s, EN_UPDATE);
      Notify(h, s, EN_CHANGE);
      return TRUE;
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(s->text.size());
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<LPWSTR>(l);
      int max = static_cast<int>(w);
      if (!buf || max <= 0) return 0;
      int n = std::min<int>(static_cast<int>(s->text.size()), max - 1);
      std::copy_n(s->text.data(), n, buf);
      buf[n] = 0;
      return n;
    }
    case WM_CHAR: OnChar(h, s, static_cast<char16_t>(w)); return 0;
    case WM_KEYDOWN: OnKeyDown(h, s, static_cast<UINT>(w)); return 0;
    case EM_GETSEL: {
      DWORD a = static_cast<DWORD>(SelMin(s)), b = static_cast<DWORD>(SelMax(s));
      if (w) *reinterpret_cast<DWORD*>(w) = a;
      if (l) *reinterpret_cast<DWORD*>(l) = b;
      return MAKELONG(static_cast<WORD>(a), static_cast<WORD>(b));
    }
    case EM_SETSEL: {
      int len = static_cast<int>(s->text.size());
      int a = static_cast<int>(static_cast<LONG_PTR>(w));
      int b = static_cast<int>(l);
      if (a == -1) {
        s->anchor = s->caret;
      } else {
        if (b < 0 || b > len) b = len;
        a = std::clamp(a, 0, len);
        s->anchor = a;
        s->caret = b;
      }
      KeepCaretVisible(h, s);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case EM_REPLACESEL:
      ReplaceSelection(h, s, l ? reinterpret_cast<LPCWSTR>(l) : u"");
      return 0;
    case EM_LIMITTEXT:
      s->limit = w == 0 ? 0x7FFFFFFE : static_cast<int>(w);
      return 0;
    case EM_GETLIMITTEXT: return s->limit;
    case EM_SETREADONLY: {
      DWORD style = WindowStyle(h);
      SetWindowLongPtrW(h, GWL_STYLE, w ? (style | ES_READONLY) : (style & ~ES_READONLY));
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case EM_GETMODIFY: return s->modified;
    case EM_SETMODIFY: s->modified = w != 0; return 0;
    case EM_SCROLLCARET: KeepCaretVisible(h, s); return TRUE;
    case EM_LINELENGTH: return static_cast<LRESULT>(s->text.size());
    case WM_COPY:
      if (SelMin(s) != SelMax(s))
        SetClipboardText(s->text.substr(static_cast<size_t>(SelMin(s)), static_cast<size_t>(SelMax(s) - SelMin(s))));
      return 0;
    case WM_CUT:
      SendMessageW(h, WM_COPY, 0, 0);
      if (!ReadOnly(h) && SelMin(s) != SelMax(s)) ReplaceSelection(h, s, u"");
      return 0;
    case WM_CLEAR:
      if (!ReadOnly(h) && SelMin(s) != SelMax(s)) ReplaceSelection(h, s, u"");
      return 0;
    case WM_PASTE:
      if (!ReadOnly(h)) ReplaceSelection(h, s, GetClipboardText());
      return 0;
    case WM_SETFOCUS:
      CreateCaret(h, nullptr, 1, kCharHeight);
      PlaceCaret(h, s);
      ShowCaret(h);
      InvalidateRect(h, nullptr, TRUE);
      Notify(h, s, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      DestroyCaret();
      InvalidateRect(h, nullptr, TRUE);
      Notify(h, s, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != h) SetFocus(h);
      const std::u16string shown = ShownText(h, s).substr(std::min<size_t>(static_cast<size_t>(s->scroll), s->text.size()));
      int pos = s->scroll + static_cast<int>(zrui::IndexAtCell(shown, (GET_X_LPARAM(l) + kCharWidth / 2) / kCharWidth));
      s->anchor = s->caret = std::clamp(pos, 0, static_cast<int>(s->text.size()));
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      s->anchor = 0;
      s->caret = static_cast<int>(s->text.size());
      return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(h, s); return 0;
    // Private: lets the owning combo box set text without notifications.
    case WM_USER + 0x7F0: s->quiet = w != 0; return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
