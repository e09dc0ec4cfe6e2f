#pragma once
// What the catalogue tree reads from the catalogue: the two menu loaders and
// the pin and menu reads of its filter and preselection. The module's
// catalogue database serves it (catalog/DatabaseMenuCatalogue.cpp); tests give a fake.
// Calls come from the user-interface thread or from the one worker thread
// that fills the creation tab, never from both at once.

#include <memory>

#include "catalog/CESimbolo.h"
#include "zrui/afx/coll.h"

namespace zr {

class MenuCatalogue {
 public:
  virtual ~MenuCatalogue() = default;
  // CIBancoDados::GetSimbolosNivel: the components of a menu level, their
  // representations filed under "-1" and registered with `todos`; null when
  // there is no connection or no row.
  virtual std::unique_ptr<CELstSimbolos> SimbolosNivel(CESimbolo& todos, const CString& nivel) = 0;
  // CIBancoDados::GetItensNivel: the records of a menu level; null when there
  // is no connection or no row.
  virtual std::unique_ptr<CELstItens> ItensNivel(CELstSimbolos& simbolos, CESimbolo& todos,
                                                 const CString& nivel) = 0;
  // PINO_KEY of every pin of a connector (never null).
  virtual std::unique_ptr<CStringList> PinosConector(const CString& conector) = 0;
  // PINO_PINO of a pin key; empty when none.
  virtual CString NomePino(const CString& pino) = 0;
  // MENU_NIVEL of a menu key; empty when none.
  virtual CString NivelMenu(const CString& menu) = 0;
};

}  // namespace zr
