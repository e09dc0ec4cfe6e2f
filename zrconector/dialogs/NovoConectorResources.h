// The new-connector dialog's template (108) as a resource of the module.
#pragma once

namespace zr {

// Registers template IDD_NOVO_CONECTOR with the toolkit's dialog resources.
// Called when the module loads; calling it again replaces the entry with
// the same data.
void RegisterNovoConectorResources();

}  // namespace zr
