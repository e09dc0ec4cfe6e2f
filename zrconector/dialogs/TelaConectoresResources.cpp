#include "dialogs/TelaConectoresResources.h"

#include <zrui/afx.h>

#include "dialogs/Resource.h"

using namespace zrui::rc;

namespace zr {

namespace {

DialogTemplate Tela() {
  DialogTemplate t;
  // Fixed size; the title bar's close button sends the window close command.
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.caption = u"";  // text 1, set on opening
  t.cx = 364;
  t.cy = 233;
  const DWORD lista = LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;
  t.items = {
      LTEXT(u"", IDC_LBL_CONECTORES, 7, 7, 62, 11),
      CONTROL(u"", IDC_LST_CONECTORES, WC_LISTVIEWW, lista, 7, 18, 62, 185),
      LTEXT(u"", IDC_LBL_PINOS, 72, 7, 62, 11),
      CONTROL(u"", IDC_LST_PINOS, WC_LISTVIEWW, lista, 72, 18, 62, 185),
      GROUPBOX(u"", IDC_GRP_PROPRIEDADES, 141, 7, 216, 133),
      CONTROL(u"", IDC_LST_PROPRIEDADES, WC_LISTVIEWW, lista, 146, 18, 206, 87),
      CONTROL(u"", IDC_IMG_ESTADO, WC_STATICW, SS_BITMAP, 146, 110, 16, 13),
      LTEXT(u"", IDC_LBL_ESTADO, 161, 110, 133, 25),
      PUSHBUTTON(u"", IDC_BT_APLICAR, 302, 121, 50, 14, WS_DISABLED),
      GROUPBOX(u"", IDC_GRP_RESUMO, 141, 148, 216, 55),
      CONTROL(u"", IDC_LST_RESUMO, WC_LISTVIEWW, LVS_REPORT | LVS_NOCOLUMNHEADER | WS_BORDER, 146, 159, 206, 40),
      PUSHBUTTON(u"", IDC_BT_SEM_ACAO, 253, 212, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"", IDCANCEL, 307, 212, 50, 14),
  };
  return t;
}

// Four 16 x 16 lights, green, yellow, red and grey, on the magenta mask.
std::vector<COLORREF> Luzes() {
  const std::u16string luz[16] = {
      u"................", u".....######.....", u"...##########...", u"..############..",
      u".##############.", u".##############.", u"################", u"################",
      u"################", u"################", u".##############.", u".##############.",
      u"..############..", u"...##########...", u".....######.....", u"................",
  };
  // Dark enough to keep a contrast of 4.5 : 1 on the white of the lists.
  const COLORREF cores[4] = {RGB(0, 130, 0), RGB(150, 110, 0), RGB(200, 0, 0), RGB(110, 110, 110)};
  const COLORREF mascara = RGB(255, 0, 255);
  std::vector<COLORREF> pixels;
  pixels.reserve(64 * 16);
  for (int y = 0; y < 16; ++y)
    for (int i = 0; i < 4; ++i)
      for (int x = 0; x < 16; ++x)
        pixels.push_back(luz[y][static_cast<size_t>(x)] == u'#' ? cores[i] : mascara);
  return pixels;
}

}  // namespace

void RegisterTelaConectoresResources() {
  RegisterDialogResource(IDD_TELA_CONECTORES, Tela());
  // In text each light has its own shape as well as its colour, so that the
  // states read without colour too: a full disc (complete), a question
  // mark (unknown), an exclamation mark (error), an empty circle (missing).
  RegisterBitmapResource(IDB_LUZES_ESTADO, 64, 16, Luzes(), u"\u25CF?!\u25CB", 16);
}

}  // namespace zr
