#include "catalog/ConnectionString.h"

CString MakeConnectionString(bool accessDatabase, const CString& dataFolder, const CString& databaseName,
                             const CString& user, const CString& server) {
  if (accessDatabase)
    return u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dataFolder + databaseName + u";Persist Security Info=False";
  return CString(u"Provider=SQLOLEDB.1;Persist Security Info=True") + u";User ID=" + user + u";Initial Catalog=" +
         databaseName + u";Data Source=" + server;
}
