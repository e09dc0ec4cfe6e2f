// The connectors screen's template (50103) and state-light bitmap (50113) as
// resource data.
#pragma once

namespace zr {

// Registers the template and the bitmap with the toolkit; the module does it
// when it loads. Idempotent.
void RegisterTelaConectoresResources();

}  // namespace zr
