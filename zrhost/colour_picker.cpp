#include "colour_picker.h"

#include <algorithm>
#include <string>

#include "colour_swatches.h"
#include "zrui/msgbox.h"

namespace zrhost {
namespace {

struct PickerState {
  int initial = 0;
  int chosen = -1;
};

DialogTemplate makeTemplate() {
  using namespace zrui::rc;
  DialogTemplate t;
  t.caption = u"Colour";
  // Rows of 8 units and columns of 4 are whole character cells: a swatch is
  // two cells wide and one high on the terminal.
  t.cx = 144;
  t.cy = 176;
  t.items = {
      CONTROL(u"", kColourPickerSwatches, kColourSwatchesClass, WS_TABSTOP, 8, 8, 128, 136),
      LTEXT(u"", kColourPickerLabel, 8, 144, 128, 8),
      DEFPUSHBUTTON(u"OK", IDOK, 20, 160, 48, 12),
      PUSHBUTTON(u"Cancel", IDCANCEL, 76, 160, 48, 12),
  };
  return t;
}

int current(HWND dlg) { return static_cast<int>(SendDlgItemMessageW(dlg, kColourPickerSwatches, kSwatchGetSel, 0, 0)); }

void showLabel(HWND dlg) { SetDlgItemTextW(dlg, kColourPickerLabel, colourLabel(current(dlg)).c_str()); }

void choose(HWND dlg, PickerState* s) {
  s->chosen = current(dlg);
  EndDialog(dlg, IDOK);
}

INT_PTR CALLBACK pickerProc(HWND dlg, UINT msg, WPARAM w, LPARAM l) {
  auto* s = reinterpret_cast<PickerState*>(GetWindowLongPtrW(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      s = reinterpret_cast<PickerState*>(l);
      SetWindowLongPtrW(dlg, DWLP_USER, l);
      SendDlgItemMessageW(dlg, kColourPickerSwatches, kSwatchSetSel, static_cast<WPARAM>(s->initial), 0);
      showLabel(dlg);
      return TRUE;  // the swatches, the first Tab stop, take the focus
    case WM_COMMAND: {
      const int id = LOWORD(static_cast<DWORD_PTR>(w));
      const int code = HIWORD(static_cast<DWORD_PTR>(w));
      if (id == kColourPickerSwatches && code == kSwatchSelChange) showLabel(dlg);
      else if (id == kColourPickerSwatches && code == kSwatchDoubleClick) choose(dlg, s);
      else if (id == IDOK) choose(dlg, s);
      else if (id == IDCANCEL) EndDialog(dlg, IDCANCEL);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

const DialogTemplate& colourPickerTemplate() {
  static const DialogTemplate t = makeTemplate();
  return t;
}

std::u16string colourLabel(int index) {
  std::string text = "Index " + std::to_string(index);
  if (index == 0) {
    text += " (by block)";
  } else if (index == kSwatchCount - 1) {
    text += " (by layer)";
  } else {
    const COLORREF c = swatchColour(index);
    text += " (" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
            std::to_string(GetBValue(c)) + ")";
  }
  return std::u16string(text.begin(), text.end());
}

std::optional<int> runColourPicker(int initial) {
  registerColourSwatches();
  PickerState s;
  s.initial = std::clamp(initial, 0, kSwatchCount - 1);
  const INT_PTR r = DialogBoxIndirectParamW(nullptr, &colourPickerTemplate(), GetActiveWindow(), pickerProc,
                                            reinterpret_cast<LPARAM>(&s));
  if (r != IDOK || s.chosen < 0) return std::nullopt;
  return s.chosen;
}

}  // namespace zrhost
