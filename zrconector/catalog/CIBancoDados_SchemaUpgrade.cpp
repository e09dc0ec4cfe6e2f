// Examining the catalogue's tables and columns, and bringing an older
// catalogue up to the current schema.

#include <optional>

#include "catalog/CIBancoDados.h"
#include "settings/CIConfig.h"
#include "support/ComponentSupport.h"
#include "zrado/adox.h"

namespace {

ADOX::TablesPtr TablesOf(const _ConnectionPtr& connection) {
  ADOX::_CatalogPtr catalog = CreateComponent<ADOX::_Catalog>(ADOX::CLSID_Catalog);
  if (!catalog) RaiseComError(E_POINTER, u"The catalogue schema object (ADOX.Catalog) could not be created.");
  catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(connection.GetInterfacePtr())));
  return catalog->GetTables();
}

bool SameName(const _bstr_t& name, LPCTSTR wanted) {
  return CString(name.view()).CompareNoCase(wanted ? wanted : u"") == 0;
}

// The index of a table in the list, or -1.
LONG FindTable(const ADOX::TablesPtr& tables, LPCTSTR table) {
  const LONG count = tables->GetCount();
  for (LONG i = 0; i < count; ++i)
    if (SameName(tables->GetItem(i)->GetName(), table)) return i;
  return -1;
}

}  // namespace

bool CIBancoDados::TableExists(LPCTSTR table) {
  if (!m_connection) return false;
  return FindTable(TablesOf(m_connection), table) >= 0;
}

bool CIBancoDados::ColumnExists(LPCTSTR table, LPCTSTR column) {
  if (!m_connection) return false;
  ADOX::TablesPtr tables = TablesOf(m_connection);
  const LONG index = FindTable(tables, table);
  if (index < 0) return false;
  ADOX::ColumnsPtr columns = tables->GetItem(index)->GetColumns();
  const LONG count = columns->GetCount();
  for (LONG i = 0; i < count; ++i)
    if (SameName(columns->GetItem(i)->GetName(), column)) return true;
  return false;
}

void CIBancoDados::UpgradeSchema() {
  // Without a connection no step could run its statement.
  if (!m_connection) return;
  // The file catalogue takes char(n) where a server takes varchar(n); the
  // settings are read only when a step needs them.
  std::optional<bool> fileCatalogue;
  auto text = [&](const char16_t* forFile, const char16_t* forServer) -> const char16_t* {
    if (!fileCatalogue) fileCatalogue = CIConfig().IsAccessDatabase();
    return *fileCatalogue ? forFile : forServer;
  };
  // The steps' own statements never start another upgrade: a failing one
  // shows its box and ends the upgrade (E_POINTER).
  auto run = [&](const char16_t* statement) { ExecuteStatement(statement, false); };

  if (!ColumnExists(u"BDVINCL", u"VL_USAR_REP"))
    run(text(u"ALTER TABLE BDVINCL ADD  VL_USAR_REP char(1) ", u"ALTER TABLE BDVINCL ADD  VL_USAR_REP varchar(1) "));
  if (!TableExists(u"BDTIPOCOMP") && m_connection)
    run(u"CREATE TABLE BDTIPOCOMP ( COMP_KEY varchar(6), TIPO_KEY varchar(6) ) ");
  if (!TableExists(u"BDCABO")) run(u"create table BDCABO (CABO_KEY CHAR(6), CABO_BLINDADO CHAR(1))");
  if (!TableExists(u"BDCFORMA"))
    run(u"create table BDCFORMA (CABO_KEY CHAR(6), WIRE_KEY CHAR(6), WIRE_QTD CHAR(10), WIRE_DESCR CHAR(255))");
  if (!TableExists(u"BDCMENUS"))
    run(u"create table BDCMENUS (CMENU_NIVEL CHAR(6), CMENU_KEY CHAR(6), CMENU_DESCR CHAR(80))");
  if (!TableExists(u"BDEQUIP"))
    run(u"create table BDEQUIP (EQU_KEY CHAR(6), EQU_DESCR CHAR(30), EQU_PREFIX CHAR(10), EQU_POSFIX CHAR(10), "
        u"EQU_DIGITS CHAR(1), EQU_INC CHAR(5))");
  if (!ColumnExists(u"BDGP", u"GP_OCULTO"))
    run(text(u"ALTER TABLE BDGP ADD GP_OCULTO char(1) ", u"ALTER TABLE BDGP ADD GP_OCULTO varchar(1) "));
  if (!ColumnExists(u"BDWIRE", u"WIRE_SEG"))
    run(text(u"ALTER TABLE BDWIRE ADD WIRE_SEG char(6) ", u"ALTER TABLE BDWIRE ADD WIRE_SEG varchar(6) "));
}
