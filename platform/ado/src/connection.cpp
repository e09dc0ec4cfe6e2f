// ADODB.Connection.

#include "connection.h"

#include "ado_failure.h"
#include "recordset.h"
#include "zrcom/object.h"

namespace zrado {
namespace {

constexpr const char16_t* kSource = u"ADODB.Connection";

class Connection final : public ZrComObject<_Connection, IZrOdbcSource> {
 public:
  HRESULT raw_Open(BSTR connection_string, BSTR user, BSTR password, LONG) override {
    return Run([&] {
      if (odbc_) Raise(adErrObjectOpen, u"Operation is not allowed when the object is open.");
      std::string text = ZrUtf16ToUtf8(ZrBstrView(connection_string));
      OdbcTarget target =
          MakeOdbcTarget(text, ZrUtf16ToUtf8(ZrBstrView(user)), ZrUtf16ToUtf8(ZrBstrView(password)));
      odbc_ = OdbcConnection::Connect(target, timeout_);
      connection_string_ = WithoutPassword(text);
    });
  }

  HRESULT raw_Close() override {
    return Run([&] {
      if (!odbc_) Raise(adErrObjectClosed, u"Operation is not allowed when the object is closed.");
      odbc_.reset();
    });
  }

  HRESULT raw_Execute(BSTR command, VARIANT* records_affected, LONG, _Recordset** result) override {
    if (result) *result = nullptr;
    return Run([&] {
      if (!result) Raise(E_POINTER, u"No place for the recordset.");
      if (!odbc_) Raise(adErrObjectClosed, u"Operation is not allowed when the object is closed.");
      ResultSet rows = odbc_->Execute(ZrBstrView(command));
      if (records_affected) {
        VariantInit(records_affected);
        records_affected->vt = VT_I4;
        records_affected->lVal = static_cast<LONG>(rows.affected);
      }
      *result = NewRecordset(std::move(rows));
      if (!*result) throw std::bad_alloc();
    });
  }

  HRESULT get_State(LONG* state) override {
    if (!state) return E_POINTER;
    *state = odbc_ ? adStateOpen : adStateClosed;
    return S_OK;
  }

  HRESULT get_ConnectionString(BSTR* text) override {
    if (!text) return E_POINTER;
    *text = ZrAllocBstrUtf8(connection_string_);
    return *text ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT put_ConnectionTimeout(LONG seconds) override {
    return Run([&] {
      if (seconds < 0) Raise(adErrInvalidArgument, u"The connection timeout cannot be negative.");
      timeout_ = seconds;
    });
  }

  HRESULT get_ConnectionTimeout(LONG* seconds) override {
    if (!seconds) return E_POINTER;
    *seconds = timeout_;
    return S_OK;
  }

  OdbcConnection* Odbc() override { return odbc_.get(); }

 private:
  template <class Body>
  HRESULT Run(Body&& body) {
    return Guarded(kSource, ZrUuidOf<_Connection>(), std::forward<Body>(body));
  }

  std::unique_ptr<OdbcConnection> odbc_;
  std::string connection_string_;
  LONG timeout_ = 15;
};

}  // namespace

_Connection* NewConnection() { return ZrMakeObject<Connection>(); }

OdbcConnection* ConnectionOf(const VARIANT& connection, _ConnectionPtr& owned) {
  IUnknown* object = nullptr;
  if (connection.vt == VT_BSTR) {
    _Connection* created = NewConnection();
    if (!created) throw std::bad_alloc();
    owned.Attach(created);
    HRESULT hr = created->raw_Open(connection.bstrVal, nullptr, nullptr, adConnectUnspecified);
    if (FAILED(hr)) {
      IErrorInfo* info = nullptr;
      GetErrorInfo(0, &info);
      _com_error error(hr, info);
      Raise(hr, std::u16string(error.Description().view()));
    }
    object = created;
  } else if ((connection.vt == VT_DISPATCH || connection.vt == VT_UNKNOWN) && connection.punkVal) {
    object = connection.punkVal;  // the caller keeps its reference
  } else {
    Raise(adErrInvalidConnection, u"No connection was given: pass an open Connection or a connection string.");
  }
  _com_ptr_t<IZrOdbcSource> source;
  object->QueryInterface(ZrUuidOf<IZrOdbcSource>(), reinterpret_cast<void**>(&source));
  if (!source) Raise(adErrInvalidConnection, u"The connection object does not belong to this data-access layer.");
  OdbcConnection* odbc = source->Odbc();
  if (!odbc)
    Raise(adErrInvalidConnection,
          u"The connection cannot be used to perform this operation. It is either closed or invalid in this context.");
  return odbc;
}

}  // namespace zrado
