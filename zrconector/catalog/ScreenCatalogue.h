// What the connectors screen reads besides the drawing: interface texts, the
// component data of a connector code and the catalogue's pin rows. A port, so
// that tests can give the screen a catalogue in memory.
#pragma once

#include <memory>

#include "catalog/PinCatalogue.h"
#include "zrui/afx/cstring.h"

namespace zr {

class ScreenCatalogue {
 public:
  virtual ~ScreenCatalogue() = default;
  // Interface text by code (module key "ZRCONECTOR").
  virtual CString Texto(int code) = 0;
  // ZR_KEY_TAG of (component, standard); empty when none.
  virtual CString KeyTag(const CString& componente, const CString& norma) = 0;
  // ZR_DWG of (component, standard); empty when none.
  virtual CString DwgComponente(const CString& componente, const CString& norma) = 0;
  // MENU_DESCR of a menu key; empty when none.
  virtual CString DescricaoMenu(const CString& menu) = 0;
  // Pin rows and mating parts for the pin check.
  virtual PinCatalogue& Pinos() = 0;
};

// Over the process's catalogue database and the texts component. The texts
// component is created on first use; its failures reach the caller.
std::unique_ptr<ScreenCatalogue> NewDatabaseScreenCatalogue();

}  // namespace zr
