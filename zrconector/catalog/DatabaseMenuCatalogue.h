#pragma once
// The catalogue tree's port (zr::MenuCatalogue) served by the process's
// catalogue database (CIBancoDados::Instance()).

#include "catalog/MenuCatalogue.h"

namespace zr {

MenuCatalogue& DatabaseMenuCatalogue();

}  // namespace zr
