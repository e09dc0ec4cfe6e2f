// Alt+underlined letter in a dialog, pressed as a person presses it: labels
// pass the focus to the control after them, buttons are clicked, check boxes
// take the focus and toggle; the letter shows underlined.
#include "ui_test_support.h"
#include "zrui/commctrl.h"
#include "zrui/metrics.h"
#include "zrui/picture.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

using namespace zrui::test;
using namespace zrui::rc;

namespace {

constexpr int kName = 11, kKind = 12, kSpare = 13, kApply = 14, kNotes = 15, kInGroup = 16, kOff = 17, kNext = 18;
constexpr zrui::Keys kAlt{false, false, true};

struct Seen {
  std::vector<int> clicks;  // ids of buttons clicked
};

INT_PTR CALLBACK ClickLogDialog(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrW(h, DWLP_USER, l);
  if (msg == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    reinterpret_cast<Seen*>(GetWindowLongPtrW(h, DWLP_USER))->clicks.push_back(LOWORD(w));
    if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) EndDialog(h, LOWORD(w));
  }
  return FALSE;
}

DialogTemplate Form() {
  DialogTemplate t;
  t.caption = u"Form";
  t.cx = 200;
  t.cy = 150;
  t.items = {
      LTEXT(u"&Name:", -1, 5, 5, 40, 8),          EDITTEXT(kName, 50, 5, 100, 12, WS_TABSTOP),
      LTEXT(u"&Kind:", -1, 5, 20, 40, 8),         COMBOBOX(kKind, 50, 20, 100, 60, CBS_DROPDOWNLIST | WS_TABSTOP),
      CHECKBOX(u"&Spare", kSpare, 5, 35, 60, 10, WS_TABSTOP),
      LTEXT(u"N&otes && more:", -1, 5, 50, 60, 8), EDITTEXT(kNotes, 70, 50, 100, 12, WS_TABSTOP),
      LTEXT(u"&Next:", -1, 5, 65, 40, 8),         EDITTEXT(kNext, 50, 65, 100, 12, WS_TABSTOP),
      GROUPBOX(u"&Group", -1, 5, 80, 150, 30),    EDITTEXT(kInGroup, 10, 92, 100, 12, WS_TABSTOP),
      PUSHBUTTON(u"&Apply", kApply, 5, 120, 40, 14, WS_TABSTOP),
      PUSHBUTTON(u"&Disabled", kOff, 50, 120, 40, 14, WS_TABSTOP | WS_DISABLED),
      DEFPUSHBUTTON(u"OK", IDOK, 100, 120, 40, 14, WS_TABSTOP),
  };
  return t;
}

TEST(Mnemonics, AltLetterFocusesClicksAndCyclesThroughControlsWithTheSameLetter) {
  const DialogTemplate t = Form();
  Seen seen;
  std::vector<int> focus;
  int beeps = 0;
  std::u16string typed;
  zrui::OnNextModal([&](HWND dlg) {
    auto focusId = [&] { return GetDlgCtrlID(GetFocus()); };
    zrui::PressKey('K', kAlt);  // a label: the combo after it
    focus.push_back(focusId());
    zrui::PressKey('O', zrui::Keys{true, false, true});  // the letter's case does not matter; "&&" is no mnemonic
    focus.push_back(focusId());
    zrui::PressKey('N', kAlt);  // "&Name" and "&Next" share N: after the focus first, then around
    focus.push_back(focusId());
    zrui::PressKey('N', kAlt);
    focus.push_back(focusId());
    zrui::PressKey('G', kAlt);  // a group box: the first Tab stop inside
    focus.push_back(focusId());
    zrui::PressKey('S', kAlt);  // a check box takes the focus and toggles
    focus.push_back(focusId());
    EXPECT_EQ(SendMessageW(GetDlgItem(dlg, kSpare), BM_GETCHECK, 0, 0), BST_CHECKED);
    zrui::PressKey('A', kAlt);  // a push button is clicked, the focus stays
    focus.push_back(focusId());
    beeps = MessageBeepCount();
    zrui::PressKey('D', kAlt);  // disabled: nothing but a beep
    zrui::PressKey('Z', kAlt);  // no control has it
    beeps = MessageBeepCount() - beeps;
    focus.push_back(focusId());
    // Alt+letter never types into the focused edit.
    zrui::PressKey('N', kAlt);
    zrui::PressKey('Z', kAlt);
    typed = GetWindowTextString(GetFocus());
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &t, nullptr, ClickLogDialog, reinterpret_cast<LPARAM>(&seen)), IDOK);
  EXPECT_EQ(focus, (std::vector<int>{kKind, kNotes, kNext, kName, kInGroup, kSpare, kSpare, kSpare}));
  EXPECT_EQ(seen.clicks, (std::vector<int>{kSpare, kApply, IDOK}));
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(typed, u"");
}

TEST(Mnemonics, TheMarkedLetterIsUnderlinedAndOnlyIt) {
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Text};
  const DialogTemplate t = Form();
  Seen seen;
  HWND dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, ClickLogDialog, reinterpret_cast<LPARAM>(&seen));
  ASSERT_NE(dlg, nullptr);
  ShowWindow(dlg, SW_SHOW);
  const zrui::TextGrid grid = zrui::RenderWindow(dlg);
  // Every cell of a caption with its underline flag: '_' under the letter.
  auto underlines = [&](const std::u16string& caption) {
    for (int row = 0; row < grid.height(); ++row) {
      const std::u16string line = grid.line(row);
      const size_t at = line.find(caption);
      if (at == std::u16string::npos) continue;
      std::string marks;
      for (size_t i = 0; i < caption.size(); ++i) marks += grid.at(static_cast<int>(at + i), row).underline ? '_' : ' ';
      return marks;
    }
    return std::string("not shown");
  };
  EXPECT_EQ(underlines(u"Name:"), "_    ") << grid.utf8();
  EXPECT_EQ(underlines(u"Notes & more:"), " _           ") << grid.utf8();
  EXPECT_EQ(underlines(u"Spare"), "_    ") << grid.utf8();
  EXPECT_EQ(underlines(u"Group"), "_    ") << grid.utf8();
  EXPECT_EQ(underlines(u"Apply"), "_    ") << grid.utf8();
  EXPECT_EQ(underlines(u"OK"), "  ") << grid.utf8();
  DestroyWindow(dlg);
  zrui::Pump();
}

// The pixel profile draws a line under the letter, in the caption's colour.
TEST(Mnemonics, InPicturesALineRunsUnderTheMarkedLetterOnly) {
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Pixel};
  const DialogTemplate t = Form();
  Seen seen;
  HWND dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, ClickLogDialog, reinterpret_cast<LPARAM>(&seen));
  ASSERT_NE(dlg, nullptr);
  ShowWindow(dlg, SW_SHOW);
  zrui::Picture picture;
  ASSERT_TRUE(zrui::RenderWindowPicture(dlg, &picture, zrui::PictureOptions{1}));
  RECT window;
  GetWindowRect(dlg, &window);
  // For each character cell of a label: does a row of it run dark from its
  // left edge to its right, as only an underline does?
  auto underlined = [&](HWND label, int chars) {
    RECT r;
    GetWindowRect(label, &r);
    const int x0 = r.left - window.left, y0 = r.top - window.top;
    std::string marks;
    for (int c = 0; c < chars; ++c) {
      bool line = false;
      for (int y = y0; y < y0 + kCharHeight && !line; ++y) {
        bool dark = true;
        for (int x = x0 + c * kCharWidth; x < x0 + (c + 1) * kCharWidth && dark; ++x) {
          const COLORREF p = picture.At(x, y);
          dark = p != CLR_INVALID && GetRValue(p) < 0x60 && GetGValue(p) < 0x60 && GetBValue(p) < 0x60;
        }
        line = dark;
      }
      marks += line ? '_' : ' ';
    }
    return marks;
  };
  std::vector<HWND> labels;
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (GetClassNameString(c) == WC_STATICW) labels.push_back(c);
  ASSERT_GE(labels.size(), 3u);
  EXPECT_EQ(underlined(labels[0], 5), "_    ") << "Name:";
  EXPECT_EQ(underlined(labels[2], 6), " _    ") << "Notes & more:";
  DestroyWindow(dlg);
  zrui::Pump();
}

}  // namespace
