// ADOX over ODBC: the catalogue of a connection's tables and their columns.
//
//   ADOX::_CatalogPtr catalog;
//   catalog.CreateInstance(ADOX::CLSID_Catalog);
//   catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(connection)));
//   ADOX::TablesPtr tables = catalog->GetTables();
//   for (LONG i = 0; i < tables->GetCount(); ++i) tables->GetItem(i)->GetName();
//
// The table list is read when GetTables is called, a table's columns when
// its GetColumns is called: later changes need a new call. Tables are the
// user's tables and views as the driver lists them (PostgreSQL folds
// unquoted names to lower case); columns come in their table's order.
#pragma once

#include "zrado/ado.h"

namespace ADOX {

// The class of catalogue objects, for CoCreateInstance.
inline constexpr CLSID CLSID_Catalog = ZrGuid("00000602-0000-0010-8000-00AA006D2EA4");

struct _Catalog;
struct Tables;
struct _Table;
struct Columns;
struct _Column;

}  // namespace ADOX

// The interfaces' identifiers (as ADOX's) and their smart pointers.
ZR_DECLARE_IID(ADOX::_Catalog, "00000603-0000-0010-8000-00AA006D2EA4");
ZR_DECLARE_IID(ADOX::Tables, "00000611-0000-0010-8000-00AA006D2EA4");
ZR_DECLARE_IID(ADOX::_Table, "00000610-0000-0010-8000-00AA006D2EA4");
ZR_DECLARE_IID(ADOX::Columns, "0000061D-0000-0010-8000-00AA006D2EA4");
ZR_DECLARE_IID(ADOX::_Column, "0000061C-0000-0010-8000-00AA006D2EA4");

namespace ADOX {

ZR_SMARTPTR_TYPEDEF(_Catalog);
ZR_SMARTPTR_TYPEDEF(Tables);
ZR_SMARTPTR_TYPEDEF(_Table);
ZR_SMARTPTR_TYPEDEF(Columns);
ZR_SMARTPTR_TYPEDEF(_Column);

struct _Catalog : IDispatch {
  // An open Connection (VT_DISPATCH) or a connection string, which opens a
  // connection of the catalogue's own.
  // The catalogue holds a reference to the connection. Throws _com_error
  // (adErrInvalidConnection for anything else, the connect error for a string).
  void PutActiveConnection(const _variant_t& connection);
  // The same for an open Connection object.
  void PutRefActiveConnection(IDispatch* connection);
  // The connection in use (VT_DISPATCH), or VT_EMPTY before one is set.
  _variant_t GetActiveConnection();
  // The tables and views as the driver lists them now; throws
  // adErrInvalidConnection without an active connection.
  TablesPtr GetTables();

  // The raw forms of the four above: an HRESULT, and the thread's error information.
  virtual HRESULT put_ActiveConnection(VARIANT connection) = 0;
  // The catalogue holds a reference to the connection.
  virtual HRESULT putref_ActiveConnection(IDispatch* connection) = 0;
  // A copy the caller clears.
  virtual HRESULT get_ActiveConnection(VARIANT* connection) = 0;
  // *tables receives a new collection the caller owns.
  virtual HRESULT get_Tables(Tables** tables) = 0;

 protected:
  ~_Catalog() = default;
};

// The tables and views read by GetTables. Wrappers throw _com_error.
struct Tables : IDispatch {
  // The number of tables and views.
  LONG GetCount();
  // By zero-based index or by name (ignoring case).
  _TablePtr GetItem(const _variant_t& index);

  // The raw forms: an HRESULT, and the thread's error information.
  virtual HRESULT get_Count(LONG* count) = 0;
  // *table receives a new table the caller owns; adErrItemNotFound for no such table.
  virtual HRESULT get_Item(VARIANT index, _Table** table) = 0;

 protected:
  ~Tables() = default;
};

// One table or view. Wrappers throw _com_error.
struct _Table : IDispatch {
  // The name as the driver gives it.
  _bstr_t GetName();
  // "TABLE" or "VIEW".
  _bstr_t GetType();
  // The table's columns as the driver lists them now, in the table's order.
  ColumnsPtr GetColumns();

  // The raw forms: new strings the caller frees; *columns receives a new
  // collection the caller owns (failing as a statement does when the link is gone).
  virtual HRESULT get_Name(BSTR* name) = 0;
  // "TABLE" or "VIEW", a new string the caller frees.
  virtual HRESULT get_Type(BSTR* type) = 0;
  // *columns receives a new collection the caller owns.
  virtual HRESULT get_Columns(Columns** columns) = 0;

 protected:
  ~_Table() = default;
};

// A table's columns, read by GetColumns. Wrappers throw _com_error.
struct Columns : IDispatch {
  // The number of columns.
  LONG GetCount();
  // By zero-based index or by name (ignoring case).
  _ColumnPtr GetItem(const _variant_t& index);

  // The raw forms: *column receives a new column the caller owns;
  // adErrItemNotFound for no such column.
  virtual HRESULT get_Count(LONG* count) = 0;
  // *column receives a new column the caller owns.
  virtual HRESULT get_Item(VARIANT index, _Column** column) = 0;

 protected:
  ~Columns() = default;
};

// One column of a table. Wrappers throw _com_error.
struct _Column : IDispatch {
  // The name as the driver gives it.
  _bstr_t GetName();
  // The column's type as the database names it ("varchar", "INTEGER", ...).
  _bstr_t GetTypeName();
  // The column's size as the driver reports it (characters for text).
  LONG GetDefinedSize();

  // The raw forms: new strings the caller frees.
  virtual HRESULT get_Name(BSTR* name) = 0;
  // The type name, a new string the caller frees.
  virtual HRESULT get_TypeName(BSTR* name) = 0;
  // The size as the driver reports it.
  virtual HRESULT get_DefinedSize(LONG* size) = 0;

 protected:
  ~_Column() = default;
};

// ---- wrappers ---------------------------------------------------------------

inline void _Catalog::PutActiveConnection(const _variant_t& connection) {
  ZrCheck(put_ActiveConnection(connection), this, ZrUuidOf<_Catalog>());
}
inline void _Catalog::PutRefActiveConnection(IDispatch* connection) {
  ZrCheck(putref_ActiveConnection(connection), this, ZrUuidOf<_Catalog>());
}
inline _variant_t _Catalog::GetActiveConnection() {
  _variant_t connection;
  ZrCheck(get_ActiveConnection(&connection), this, ZrUuidOf<_Catalog>());
  return connection;
}
inline TablesPtr _Catalog::GetTables() {
  Tables* tables = nullptr;
  ZrCheck(get_Tables(&tables), this, ZrUuidOf<_Catalog>());
  return TablesPtr(tables, false);
}

inline LONG Tables::GetCount() {
  LONG count = 0;
  ZrCheck(get_Count(&count), this, ZrUuidOf<Tables>());
  return count;
}
inline _TablePtr Tables::GetItem(const _variant_t& index) {
  _Table* table = nullptr;
  ZrCheck(get_Item(index, &table), this, ZrUuidOf<Tables>());
  return _TablePtr(table, false);
}

inline _bstr_t _Table::GetName() {
  BSTR name = nullptr;
  ZrCheck(get_Name(&name), this, ZrUuidOf<_Table>());
  return _bstr_t(name, false);
}
inline _bstr_t _Table::GetType() {
  BSTR type = nullptr;
  ZrCheck(get_Type(&type), this, ZrUuidOf<_Table>());
  return _bstr_t(type, false);
}
inline ColumnsPtr _Table::GetColumns() {
  Columns* columns = nullptr;
  ZrCheck(get_Columns(&columns), this, ZrUuidOf<_Table>());
  return ColumnsPtr(columns, false);
}

inline LONG Columns::GetCount() {
  LONG count = 0;
  ZrCheck(get_Count(&count), this, ZrUuidOf<Columns>());
  return count;
}
inline _ColumnPtr Columns::GetItem(const _variant_t& index) {
  _Column* column = nullptr;
  ZrCheck(get_Item(index, &column), this, ZrUuidOf<Columns>());
  return _ColumnPtr(column, false);
}

inline _bstr_t _Column::GetName() {
  BSTR name = nullptr;
  ZrCheck(get_Name(&name), this, ZrUuidOf<_Column>());
  return _bstr_t(name, false);
}
inline _bstr_t _Column::GetTypeName() {
  BSTR name = nullptr;
  ZrCheck(get_TypeName(&name), this, ZrUuidOf<_Column>());
  return _bstr_t(name, false);
}
inline LONG _Column::GetDefinedSize() {
  LONG size = 0;
  ZrCheck(get_DefinedSize(&size), this, ZrUuidOf<_Column>());
  return size;
}

}  // namespace ADOX
