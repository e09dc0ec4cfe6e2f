// ADOX.Catalog: tables and columns of a connection, read when asked for.

#include "catalog.h"

#include <memory>
#include <vector>

#include "ado_failure.h"
#include "connection.h"
#include "zrado/adox.h"
#include "zrcom/object.h"

namespace zrado {
namespace {

using namespace ADOX;

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i] >= u'a' && a[i] <= u'z' ? a[i] - 32 : a[i];
    char16_t y = b[i] >= u'a' && b[i] <= u'z' ? b[i] - 32 : b[i];
    if (x != y) return false;
  }
  return true;
}

// An Item index: a number from 0, or a name compared ignoring case.
template <class T, class NameOf>
std::size_t ItemIndex(const std::vector<T>& items, const VARIANT& index, NameOf name_of) {
  if (index.vt == VT_BSTR) {
    for (std::size_t i = 0; i < items.size(); ++i)
      if (SameName(name_of(items[i]), ZrBstrView(index.bstrVal))) return i;
  } else {
    VARIANT number;
    VariantInit(&number);
    if (SUCCEEDED(VariantChangeType(&number, &index, 0, VT_I8)) && number.llVal >= 0 &&
        static_cast<unsigned long long>(number.llVal) < items.size())
      return static_cast<std::size_t>(number.llVal);
  }
  Raise(adErrItemNotFound, u"Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

HRESULT CopyText(const std::u16string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = ZrAllocBstr(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

class ColumnObject final : public ZrComObject<_Column> {
 public:
  explicit ColumnObject(ColumnInfo info) : info_(std::move(info)) {}
  HRESULT get_Name(BSTR* name) override { return CopyText(info_.name, name); }
  HRESULT get_TypeName(BSTR* name) override { return CopyText(info_.type_name, name); }
  HRESULT get_DefinedSize(LONG* size) override {
    if (!size) return E_POINTER;
    *size = static_cast<LONG>(info_.size);
    return S_OK;
  }

 private:
  ColumnInfo info_;
};

class ColumnsObject final : public ZrComObject<Columns> {
 public:
  explicit ColumnsObject(std::vector<ColumnInfo> columns) : columns_(std::move(columns)) {}
  HRESULT get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(columns_.size());
    return S_OK;
  }
  HRESULT get_Item(VARIANT index, _Column** column) override {
    if (!column) return E_POINTER;
    *column = nullptr;
    return Guarded(u"ADOX.Columns", ZrUuidOf<Columns>(), [&] {
      std::size_t i = ItemIndex(columns_, index, [](const ColumnInfo& c) -> const std::u16string& { return c.name; });
      *column = ZrMakeObject<ColumnObject>(columns_[i]);
      if (!*column) throw std::bad_alloc();
    });
  }

 private:
  std::vector<ColumnInfo> columns_;
};

class TableObject final : public ZrComObject<_Table> {
 public:
  TableObject(_ConnectionPtr connection, TableInfo info) : connection_(std::move(connection)), info_(std::move(info)) {}
  HRESULT get_Name(BSTR* name) override { return CopyText(info_.name, name); }
  HRESULT get_Type(BSTR* type) override { return CopyText(info_.type, type); }
  HRESULT get_Columns(Columns** columns) override {
    if (!columns) return E_POINTER;
    *columns = nullptr;
    return Guarded(u"ADOX.Table", ZrUuidOf<_Table>(), [&] {
      _variant_t connection(static_cast<IDispatch*>(connection_.GetInterfacePtr()));
      _ConnectionPtr owned;
      OdbcConnection* odbc = ConnectionOf(connection, owned);
      *columns = ZrMakeObject<ColumnsObject>(odbc->Columns(info_));
      if (!*columns) throw std::bad_alloc();
    });
  }

 private:
  _ConnectionPtr connection_;
  TableInfo info_;
};

class TablesObject final : public ZrComObject<Tables> {
 public:
  TablesObject(_ConnectionPtr connection, std::vector<TableInfo> tables)
      : connection_(std::move(connection)), tables_(std::move(tables)) {}
  HRESULT get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(tables_.size());
    return S_OK;
  }
  HRESULT get_Item(VARIANT index, _Table** table) override {
    if (!table) return E_POINTER;
    *table = nullptr;
    return Guarded(u"ADOX.Tables", ZrUuidOf<Tables>(), [&] {
      std::size_t i = ItemIndex(tables_, index, [](const TableInfo& t) -> const std::u16string& { return t.name; });
      *table = ZrMakeObject<TableObject>(connection_, tables_[i]);
      if (!*table) throw std::bad_alloc();
    });
  }

 private:
  _ConnectionPtr connection_;
  std::vector<TableInfo> tables_;
};

class Catalog final : public ZrComObject<_Catalog> {
 public:
  HRESULT put_ActiveConnection(VARIANT connection) override {
    return Run([&] {
      _ConnectionPtr owned;
      ConnectionOf(connection, owned);  // refuses closed or foreign connections
      if (owned) {
        connection_ = owned;
      } else {
        _ConnectionPtr given;
        connection.punkVal->QueryInterface(ZrUuidOf<_Connection>(), reinterpret_cast<void**>(&given));
        connection_ = given;
      }
    });
  }
  HRESULT putref_ActiveConnection(IDispatch* connection) override {
    _variant_t value(connection);
    return put_ActiveConnection(value);
  }
  HRESULT get_ActiveConnection(VARIANT* connection) override {
    if (!connection) return E_POINTER;
    VariantInit(connection);
    if (connection_) {
      connection->vt = VT_DISPATCH;
      connection->pdispVal = connection_.GetInterfacePtr();
      connection->pdispVal->AddRef();
    }
    return S_OK;
  }
  HRESULT get_Tables(Tables** tables) override {
    if (!tables) return E_POINTER;
    *tables = nullptr;
    return Run([&] {
      if (!connection_)
        Raise(adErrInvalidConnection, u"The catalogue has no active connection.");
      _variant_t connection(static_cast<IDispatch*>(connection_.GetInterfacePtr()));
      _ConnectionPtr owned;
      OdbcConnection* odbc = ConnectionOf(connection, owned);
      *tables = ZrMakeObject<TablesObject>(connection_, odbc->Tables());
      if (!*tables) throw std::bad_alloc();
    });
  }

 private:
  template <class Body>
  HRESULT Run(Body&& body) {
    return Guarded(u"ADOX.Catalog", ZrUuidOf<_Catalog>(), std::forward<Body>(body));
  }

  _ConnectionPtr connection_;
};

}  // namespace

_Catalog* NewCatalog() { return ZrMakeObject<Catalog>(); }

}  // namespace zrado
