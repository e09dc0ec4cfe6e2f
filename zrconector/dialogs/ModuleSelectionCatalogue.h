#pragma once
// The selection dialog's port (zr::SelectionCatalogue) served by the module.

#include <memory>

#include "catalog/SelectionCatalogue.h"

namespace zr {

// The module's sources: the active drawing, the process's catalogue
// database, the active document's host functions and the texts component.
// Throws what creating the texts component throws.
std::unique_ptr<SelectionCatalogue> NewModuleSelectionCatalogue();

}  // namespace zr
