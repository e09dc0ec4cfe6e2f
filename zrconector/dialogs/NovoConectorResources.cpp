// Template 108 as a resource script would give it. Captions are
// placeholders: the dialog sets every text from the texts service.
#include "dialogs/NovoConectorResources.h"

#include "dialogs/Resource.h"
#include "zrui/dialog.h"

namespace zr {

namespace {

DialogTemplate NovoConectorTemplate() {
  using namespace zrui::rc;
  DialogTemplate t;
  t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  t.x = 0;
  t.y = 0;
  t.cx = 182;
  t.cy = 78;
  t.items = {
      LTEXT(u"", IDC_NOVO_CONECTOR_ROTULO, 30, 16, 106, 8),
      COMBOBOX(IDC_NOVO_CONECTOR_NOME, 30, 24, 121, 30,
               CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP),
      // Disabled until the name check finds a free name.
      DEFPUSHBUTTON(u"", IDOK, 72, 57, 50, 14, WS_DISABLED),
      PUSHBUTTON(u"", IDCANCEL, 125, 57, 50, 14),
  };
  return t;
}

}  // namespace

void RegisterNovoConectorResources() { RegisterDialogResource(IDD_NOVO_CONECTOR, NovoConectorTemplate()); }

}  // namespace zr
