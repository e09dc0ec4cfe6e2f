// ADODB.Recordset with a client cursor: Open reads every row into memory,
// then the cursor moves over them. Fields and Field objects read the row
// under the cursor of the recordset state they were taken from.

#include "recordset.h"

#include <memory>

#include "ado_failure.h"
#include "connection.h"
#include "zrcom/object.h"

namespace zrado {
namespace {

constexpr const char16_t* kSource = u"ADODB.Recordset";

// A cell's value, into value (empty): the caller's copy, made when asked
// for (a recordset of many rows, read field by field, makes each value
// once, for its reader).
void CopyValue(const Cell& cell, VARIANT* value) {
  VariantInit(value);
  switch (cell.kind) {
    case Cell::Kind::kNull: value->vt = VT_NULL; return;
    case Cell::Kind::kShort: value->vt = VT_I2; value->iVal = static_cast<short>(cell.integer); return;
    case Cell::Kind::kLong: value->vt = VT_I4; value->lVal = static_cast<LONG>(cell.integer); return;
    case Cell::Kind::kBigInt: value->vt = VT_I8; value->llVal = cell.integer; return;
    case Cell::Kind::kDouble: value->vt = VT_R8; value->dblVal = cell.real; return;
    case Cell::Kind::kBool: value->vt = VT_BOOL; value->boolVal = cell.integer ? VARIANT_TRUE : VARIANT_FALSE; return;
    case Cell::Kind::kText: break;
  }
  BSTR text = ZrAllocBstr(cell.text);
  if (!text) Raise(E_OUTOFMEMORY, u"Out of memory.");
  value->vt = VT_BSTR;
  value->bstrVal = text;
}

DataTypeEnum TypeOf(const ResultColumn& column) {
  switch (column.kind) {
    case Cell::Kind::kShort: return adSmallInt;
    case Cell::Kind::kLong: return adInteger;
    case Cell::Kind::kBigInt: return adBigInt;
    case Cell::Kind::kDouble: return adDouble;
    case Cell::Kind::kBool: return adBoolean;
    default: return column.long_text ? adLongVarWChar : adVarWChar;
  }
}

struct CursorState {
  bool open = false;
  std::vector<ResultColumn> columns;
  std::vector<std::vector<Cell>> rows;  // as read; a value is made when asked for
  std::size_t position = 0;  // == rows.size() at EOF

  // Takes what a statement returned; the recordset is open when it returned rows.
  void Load(ResultSet result) {
    open = result.has_rows;
    columns = std::move(result.columns);
    rows = std::move(result.rows);
    position = 0;
  }

  void RequireOpen() const {
    if (!open) Raise(adErrObjectClosed, u"Operation is not allowed when the object is closed.");
  }
  bool AtEnd() const { return position >= rows.size(); }
  const Cell& Value(std::size_t column) const {
    RequireOpen();
    if (AtEnd())
      Raise(adErrNoCurrentRecord,
            u"Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    return rows[position][column];
  }
};

bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i] >= u'a' && a[i] <= u'z' ? a[i] - 32 : a[i];
    char16_t y = b[i] >= u'a' && b[i] <= u'z' ? b[i] - 32 : b[i];
    if (x != y) return false;
  }
  return true;
}

// The column an Item index names: a number from 0, or a name.
std::size_t ColumnIndex(const CursorState& state, const VARIANT& index) {
  const auto& columns = state.columns;
  if (index.vt == VT_BSTR) {
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (SameIgnoringAsciiCase(columns[i].name, ZrBstrView(index.bstrVal))) return i;
  } else if (index.vt == VT_I2 || index.vt == VT_I4) {
    // The usual ordinal, without a conversion.
    const long long n = index.vt == VT_I2 ? index.iVal : index.lVal;
    if (n >= 0 && static_cast<unsigned long long>(n) < columns.size()) return static_cast<std::size_t>(n);
  } else {
    VARIANT number;
    VariantInit(&number);
    if (SUCCEEDED(VariantChangeType(&number, &index, 0, VT_I8)) && number.llVal >= 0 &&
        static_cast<unsigned long long>(number.llVal) < columns.size())
      return static_cast<std::size_t>(number.llVal);
  }
  Raise(adErrItemNotFound, u"Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

class FieldObject final : public ZrComObject<Field> {
 public:
  FieldObject(std::shared_ptr<CursorState> state, std::size_t column) : state_(std::move(state)), column_(column) {}

  HRESULT get_Value(VARIANT* value) override {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Run([&] { CopyValue(state_->Value(column_), value); });
  }
  HRESULT get_Name(BSTR* name) override {
    if (!name) return E_POINTER;
    *name = ZrAllocBstr(state_->columns[column_].name);
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT get_Type(DataTypeEnum* type) override {
    if (!type) return E_POINTER;
    *type = TypeOf(state_->columns[column_]);
    return S_OK;
  }

 private:
  template <class Body>
  HRESULT Run(Body&& body) {
    return Guarded(u"ADODB.Field", ZrUuidOf<Field>(), std::forward<Body>(body));
  }

  std::shared_ptr<CursorState> state_;
  std::size_t column_;
};

class FieldsObject final : public ZrComObject<Fields> {
 public:
  explicit FieldsObject(std::shared_ptr<CursorState> state) : state_(std::move(state)) {}

  HRESULT get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(state_->columns.size());
    return S_OK;
  }
  HRESULT get_Item(VARIANT index, Field** field) override {
    if (!field) return E_POINTER;
    *field = nullptr;
    return Guarded(u"ADODB.Fields", ZrUuidOf<Fields>(), [&] {
      std::size_t column = ColumnIndex(*state_, index);
      *field = ZrMakeObject<FieldObject>(state_, column);
      if (!*field) throw std::bad_alloc();
    });
  }

 private:
  std::shared_ptr<CursorState> state_;
};

class Recordset final : public ZrComObject<_Recordset> {
 public:
  Recordset() : state_(std::make_shared<CursorState>()) {}
  explicit Recordset(ResultSet result) : Recordset() { state_->Load(std::move(result)); }

  HRESULT put_CursorLocation(CursorLocationEnum location) override {
    return Run([&] {
      if (location != adUseClient && location != adUseServer)
        Raise(adErrInvalidArgument, u"Unknown cursor location.");
      location_ = location;
    });
  }
  HRESULT get_CursorLocation(CursorLocationEnum* location) override {
    if (!location) return E_POINTER;
    *location = location_;
    return S_OK;
  }

  HRESULT raw_Open(VARIANT source, VARIANT active_connection, CursorTypeEnum, LockTypeEnum, LONG options) override {
    return Run([&] {
      if (state_->open) Raise(adErrObjectOpen, u"Operation is not allowed when the object is open.");
      if (source.vt != VT_BSTR || SysStringLen(source.bstrVal) == 0)
        Raise(adErrInvalidArgument, u"The source of a recordset must be the text of a statement.");
      std::u16string statement(ZrBstrView(source.bstrVal));
      LONG kind = options == adCmdUnspecified ? adCmdUnspecified : (options & 0xff);
      if (kind == adCmdTable)
        statement = u"SELECT * FROM " + statement;
      else if (kind != adCmdUnspecified && kind != adCmdText && kind != adCmdUnknown)
        Raise(adErrInvalidArgument, u"Only statement text and table names can be opened.");
      _ConnectionPtr owned;
      OdbcConnection* odbc = ConnectionOf(active_connection, owned);
      ResultSet result = odbc->Execute(statement);
      // A fresh state: Fields taken from an earlier opening stay with it.
      auto state = std::make_shared<CursorState>();
      state->Load(std::move(result));
      state_ = std::move(state);
    });
  }

  HRESULT raw_Close() override {
    return Run([&] {
      state_->RequireOpen();
      state_->Load(ResultSet());
    });
  }

  HRESULT get_EOF(VARIANT_BOOL* eof) override {
    if (!eof) return E_POINTER;
    return Run([&] {
      state_->RequireOpen();
      *eof = state_->AtEnd() ? VARIANT_TRUE : VARIANT_FALSE;
    });
  }
  HRESULT get_BOF(VARIANT_BOOL* bof) override {
    if (!bof) return E_POINTER;
    return Run([&] {
      state_->RequireOpen();
      *bof = state_->rows.empty() ? VARIANT_TRUE : VARIANT_FALSE;
    });
  }
  HRESULT raw_MoveNext() override {
    return Run([&] {
      state_->RequireOpen();
      if (state_->AtEnd())
        Raise(adErrNoCurrentRecord, u"Either BOF or EOF is True, or the current record has been deleted.");
      ++state_->position;
    });
  }
  HRESULT raw_MoveFirst() override {
    return Run([&] {
      state_->RequireOpen();
      state_->position = 0;
    });
  }
  HRESULT get_Fields(Fields** fields) override {
    if (!fields) return E_POINTER;
    *fields = nullptr;
    return Run([&] {
      *fields = ZrMakeObject<FieldsObject>(state_);
      if (!*fields) throw std::bad_alloc();
    });
  }
  HRESULT get_State(LONG* state) override {
    if (!state) return E_POINTER;
    *state = state_->open ? adStateOpen : adStateClosed;
    return S_OK;
  }
  HRESULT get_RecordCount(LONG* count) override {
    if (!count) return E_POINTER;
    return Run([&] {
      state_->RequireOpen();
      *count = static_cast<LONG>(state_->rows.size());
    });
  }
  HRESULT get_Collect(VARIANT index, VARIANT* value) override {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Run([&] { CopyValue(state_->Value(ColumnIndex(*state_, index)), value); });
  }

 private:
  template <class Body>
  HRESULT Run(Body&& body) {
    return Guarded(kSource, ZrUuidOf<_Recordset>(), std::forward<Body>(body));
  }

  std::shared_ptr<CursorState> state_;
  CursorLocationEnum location_ = adUseServer;
};

}  // namespace

_Recordset* NewRecordset() { return ZrMakeObject<Recordset>(); }
_Recordset* NewRecordset(ResultSet result) { return ZrMakeObject<Recordset>(std::move(result)); }

}  // namespace zrado
