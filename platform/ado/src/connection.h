// The Connection object and how the other objects reach its ODBC connection.
#pragma once

#include "odbc_connection.h"
#include "zrado/ado.h"

namespace zrado {

// Implemented by Connection objects of this library only: the way a
// Recordset or a Catalog given a connection as VT_DISPATCH gets at it.
struct IZrOdbcSource : IUnknown {
  // The open connection, or null when closed. Owned by the Connection object.
  virtual OdbcConnection* Odbc() = 0;

 protected:
  ~IZrOdbcSource() = default;
};

// A new, closed Connection object (one reference, the caller's).
_Connection* NewConnection();

// The open ODBC connection behind a connection argument: a Connection of
// this library as VT_DISPATCH/VT_UNKNOWN, or a connection string, which is
// opened into owned. Throws AdoFailure(adErrInvalidConnection) otherwise.
OdbcConnection* ConnectionOf(const VARIANT& connection, _ConnectionPtr& owned);

}  // namespace zrado

ZR_DECLARE_IID(zrado::IZrOdbcSource, "78BE5621-3B1A-4F14-AFF5-934754DD57F8");
