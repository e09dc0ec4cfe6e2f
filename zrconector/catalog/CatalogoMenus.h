#pragma once
// The catalogue tree's port (zr::MenuCatalogue) served by the process's
// catalogue database (CIBancoDados::Instance()).

#include "controls/MenuCatalogue.h"

namespace zr {

MenuCatalogue& CatalogoMenus();

}  // namespace zr
