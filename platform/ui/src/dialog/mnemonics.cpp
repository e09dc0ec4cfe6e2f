#include "dialog/mnemonics.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "core/window_store.h"
#include "zrui/dialog.h"

using namespace zrui::detail;

namespace {

char16_t Lower(char16_t c) { return static_cast<char16_t>(std::towlower(static_cast<wint_t>(c))); }

bool Usable(HWND c) { return (WindowStyle(c) & WS_VISIBLE) && IsWindowEnabled(c); }

// Every visible control in creation order, the controls of child dialogs
// (WS_EX_CONTROLPARENT) in place of the child dialog itself.
void CollectControls(HWND parent, std::vector<HWND>* out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!(WindowStyle(c) & WS_VISIBLE)) continue;
    if (GetWindowLongPtrW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectControls(c, out);
    else out->push_back(c);
  }
}

enum class Kind { kNone, kLabel, kPushButton, kCheckOrRadio };

Kind KindOf(HWND c) {
  const std::u16string cls = GetClassNameString(c);
  if (cls == WC_STATICW) return Kind::kLabel;
  if (cls != WC_BUTTONW) return Kind::kNone;
  const DWORD type = WindowStyle(c) & BS_TYPEMASK;
  if (type == BS_GROUPBOX) return Kind::kLabel;
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return Kind::kPushButton;
  return Kind::kCheckOrRadio;
}

}  // namespace

namespace zrui::detail {

char16_t CaptionMnemonic(const std::u16string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return Lower(caption[i + 1]);
    ++i;
  }
  return 0;
}

bool PressMnemonic(HWND dlg, char16_t ch) {
  std::vector<HWND> controls;
  CollectControls(dlg, &controls);
  const size_t n = controls.size();
  if (n == 0) return false;
  // After the focus (or the control that holds it, as a combo holds its field).
  size_t start = 0;
  for (HWND f = GetFocus(); f && f != dlg; f = GetParent(f)) {
    auto at = std::find(controls.begin(), controls.end(), f);
    if (at != controls.end()) {
      start = static_cast<size_t>(at - controls.begin()) + 1;
      break;
    }
  }
  const char16_t wanted = Lower(ch);
  for (size_t k = 0; k < n; ++k) {
    const size_t i = (start + k) % n;
    HWND c = controls[i];
    const Kind kind = KindOf(c);
    if (kind == Kind::kNone || !Usable(c) || CaptionMnemonic(GetWindowTextString(c)) != wanted) continue;
    switch (kind) {
      case Kind::kLabel:
        for (size_t j = i + 1; j < n; ++j) {
          if ((WindowStyle(controls[j]) & WS_TABSTOP) && Usable(controls[j])) {
            SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(controls[j]), TRUE);
            return true;
          }
        }
        return true;  // nothing to pass the focus to: taken, as the label had the letter
      case Kind::kPushButton: SendMessageW(c, BM_CLICK, 0, 0); return true;
      case Kind::kCheckOrRadio:
        SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
        SendMessageW(c, BM_CLICK, 0, 0);
        return true;
      case Kind::kNone: break;
    }
  }
  return false;
}

}  // namespace zrui::detail
