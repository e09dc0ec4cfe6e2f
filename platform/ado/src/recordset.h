// The Recordset object and its Fields.
#pragma once

#include "result_set.h"
#include "zrado/ado.h"

namespace zrado {

// A new, closed Recordset object (one reference, the caller's).
_Recordset* NewRecordset();
// A recordset holding what a statement returned (closed when it returned no
// rows), as Connection::Execute gives it.
_Recordset* NewRecordset(ResultSet result);

}  // namespace zrado
