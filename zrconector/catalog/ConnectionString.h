#pragma once
// The OLE DB connection string of the catalogue.

#include "zrui/afx/cstring.h"

// The file catalogue ("Microsoft.Jet.OLEDB.4.0"): the data folder and the
// database name are joined as they are, with no separator put between them.
// The server catalogue ("SQLOLEDB.1"): user, database name and server; the
// password is never part of the string (it is given to Open apart).
CString MakeConnectionString(bool accessDatabase, const CString& dataFolder, const CString& databaseName,
                             const CString& user, const CString& server);
