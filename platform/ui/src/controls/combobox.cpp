// Combo boxes: simple, drop-down and drop-down list, sorted, owner-drawn,
// with item data, the CB_ messages and the CBN_ notifications.
#include "controls/combobox.h"

#include "zrui/metrics.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>

namespace zrui::detail {
namespace {

int CompareNoCase(const std::u16string& a, const std::u16string& b) {
  UErrorCode err = U_ZERO_ERROR;
  return u_strCaseCompare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                          reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()),
                          U_FOLD_CASE_DEFAULT, &err);
}

bool Valid(const ComboState* s, WPARAM i) { return static_cast<size_t>(i) < s->items.size(); }

void SetEditQuietly(ComboState* s, const std::u16string& t) {
  if (!s->edit) return;
  SendMessageW(s->edit, WM_USER + 0x7F0, 1, 0);
  SendMessageW(s->edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
  SendMessageW(s->edit, EM_SETSEL, 0, -1);
  SendMessageW(s->edit, WM_USER + 0x7F0, 0, 0);
}

void Select(HWND h, ComboState* s, int index) {
  s->cur = (index >= 0 && index < static_cast<int>(s->items.size())) ? index : -1;
  if (s->cur >= 0) {
    if (s->cur < s->top) s->top = s->cur;
    if (s->cur >= s->top + VisibleItems(s)) s->top = s->cur - VisibleItems(s) + 1;
    SetEditQuietly(s, s->items[static_cast<size_t>(s->cur)].text);
  }
  InvalidateRect(h, nullptr, TRUE);
  if (s->list) InvalidateRect(s->list, nullptr, TRUE);
}

void DeleteNotify(HWND h, int index, ULONG_PTR data) {
  if (!data) return;
  DELETEITEMSTRUCT d;
  d.CtlType = ODT_COMBOBOX;
  d.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
  d.itemID = static_cast<UINT>(index);
  d.hwndItem = h;
  d.itemData = data;
  SendMessageW(GetParent(h), WM_DELETEITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
}

void Drop(HWND h, ComboState* s, bool open) {
  if (ComboType(h) == CBS_SIMPLE || s->dropped == open) return;
  if (open) {
    NotifyCommand(h, CBN_DROPDOWN);
    s->dropped = true;
    // The entry the field shows is the one highlighted in the list (found
    // as the field's text, without a notification: nothing was chosen).
    if (s->edit) {
      const std::u16string text = GetWindowTextString(s->edit);
      for (int i = 0; i < static_cast<int>(s->items.size()); ++i)
        if (CompareNoCase(s->items[static_cast<size_t>(i)].text, text) == 0) {
          if (i != s->cur) Select(h, s, i);
          break;
        }
    }
    if (s->cur >= 0 && (s->cur < s->top || s->cur >= s->top + VisibleItems(s))) s->top = s->cur;
    s->selBeforeDrop = s->cur;
    s->textBeforeDrop = s->edit ? GetWindowTextString(s->edit) : std::u16string();
    // The list is a popup of its own; it takes the mouse, so that a press
    // anywhere else closes it.
    s->list = CreateComboList(h, s);
    if (s->list) SetCapture(s->list);
  } else {
    s->dropped = false;
    // Forgotten first: the popup's last words (capture lost, destroyed) are
    // then not taken for a press outside.
    HWND list = s->list;
    s->list = nullptr;
    if (list) DestroyWindow(list);
    NotifyCommand(h, CBN_CLOSEUP);
  }
  InvalidateRect(h, nullptr, TRUE);
}

// Ends a drop-down: accepted choices report SELENDOK, others SELENDCANCEL.
void CloseList(HWND h, ComboState* s, bool accept) {
  if (!s->dropped) return;
  NotifyCommand(h, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  Drop(h, s, false);
}

// A choice in the list, by a press on an item or as a user would make it.
void ChooseFromList(HWND h, ComboState* s, int i) {
  bool changed = i != s->cur;
  Select(h, s, i);
  if (changed || ComboType(h) != CBS_SIMPLE) NotifyCommand(h, CBN_SELCHANGE);
  CloseList(h, s, true);
}

void MoveSelection(HWND h, ComboState* s, int to) {
  int n = static_cast<int>(s->items.size());
  if (n == 0) return;
  to = std::clamp(to, 0, n - 1);
  if (to == s->cur) return;
  Select(h, s, to);
  NotifyCommand(h, CBN_SELCHANGE);
}

void OnKeyDown(HWND h, ComboState* s, UINT vk) {
  bool alt = GetKeyState(VK_MENU) < 0;
  switch (vk) {
    case VK_F4: s->dropped ? CloseList(h, s, true) : Drop(h, s, true); return;
    case VK_DOWN:
    case VK_UP:
      if (alt) {
        s->dropped ? CloseList(h, s, true) : Drop(h, s, true);
        return;
      }
      MoveSelection(h, s, s->cur < 0 ? 0 : s->cur + (vk == VK_DOWN ? 1 : -1));
      return;
    case VK_PRIOR: MoveSelection(h, s, s->cur - VisibleItems(s)); return;
    case VK_NEXT: MoveSelection(h, s, s->cur + VisibleItems(s)); return;
    case VK_HOME:
      if (ComboType(h) == CBS_DROPDOWNLIST) MoveSelection(h, s, 0);
      return;
    case VK_END:
      if (ComboType(h) == CBS_DROPDOWNLIST) MoveSelection(h, s, static_cast<int>(s->items.size()) - 1);
      return;
    case VK_RETURN: CloseList(h, s, true); return;
    case VK_ESCAPE: {
      // Closes the list without choosing: what the arrows moved to while it
      // was open is undone, and the owner hears of it as of any change.
      const bool moved = s->dropped && s->cur != s->selBeforeDrop;
      CloseList(h, s, false);
      if (!moved) return;
      Select(h, s, s->selBeforeDrop);
      if (s->edit) {
        SetEditQuietly(s, s->textBeforeDrop);
        NotifyCommand(h, CBN_EDITUPDATE);
        NotifyCommand(h, CBN_EDITCHANGE);
      } else {
        NotifyCommand(h, CBN_SELCHANGE);
      }
      return;
    }
  }
}

void OnLButtonDown(HWND h, ComboState* s, POINT p) {
  DWORD type = ComboType(h);
  RECT lr = ListRect(h, s);
  if (type == CBS_SIMPLE && PageOnBar(s, lr, p)) {
    InvalidateRect(h, nullptr, TRUE);
    return;
  }
  if (type == CBS_SIMPLE && PtInRect(&lr, p)) {
    int i = s->top + (p.y - lr.top) / s->itemHeight;
    if (i < static_cast<int>(s->items.size())) ChooseFromList(h, s, i);
    return;
  }
  if (s->dropped) {
    CloseList(h, s, false);
    return;
  }
  HWND focus = GetFocus();
  if (focus != h && (!s->edit || focus != s->edit)) SetFocus(h);
  RECT rc;
  GetClientRect(h, &rc);
  bool onButton = p.x >= rc.right - kCharWidth && p.y < s->fieldHeight;
  if (type == CBS_DROPDOWNLIST || (type == CBS_DROPDOWN && onButton)) Drop(h, s, true);
}

void FocusGained(HWND h, ComboState* s) {
  if (s->focusInside) return;
  s->focusInside = true;
  NotifyCommand(h, CBN_SETFOCUS);
}

void FocusLost(HWND h, ComboState* s) {
  HWND f = GetFocus();
  if (f && (f == h || f == s->edit)) return;
  if (!s->focusInside) return;
  CloseList(h, s, false);
  s->focusInside = false;
  NotifyCommand(h, CBN_KILLFOCUS);
}

// An item's height: on the character grid every item is one row, whatever
// its owner measured (an image beside it shows as a glyph).
int ItemHeight(int measured) {
  const zrui::Metrics& m = zrui::GetMetrics();
  return m.snapToCells ? m.cellHeight : measured;
}

void OnCreate(HWND h, ComboState* s, const CREATESTRUCTW* cs) {
  DWORD type = ComboType(h);
  if (ComboOwnerDraw(h)) {
    MEASUREITEMSTRUCT mi;
    mi.CtlType = ODT_COMBOBOX;
    mi.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    mi.itemID = 0;
    mi.itemHeight = 0;
    SendMessageW(GetParent(h), WM_MEASUREITEM, mi.CtlID, reinterpret_cast<LPARAM>(&mi));
    if (mi.itemHeight > 0) s->itemHeight = ItemHeight(static_cast<int>(mi.itemHeight));
  }
  // On the character grid the field is one row, as an edit is: a taller one
  // would paint over the row under it (the next row of a property grid
  // under an in-place editor).
  s->fieldHeight = zrui::GetMetrics().snapToCells ? zrui::GetMetrics().cellHeight
                                                  : std::max(s->itemHeight, kCharHeight) + 8;
  s->listHeight = std::max(cs->cy - s->fieldHeight, s->itemHeight);
  if (type != CBS_DROPDOWNLIST) {
    int w = cs->cx - (type == CBS_SIMPLE ? 0 : kCharWidth);
    s->edit = CreateWindowExW(0, WC_EDITW, cs->lpszName, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0,
                              std::max(w, 0), s->fieldHeight, h, reinterpret_cast<HMENU>(IDC_COMBO_EDIT),
                              nullptr, nullptr);
  }
  // A drop-down's window is its field; the template height is the list's.
  if (type != CBS_SIMPLE) SetWindowPos(h, nullptr, 0, 0, cs->cx, s->fieldHeight, SWP_NOMOVE | SWP_NOZORDER);
}

LRESULT TextOf(const ComboState* s, WPARAM i, LPWSTR buf, bool strings) {
  if (!Valid(s, i)) return CB_ERR;
  const ComboItem& it = s->items[i];
  if (!strings) {
    if (buf) std::memcpy(buf, &it.data, sizeof(ULONG_PTR));
    return sizeof(ULONG_PTR);
  }
  if (buf) {
    std::copy(it.text.begin(), it.text.end(), buf);
    buf[it.text.size()] = 0;
  }
  return static_cast<LRESULT>(it.text.size());
}

LRESULT Find(const ComboState* s, WPARAM start, LPCWSTR what, bool exact) {
  if (!what) return CB_ERR;
  std::u16string key = what;
  int n = static_cast<int>(s->items.size());
  int first = (static_cast<int>(start) < 0 || static_cast<int>(start) >= n) ? 0 : static_cast<int>(start) + 1;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    const std::u16string& t = s->items[static_cast<size_t>(i)].text;
    if (exact ? CompareNoCase(t, key) == 0 : (t.size() >= key.size() && CompareNoCase(t.substr(0, key.size()), key) == 0))
      return i;
  }
  return CB_ERR;
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<ComboState>(h);
  if (!s) {
    if (msg == WM_NCCREATE) SetControlState(h, std::make_shared<ComboState>());
    return DefWindowProcW(h, msg, w, l);
  }
  bool strings = ComboHasStrings(h);
  switch (msg) {
    case WM_CREATE: OnCreate(h, s, reinterpret_cast<CREATESTRUCTW*>(l)); return 0;
    case WM_DESTROY:
      if (HWND list = s->list) {
        s->list = nullptr;
        s->dropped = false;
        DestroyWindow(list);
      }
      // Owners free what they attached to the items (WM_DELETEITEM).
      for (size_t i = s->items.size(); i-- > 0;) DeleteNotify(h, static_cast<int>(i), s->items[i].data);
      s->items.clear();
      return 0;
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(w);
      if (s->edit) SendMessageW(s->edit, WM_SETFONT, w, l);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (s->dropped ? DLGC_WANTALLKEYS : 0);
    case CB_ADDSTRING: {
      ComboItem it;
      if (strings) it.text = l ? reinterpret_cast<LPCWSTR>(l) : u"";
      else it.data = static_cast<ULONG_PTR>(l);
      size_t pos = s->items.size();
      if ((WindowStyle(h) & CBS_SORT) && strings) {
        pos = 0;
        while (pos < s->items.size() && CompareNoCase(s->items[pos].text, it.text) <= 0) ++pos;
      }
      s->items.insert(s->items.begin() + static_cast<long>(pos), it);
      if (s->cur >= static_cast<int>(pos)) ++s->cur;
      InvalidateRect(h, nullptr, TRUE);
      return static_cast<LRESULT>(pos);
    }
    case CB_INSERTSTRING: {
      int idx = static_cast<int>(static_cast<LONG_PTR>(w));
      if (idx < 0) idx = static_cast<int>(s->items.size());
      if (idx > static_cast<int>(s->items.size())) return CB_ERR;
      ComboItem it;
      if (strings) it.text = l ? reinterpret_cast<LPCWSTR>(l) : u"";
      else it.data = static_cast<ULONG_PTR>(l);
      s->items.insert(s->items.begin() + idx, it);
      if (s->cur >= idx) ++s->cur;
      InvalidateRect(h, nullptr, TRUE);
      return idx;
    }
    case CB_DELETESTRING: {
      if (!Valid(s, w)) return CB_ERR;
      int idx = static_cast<int>(w);
      DeleteNotify(h, idx, s->items[w].data);
      s->items.erase(s->items.begin() + idx);
      if (s->cur == idx) s->cur = -1;
      else if (s->cur > idx) --s->cur;
      s->top = std::min(s->top, std::max(0, static_cast<int>(s->items.size()) - 1));
      InvalidateRect(h, nullptr, TRUE);
      return static_cast<LRESULT>(s->items.size());
    }
    case CB_RESETCONTENT:
      for (size_t i = s->items.size(); i-- > 0;) DeleteNotify(h, static_cast<int>(i), s->items[i].data);
      s->items.clear();
      s->cur = -1;
      s->top = 0;
      InvalidateRect(h, nullptr, TRUE);
      return CB_OKAY;
    case CB_GETCOUNT: return static_cast<LRESULT>(s->items.size());
    case CB_GETCURSEL: return s->cur;
    case CB_SETCURSEL: {
      int idx = static_cast<int>(static_cast<LONG_PTR>(w));
      Select(h, s, idx);
      return (idx >= 0 && idx == s->cur) ? idx : CB_ERR;
    }
    case CB_GETLBTEXT: return TextOf(s, w, reinterpret_cast<LPWSTR>(l), strings);
    case CB_GETLBTEXTLEN:
      return !Valid(s, w) ? CB_ERR : strings ? static_cast<LRESULT>(s->items[w].text.size()) : static_cast<LRESULT>(sizeof(ULONG_PTR));
    case CB_SETITEMDATA:
      if (!Valid(s, w)) return CB_ERR;
      s->items[w].data = static_cast<ULONG_PTR>(l);
      return CB_OKAY;
    case CB_GETITEMDATA: return Valid(s, w) ? static_cast<LRESULT>(s->items[w].data) : CB_ERR;
    case CB_FINDSTRING: return Find(s, w, reinterpret_cast<LPCWSTR>(l), false);
    case CB_FINDSTRINGEXACT: return Find(s, w, reinterpret_cast<LPCWSTR>(l), true);
    case CB_SELECTSTRING: {
      LRESULT i = Find(s, w, reinterpret_cast<LPCWSTR>(l), false);
      if (i != CB_ERR) Select(h, s, static_cast<int>(i));
      return i;
    }
    case CB_SHOWDROPDOWN: Drop(h, s, w != 0); return TRUE;
    case CB_GETDROPPEDSTATE: return s->dropped;
    case CB_LIMITTEXT:
      if (!s->edit) return FALSE;
      SendMessageW(s->edit, EM_LIMITTEXT, w, 0);
      return TRUE;
    case CB_SETEDITSEL:
      if (!s->edit) return CB_ERR;
      SendMessageW(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(l)))),
                   static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(l))));
      return TRUE;
    case CB_GETEDITSEL: return s->edit ? SendMessageW(s->edit, EM_GETSEL, w, l) : CB_ERR;
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(static_cast<LONG_PTR>(w)) == -1) s->fieldHeight = static_cast<int>(l);
      else s->itemHeight = ItemHeight(std::max(1, static_cast<int>(l)));
      return 0;
    case CB_GETITEMHEIGHT:
      return static_cast<int>(static_cast<LONG_PTR>(w)) == -1 ? s->fieldHeight : s->itemHeight;
    case CB_GETTOPINDEX: return s->top;
    case CB_GETDROPPEDCONTROLRECT: {
      // The combo with its list: the list's own window while it is dropped
      // (framed on the character grid, and above the field where the screen
      // has no room below), else where the list would drop.
      auto* r = reinterpret_cast<RECT*>(l);
      if (!r) return FALSE;
      GetWindowRect(h, r);
      if (s->list) {
        RECT list{};
        GetWindowRect(s->list, &list);
        UnionRect(r, r, &list);
      } else {
        r->bottom = r->top + s->fieldHeight + s->listHeight;
      }
      return TRUE;
    }
    case WM_SETTEXT:
      if (s->edit) {
        SetEditQuietly(s, l ? reinterpret_cast<LPCWSTR>(l) : u"");
        return TRUE;
      } else {
        LRESULT i = Find(s, static_cast<WPARAM>(-1), reinterpret_cast<LPCWSTR>(l), true);
        if (i == CB_ERR) return CB_ERR;
        Select(h, s, static_cast<int>(i));
        return TRUE;
      }
    case WM_GETTEXTLENGTH:
      if (s->edit) return SendMessageW(s->edit, WM_GETTEXTLENGTH, 0, 0);
      return s->cur >= 0 ? static_cast<LRESULT>(s->items[static_cast<size_t>(s->cur)].text.size()) : 0;
    case WM_GETTEXT: {
      if (s->edit) return SendMessageW(s->edit, WM_GETTEXT, w, l);
      auto* buf = reinterpret_cast<LPWSTR>(l);
      int max = static_cast<int>(w);
      if (!buf || max <= 0) return 0;
      std::u16string t = s->cur >= 0 ? s->items[static_cast<size_t>(s->cur)].text : u"";
      int n = std::min<int>(static_cast<int>(t.size()), max - 1);
      std::copy_n(t.data(), n, buf);
      buf[n] = 0;
      return n;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(l) == s->edit && s->edit) {
        switch (HIWORD(w)) {
          case EN_CHANGE:
            NotifyCommand(h, CBN_EDITUPDATE);
            NotifyCommand(h, CBN_EDITCHANGE);
            break;
          case EN_SETFOCUS: FocusGained(h, s); break;
          case EN_KILLFOCUS: FocusLost(h, s); break;
        }
      }
      return 0;
    case WM_SETFOCUS:
      if (s->edit) {
        SetFocus(s->edit);
        SendMessageW(s->edit, EM_SETSEL, 0, -1);
      } else {
        FocusGained(h, s);
        InvalidateRect(h, nullptr, TRUE);
      }
      return 0;
    case WM_KILLFOCUS: FocusLost(h, s); return 0;
    case WM_KEYDOWN: OnKeyDown(h, s, static_cast<UINT>(w)); return 0;
    case WM_CHAR:
      if (!s->edit && w >= 0x20) {
        std::u16string key(1, static_cast<char16_t>(w));
        LRESULT i = Find(s, static_cast<WPARAM>(s->cur), key.c_str(), false);
        if (i != CB_ERR) MoveSelection(h, s, static_cast<int>(i));
      }
      return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(h, s, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}); return 0;
    case WM_LBUTTONUP: return 0;
    case WM_MOUSEWHEEL:
      // The open list scrolls. A closed combo passes the wheel on (the list
      // or dialog around it scrolls): the wheel goes to the window under the
      // pointer here, and a value must not change because the pointer
      // happened to rest on its field.
      if (s->dropped || ComboType(h) == CBS_SIMPLE) {
        const int last = std::max(0, static_cast<int>(s->items.size()) - VisibleItems(s));
        s->top = std::clamp(s->top + WheelRows(w), 0, last);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
      }
      break;
    case WM_ENABLE:
      if (s->edit) EnableWindow(s->edit, static_cast<BOOL>(w));
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_PAINT: PaintCombo(h, s); return 0;
    case ZM_COMBOLIST:
      // Only the list that is open speaks for the combo.
      if (!s->list || reinterpret_cast<HWND>(l) != s->list) return 0;
      if (w == kComboListGone) {
        // Destroyed from outside (its owner went): nothing is chosen.
        s->list = nullptr;
        s->dropped = false;
      } else if (w == kComboListOutside) {
        CloseList(h, s, false);
      } else if (Valid(s, w)) {
        ChooseFromList(h, s, static_cast<int>(w));
      }
      return 0;
    case ZM_USERCHOOSE: {
      int i = static_cast<int>(w);
      if (!Valid(s, w)) return FALSE;
      if (ComboType(h) != CBS_SIMPLE) Drop(h, s, true);
      if (i < s->top || i >= s->top + VisibleItems(s)) s->top = i;
      ChooseFromList(h, s, i);
      return TRUE;
    }
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
