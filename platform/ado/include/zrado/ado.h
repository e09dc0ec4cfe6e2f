// ActiveX Data Objects over ODBC: Connection, Recordset, Fields and Field.
//
// Objects are created through the COM run time (CLSID_Connection,
// CLSID_Recordset) and used through smart pointers:
//
//   _ConnectionPtr connection;
//   connection.CreateInstance(CLSID_Connection);
//   connection->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/catalogo.db", u"", u"",
//                    adConnectUnspecified);
//   _RecordsetPtr rs;
//   rs.CreateInstance(CLSID_Recordset);
//   rs->PutCursorLocation(adUseClient);
//   rs->Open(u"SELECT PINO_KEY FROM BDPINOS", _variant_t(static_cast<IDispatch*>(connection)),
//            adOpenDynamic, adLockBatchOptimistic, adCmdUnspecified);
//   while (!rs->GetadoEOF()) { _variant_t v = rs->GetFields()->GetItem(short{0})->GetValue(); rs->MoveNext(); }
//
// Each interface has raw methods (raw_X, get_X, put_X) that return an
// HRESULT and leave a description in the thread's error information, and
// wrapper methods (X, GetX, PutX) that throw _com_error carrying it.
//
// Providers: "Microsoft.Jet.OLEDB.4.0" opens a file catalogue with the SQLite
// ODBC driver (Data Source = the file path); "SQLOLEDB.1" opens a PostgreSQL
// server with its ODBC driver (Data Source = host, host,port or host:port;
// Initial Catalog = database; User ID and Password, or the Open arguments).
// Every statement is prepared and executed alone: text holding a second
// statement after a ';' is refused before it reaches the driver.
#pragma once

#include "zrcom/com.h"

// HRESULTs of ADO's own errors (facility 0x0A, codes as in ADO).
inline constexpr HRESULT adErrInvalidArgument = static_cast<HRESULT>(0x800A0BB9);
inline constexpr HRESULT adErrNoCurrentRecord = static_cast<HRESULT>(0x800A0BCD);
inline constexpr HRESULT adErrItemNotFound = static_cast<HRESULT>(0x800A0CC1);
inline constexpr HRESULT adErrObjectClosed = static_cast<HRESULT>(0x800A0E78);
inline constexpr HRESULT adErrObjectOpen = static_cast<HRESULT>(0x800A0E79);
inline constexpr HRESULT adErrProviderNotFound = static_cast<HRESULT>(0x800A0E7A);
inline constexpr HRESULT adErrInvalidConnection = static_cast<HRESULT>(0x800A0E7D);

// This layer's own errors (interface facility): the link to the database is
// gone. An open Connection stays open and reconnects, with the connection
// string, user and password it was opened with, before its next statement
// or schema read.
// - adErrConnectionLost: the link broke during this call (the server shut
//   down or restarted, the network failed, the catalogue file went away).
//   The statement may be tried again: the next try reconnects first.
// - adErrReconnectFailed: the link had been lost before and reconnecting
//   failed again (the server is still down); the description carries the
//   connect error. Each later call tries to reconnect once more, so waits
//   are bounded by ConnectionTimeout per call.
inline constexpr HRESULT adErrConnectionLost = static_cast<HRESULT>(0x80045A01);
inline constexpr HRESULT adErrReconnectFailed = static_cast<HRESULT>(0x80045A02);

enum ConnectOptionEnum : LONG { adConnectUnspecified = -1, adAsyncConnect = 16 };
enum CursorLocationEnum : LONG { adUseNone = 1, adUseServer = 2, adUseClient = 3 };
enum CursorTypeEnum : LONG {
  adOpenUnspecified = -1,
  adOpenForwardOnly = 0,
  adOpenKeyset = 1,
  adOpenDynamic = 2,
  adOpenStatic = 3,
};
enum LockTypeEnum : LONG {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4,
};
enum CommandTypeEnum : LONG {
  adCmdUnspecified = -1,
  adCmdText = 1,
  adCmdTable = 2,
  adCmdStoredProc = 4,
  adCmdUnknown = 8,
};
enum ExecuteOptionEnum : LONG { adExecuteNoRecords = 0x80 };
enum ObjectStateEnum : LONG { adStateClosed = 0, adStateOpen = 1 };
// The ADO type of a field: what its values hold.
enum DataTypeEnum : LONG {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adDouble = 5,
  adBoolean = 11,
  adBigInt = 20,
  adVarWChar = 202,
  adLongVarWChar = 203,
};

// The classes of connections and recordsets, for CoCreateInstance.
inline constexpr CLSID CLSID_Connection = ZrGuid("00000514-0000-0010-8000-00AA006D2EA4");
inline constexpr CLSID CLSID_Recordset = ZrGuid("00000535-0000-0010-8000-00AA006D2EA4");

struct _Connection;
struct _Recordset;
struct Fields;
struct Field;
// The interfaces' identifiers (as ADO's) and their smart pointers (_ConnectionPtr, ...).
ZR_DECLARE_IID(_Connection, "00001550-0000-0010-8000-00AA006D2EA4");
ZR_DECLARE_IID(_Recordset, "00001556-0000-0010-8000-00AA006D2EA4");
ZR_DECLARE_IID(Fields, "00001564-0000-0010-8000-00AA006D2EA4");
ZR_DECLARE_IID(Field, "00001569-0000-0010-8000-00AA006D2EA4");
ZR_SMARTPTR_TYPEDEF(_Connection);
ZR_SMARTPTR_TYPEDEF(_Recordset);
ZR_SMARTPTR_TYPEDEF(Fields);
ZR_SMARTPTR_TYPEDEF(Field);

struct _Connection : IDispatch {
  // Wrappers: throw _com_error on failure.
  // Opens the connection (see raw_Open).
  HRESULT Open(const _bstr_t& connection_string, const _bstr_t& user, const _bstr_t& password, LONG options);
  // Closes the connection; recordsets already read stay readable.
  HRESULT Close();
  // Runs one statement; returns a recordset (closed when the statement
  // returns no rows). records_affected may be null.
  _RecordsetPtr Execute(const _bstr_t& command, VARIANT* records_affected, LONG options);
  // adStateOpen or adStateClosed.
  LONG GetState();
  // The string given to Open, without its Password.
  _bstr_t GetConnectionString();
  // Seconds a connect (Open, a reconnect) may wait for the server.
  void PutConnectionTimeout(LONG seconds);
  // The timeout in force.
  LONG GetConnectionTimeout();

  // Opens the connection. The user and password arguments, when not empty,
  // take precedence over User ID and Password of the string. On failure
  // nothing stays open. adErrObjectOpen when already open,
  // adErrProviderNotFound / adErrInvalidArgument for a string it cannot use,
  // E_FAIL with the driver's diagnostics when the driver refuses.
  virtual HRESULT raw_Open(BSTR connection_string, BSTR user, BSTR password, LONG options) = 0;
  // adErrObjectClosed when not open.
  virtual HRESULT raw_Close() = 0;
  // Runs one statement. *result receives a new recordset the caller owns
  // (one reference); records_affected (may be null) the rows changed, as
  // VT_I4 (-1 when the driver does not tell). adErrObjectClosed when not
  // open; the link errors above when the link is gone.
  virtual HRESULT raw_Execute(BSTR command, VARIANT* records_affected, LONG options, _Recordset** result) = 0;
  // adStateOpen or adStateClosed.
  virtual HRESULT get_State(LONG* state) = 0;
  // The string given to Open (without its Password).
  virtual HRESULT get_ConnectionString(BSTR* text) = 0;
  // Seconds to wait for a server before Open fails (default 15);
  // adErrInvalidArgument for a negative value.
  virtual HRESULT put_ConnectionTimeout(LONG seconds) = 0;
  // The timeout in force.
  virtual HRESULT get_ConnectionTimeout(LONG* seconds) = 0;

 protected:
  ~_Connection() = default;
};

// A client cursor: Open reads every row at once; the recordset then holds
// them, whatever becomes of its connection. Wrappers throw _com_error.
struct _Recordset : IDispatch {
  // Where the cursor lives: only adUseClient has an effect (every recordset
  // is a client cursor).
  void PutCursorLocation(CursorLocationEnum location);
  // The location set (adUseClient unless changed).
  CursorLocationEnum GetCursorLocation();
  // Runs the statement on the connection (a Connection as VT_DISPATCH, or a
  // connection string) and reads all its rows. A statement that returns no
  // rows leaves the recordset closed.
  HRESULT Open(const _variant_t& source, const _variant_t& active_connection, CursorTypeEnum cursor_type,
               LockTypeEnum lock_type, LONG options);
  // Drops the rows; the recordset may be opened again.
  HRESULT Close();
  // True past the last row (at once for no rows).
  VARIANT_BOOL GetadoEOF();
  // True when there are no rows.
  VARIANT_BOOL GetBOF();
  // Moves to the next row; adErrNoCurrentRecord past the last.
  HRESULT MoveNext();
  // Back to the first row.
  HRESULT MoveFirst();
  // The columns of the result (reading the current row's values).
  FieldsPtr GetFields();
  // adStateOpen or adStateClosed.
  LONG GetState();
  // The number of rows read.
  LONG GetRecordCount();
  // The value of a field of the current row (index or name).
  _variant_t GetCollect(const _variant_t& index);

  // adErrInvalidArgument for an unknown location.
  virtual HRESULT put_CursorLocation(CursorLocationEnum location) = 0;
  // The location set.
  virtual HRESULT get_CursorLocation(CursorLocationEnum* location) = 0;
  // adErrObjectOpen when open; adErrInvalidArgument for a source that is not
  // statement text; adErrInvalidConnection for no usable connection; the
  // driver's failure (E_FAIL) or the link errors from running the statement.
  virtual HRESULT raw_Open(VARIANT source, VARIANT active_connection, CursorTypeEnum cursor_type,
                           LockTypeEnum lock_type, LONG options) = 0;
  // Every method below but get_Fields and get_State answers adErrObjectClosed
  // when the recordset is closed.
  virtual HRESULT raw_Close() = 0;
  // VARIANT_TRUE past the last row.
  virtual HRESULT get_EOF(VARIANT_BOOL* eof) = 0;
  // VARIANT_TRUE when there are no rows.
  virtual HRESULT get_BOF(VARIANT_BOOL* bof) = 0;
  // adErrNoCurrentRecord past the last row.
  virtual HRESULT raw_MoveNext() = 0;
  // Back to the first row.
  virtual HRESULT raw_MoveFirst() = 0;
  // *fields receives a new collection the caller owns; it shares the rows.
  virtual HRESULT get_Fields(Fields** fields) = 0;
  // adStateOpen or adStateClosed; never fails on a closed recordset.
  virtual HRESULT get_State(LONG* state) = 0;
  // The number of rows read.
  virtual HRESULT get_RecordCount(LONG* count) = 0;
  // The current row's value of a column (index or name): a copy the caller
  // clears. adErrItemNotFound for no such column, adErrNoCurrentRecord past
  // the last row.
  virtual HRESULT get_Collect(VARIANT index, VARIANT* value) = 0;

 protected:
  ~_Recordset() = default;
};

// The columns of a recordset's result. Wrappers throw _com_error.
struct Fields : IDispatch {
  // The number of columns.
  LONG GetCount();
  // By zero-based index (any integer variant) or by name (ignoring case).
  FieldPtr GetItem(const _variant_t& index);

  // The number of columns.
  virtual HRESULT get_Count(LONG* count) = 0;
  // *field receives a new field the caller owns; adErrItemNotFound for no such column.
  virtual HRESULT get_Item(VARIANT index, Field** field) = 0;

 protected:
  ~Fields() = default;
};

// One column of a recordset, read in its current row. Wrappers throw _com_error.
struct Field : IDispatch {
  // The value in the recordset's current row: VT_NULL for SQL NULL, VT_I2,
  // VT_I4, VT_I8, VT_R8 or VT_BOOL for numbers and bits, VT_BSTR (as the
  // driver gives it, blanks kept) for everything else.
  _variant_t GetValue();
  // The column's name as the driver gives it.
  _bstr_t GetName();
  // What the column's values hold (adSmallInt ... adLongVarWChar).
  DataTypeEnum GetType();

  // A copy the caller clears; adErrNoCurrentRecord past the last row,
  // adErrObjectClosed once the recordset is closed.
  virtual HRESULT get_Value(VARIANT* value) = 0;
  // A new string the caller frees.
  virtual HRESULT get_Name(BSTR* name) = 0;
  // What the column holds.
  virtual HRESULT get_Type(DataTypeEnum* type) = 0;

 protected:
  ~Field() = default;
};

// ---- wrappers ---------------------------------------------------------------

inline HRESULT _Connection::Open(const _bstr_t& connection_string, const _bstr_t& user, const _bstr_t& password,
                                 LONG options) {
  HRESULT hr = raw_Open(connection_string, user, password, options);
  ZrCheck(hr, this, ZrUuidOf<_Connection>());
  return hr;
}
inline HRESULT _Connection::Close() {
  HRESULT hr = raw_Close();
  ZrCheck(hr, this, ZrUuidOf<_Connection>());
  return hr;
}
inline _RecordsetPtr _Connection::Execute(const _bstr_t& command, VARIANT* records_affected, LONG options) {
  _Recordset* result = nullptr;
  ZrCheck(raw_Execute(command, records_affected, options, &result), this, ZrUuidOf<_Connection>());
  return _RecordsetPtr(result, false);
}
inline LONG _Connection::GetState() {
  LONG state = 0;
  ZrCheck(get_State(&state), this, ZrUuidOf<_Connection>());
  return state;
}
inline _bstr_t _Connection::GetConnectionString() {
  BSTR text = nullptr;
  ZrCheck(get_ConnectionString(&text), this, ZrUuidOf<_Connection>());
  return _bstr_t(text, false);
}
inline void _Connection::PutConnectionTimeout(LONG seconds) {
  ZrCheck(put_ConnectionTimeout(seconds), this, ZrUuidOf<_Connection>());
}
inline LONG _Connection::GetConnectionTimeout() {
  LONG seconds = 0;
  ZrCheck(get_ConnectionTimeout(&seconds), this, ZrUuidOf<_Connection>());
  return seconds;
}

inline void _Recordset::PutCursorLocation(CursorLocationEnum location) {
  ZrCheck(put_CursorLocation(location), this, ZrUuidOf<_Recordset>());
}
inline CursorLocationEnum _Recordset::GetCursorLocation() {
  CursorLocationEnum location = adUseClient;
  ZrCheck(get_CursorLocation(&location), this, ZrUuidOf<_Recordset>());
  return location;
}
inline HRESULT _Recordset::Open(const _variant_t& source, const _variant_t& active_connection,
                                CursorTypeEnum cursor_type, LockTypeEnum lock_type, LONG options) {
  HRESULT hr = raw_Open(source, active_connection, cursor_type, lock_type, options);
  ZrCheck(hr, this, ZrUuidOf<_Recordset>());
  return hr;
}
inline HRESULT _Recordset::Close() {
  HRESULT hr = raw_Close();
  ZrCheck(hr, this, ZrUuidOf<_Recordset>());
  return hr;
}
inline VARIANT_BOOL _Recordset::GetadoEOF() {
  VARIANT_BOOL eof = VARIANT_TRUE;
  ZrCheck(get_EOF(&eof), this, ZrUuidOf<_Recordset>());
  return eof;
}
inline VARIANT_BOOL _Recordset::GetBOF() {
  VARIANT_BOOL bof = VARIANT_TRUE;
  ZrCheck(get_BOF(&bof), this, ZrUuidOf<_Recordset>());
  return bof;
}
inline HRESULT _Recordset::MoveNext() {
  HRESULT hr = raw_MoveNext();
  ZrCheck(hr, this, ZrUuidOf<_Recordset>());
  return hr;
}
inline HRESULT _Recordset::MoveFirst() {
  HRESULT hr = raw_MoveFirst();
  ZrCheck(hr, this, ZrUuidOf<_Recordset>());
  return hr;
}
inline FieldsPtr _Recordset::GetFields() {
  Fields* fields = nullptr;
  ZrCheck(get_Fields(&fields), this, ZrUuidOf<_Recordset>());
  return FieldsPtr(fields, false);
}
inline LONG _Recordset::GetState() {
  LONG state = 0;
  ZrCheck(get_State(&state), this, ZrUuidOf<_Recordset>());
  return state;
}
inline LONG _Recordset::GetRecordCount() {
  LONG count = 0;
  ZrCheck(get_RecordCount(&count), this, ZrUuidOf<_Recordset>());
  return count;
}
inline _variant_t _Recordset::GetCollect(const _variant_t& index) {
  _variant_t value;
  ZrCheck(get_Collect(index, &value), this, ZrUuidOf<_Recordset>());
  return value;
}

inline LONG Fields::GetCount() {
  LONG count = 0;
  ZrCheck(get_Count(&count), this, ZrUuidOf<Fields>());
  return count;
}
inline FieldPtr Fields::GetItem(const _variant_t& index) {
  Field* field = nullptr;
  ZrCheck(get_Item(index, &field), this, ZrUuidOf<Fields>());
  return FieldPtr(field, false);
}

inline _variant_t Field::GetValue() {
  _variant_t value;
  ZrCheck(get_Value(&value), this, ZrUuidOf<Field>());
  return value;
}
inline _bstr_t Field::GetName() {
  BSTR name = nullptr;
  ZrCheck(get_Name(&name), this, ZrUuidOf<Field>());
  return _bstr_t(name, false);
}
inline DataTypeEnum Field::GetType() {
  DataTypeEnum type = adEmpty;
  ZrCheck(get_Type(&type), this, ZrUuidOf<Field>());
  return type;
}
