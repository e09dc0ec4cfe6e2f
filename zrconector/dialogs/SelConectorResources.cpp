#include "dialogs/SelConectorResources.h"

#include <string>
#include <vector>

#include "dialogs/Resource.h"
#include "zrui/afx.h"

using namespace zrui::rc;

namespace {

constexpr COLORREF kMask = RGB(255, 0, 255);

// Our own 16 x 16 art, one string per row: '.' is the mask.
using Art = std::vector<std::u16string>;

const Art kPasta = {
    u"................", u"................", u"..YYYYY.........", u".YyyyyyY........",
    u".YYYYYYYYYYYYYY.", u".YyyyyyyyyyyyyY.", u".YyyyyyyyyyyyyY.", u".YyyyyyyyyyyyyY.",
    u".YyyyyyyyyyyyyY.", u".YyyyyyyyyyyyyY.", u".YyyyyyyyyyyyyY.", u".YyyyyyyyyyyyyY.",
    u".YYYYYYYYYYYYYY.", u"................", u"................", u"................"};
const Art kPastaAberta = {
    u"................", u"................", u"..YYYYY.........", u".YyyyyyY........",
    u".YyyyyyYYYYYYY..", u".Yyyyyyyyyyyyy..", u".Yyy.YYYYYYYYYYY", u".Yy.Yyyyyyyyyyy.",
    u".Yy.Yyyyyyyyyyy.", u".Y.Yyyyyyyyyyy..", u".Y.Yyyyyyyyyyy..", u".YYyyyyyyyyyy...",
    u".YYYYYYYYYYYY...", u"................", u"................", u"................"};
const Art kPeca = {
    u"................", u"................", u"................", u"...GGGGGGGGGG...",
    u"...GggggggggG...", u"...GggggggggG...", u"...GggggggggG...", u"...GggggggggG...",
    u"...GggggggggG...", u"...GggggggggG...", u"...GggggggggG...", u"...GGGGGGGGGG...",
    u"................", u"................", u"................", u"................"};
const Art kConector = {
    u"................", u"....BBBBBBBB....", u"...BbbbbbbbbB...", u"..BbbWbbbbWbbB..",
    u"..BbWWWbbWWWbB..", u"..BbbWbbbbWbbB..", u"..BbbbbbbbbbbB..", u"..BbbWbbbbWbbB..",
    u"..BbWWWbbWWWbB..", u"..BbbWbbbbWbbB..", u"..BbbbbbbbbbbB..", u"...BbbbbbbbbB...",
    u"....BBBBBBBB....", u".....B....B.....", u".....B....B.....", u"................"};
const Art kCarregando = {
    u"................", u"................", u"................", u"................",
    u"................", u"................", u"................", u"..KK...KK...KK..",
    u"..KK...KK...KK..", u"................", u"................", u"................",
    u"................", u"................", u"................", u"................"};
const Art kPino = {
    u"................", u"................", u"................", u"................",
    u"......RRRR......", u".....RrrrrR.....", u"....RrrrrrrR....", u"....RrrrrrrR....",
    u"....RrrrrrrR....", u"....RrrrrrrR....", u".....RrrrrR.....", u"......RRRR......",
    u"................", u"................", u"................", u"................"};

const std::vector<std::pair<char16_t, COLORREF>> kPalette = {
    {u'.', kMask},           {u'Y', RGB(160, 120, 0)}, {u'y', RGB(250, 210, 90)}, {u'G', RGB(80, 80, 80)},
    {u'g', RGB(200, 200, 200)}, {u'B', RGB(0, 50, 140)}, {u'b', RGB(70, 130, 220)},  {u'W', RGB(255, 255, 255)},
    {u'K', RGB(60, 60, 60)},  {u'R', RGB(140, 0, 0)},  {u'r', RGB(230, 60, 60)}};

// A strip of images side by side, as the bitmap resource holds them; one
// glyph per image for the text profile.
void RegisterStrip(UINT id, const std::vector<const Art*>& images, const std::u16string& glyphs) {
  std::vector<COLORREF> pixels;
  for (size_t y = 0; y < 16; ++y)
    for (const Art* art : images) {
      std::vector<COLORREF> row = PixelsFromArt({(*art)[y]}, kPalette);
      pixels.insert(pixels.end(), row.begin(), row.end());
    }
  RegisterBitmapResource(id, static_cast<int>(16 * images.size()), 16, std::move(pixels), glyphs, 16);
}

constexpr DWORD kArvore = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

// Captions are placeholders: the dialogs set their texts from the texts service.
DialogTemplate SelConector() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME | DS_MODALFRAME;
  t.cx = 220;
  t.cy = 202;
  t.items = {CONTROL(u"", IDC_SEL_TAB, WC_TABCONTROLW, WS_TABSTOP, 0, 0, 220, 202)};
  return t;
}

DialogTemplate TabSelecao() {
  DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  t.cx = 216;
  t.cy = 185;
  t.items = {
      CONTROL(u"", IDC_SEL_ARVORE, WC_TREEVIEWW, kArvore, 7, 7, 202, 143),
      PUSHBUTTON(u"OK", IDC_SEL_OK, 108, 164, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"Cancel", IDC_SEL_CANCELAR, 159, 164, 50, 14),
  };
  return t;
}

DialogTemplate TabCriar() {
  DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  t.cx = 216;
  t.cy = 185;
  t.items = {
      LTEXT(u"Name:", IDC_SEL_LBL_NOME, 7, 7, 48, 14),
      COMBOBOX(IDC_SEL_NOME, 60, 7, 149, 30,
               CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP),
      LTEXT(u"Pin:", IDC_SEL_LBL_PINO, 7, 25, 43, 12),
      COMBOBOX(IDC_SEL_PINO, 60, 24, 81, 30, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP | WS_DISABLED),
      LTEXT(u"Catalogue:", IDC_SEL_LBL_ARVORE, 7, 45, 66, 9),
      CONTROL(u"", IDC_SEL_ARVORE, WC_TREEVIEWW, kArvore | TVS_SINGLEEXPAND, 7, 57, 202, 102),
      PUSHBUTTON(u"OK", IDC_SEL_OK, 108, 164, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"Cancel", IDC_SEL_CANCELAR, 159, 164, 50, 14),
  };
  return t;
}

}  // namespace

void RegisterSelConectorResources() {
  RegisterDialogResource(IDD_SEL_CONECTOR, SelConector());
  RegisterDialogResource(IDD_TAB_SELECAO, TabSelecao());
  RegisterDialogResource(IDD_TAB_CRIAR, TabCriar());
  // 0 folder, 1 open folder, 2 part, 3 connector, 4 loading, 5 pin.
  RegisterStrip(IDB_ARVORE_CATALOGO, {&kPasta, &kPastaAberta, &kPeca, &kConector, &kCarregando, &kPino},
                u"\u25AD\u25AF\u25AB\u25D8\u25E6\u25AA");
  // 0 connector, 1 pin.
  RegisterStrip(IDB_ARVORE_SELECAO, {&kConector, &kPino}, u"\u25D8\u25AA");
}
