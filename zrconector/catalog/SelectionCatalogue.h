#pragma once
// What the selection dialog reads: the drawing's connector instances, the
// catalogue (pins, component tag, the tree's menus), the host (standard in
// use, the suite's next automatic name) and the interface texts. The module
// serves it from the drawing, the catalogue database and the host
// (dialogs/ModuleSelectionCatalogue.h); tests give a fake.
//
// Threads: the creation tab's worker reads the menus (MenuCatalogue) while
// the user-interface thread waits in its modal loop; everything else is read
// on the user-interface thread.

#include <memory>
#include <vector>

#include "catalog/MenuCatalogue.h"

namespace zr {

// The pin check's records (drawing/CEPino.h), named without including the
// drawing's part, which stands above the catalogue: only the module's source
// of this port and its users, which include both, fill and read them.
class CEConectorPinos;
using ConectoresPinos = std::vector<std::unique_ptr<CEConectorPinos>>;

class SelectionCatalogue : public MenuCatalogue {
 public:
  // The pin check of the current drawing (CIPinos::VerificarPinos).
  virtual ConectoresPinos VerificarPinos() = 0;
  // PINO_ID of a pin key; empty when none.
  virtual CString IdPino(const CString& pino) = 0;
  // ZR_KEY_TAG of (component, standard); empty when no row.
  virtual CString KeyTag(const CString& componente, const CString& norma) = 0;
  // The host variable "*NORMA_UTILIZADA*", empty when it holds no text.
  virtual CString Norma() = 0;
  // The suite's "buscaProximaRelAuto" for a reference prefix: its string
  // answer, or empty when it failed or answered something else.
  virtual CString ProximoNome(const CString& prefixo) = 0;
  // An interface text by code (module key "ZRCONECTOR").
  virtual CString Texto(int code) = 0;
};

}  // namespace zr
