// The connection strings of the two providers, exactly as the catalogue
// settings make them.

#include <gtest/gtest.h>

#include "catalog/ConnectionString.h"

namespace {

struct Case {
  const char* what;
  bool file;
  const char16_t *folder, *name, *user, *server;
  const char16_t* expected;
};

const Case kCases[] = {
    {"file catalogue, folder with its separator", true, u"/data/cat/", u"catalogo.db", u"u", u"s",
     u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/cat/catalogo.db;Persist Security Info=False"},
    {"file catalogue, folder without a separator is joined as it is", true, u"/data/cat", u"catalogo.db", u"", u"",
     u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/catcatalogo.db;Persist Security Info=False"},
    {"file catalogue, Windows folder", true, u"C:\\ZR\\Dados\\", u"ZR.MDB", u"", u"",
     u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\ZR\\Dados\\ZR.MDB;Persist Security Info=False"},
    {"file catalogue, empty folder", true, u"", u"catalogo.db", u"", u"",
     u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=catalogo.db;Persist Security Info=False"},
    {"server catalogue", false, u"/ignored/", u"zrcatalogo", u"projetista", u"db.example,5433",
     u"Provider=SQLOLEDB.1;Persist Security Info=True;User ID=projetista;Initial Catalog=zrcatalogo;"
     u"Data Source=db.example,5433"},
    {"server catalogue, empty settings", false, u"", u"", u"", u"",
     u"Provider=SQLOLEDB.1;Persist Security Info=True;User ID=;Initial Catalog=;Data Source="},
};

TEST(ConnectionString, IsBuiltFromTheSettingsAsTheyAre) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    CString made = MakeConnectionString(c.file, c.folder, c.name, c.user, c.server);
    EXPECT_EQ(made.ToUtf8(), CString(c.expected).ToUtf8());
  }
}

}  // namespace
