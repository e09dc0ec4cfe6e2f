// The ADOX Catalog object.
#pragma once

#include "zrado/adox.h"

namespace zrado {

// A new Catalog without connection (one reference, the caller's).
ADOX::_Catalog* NewCatalog();

}  // namespace zrado
