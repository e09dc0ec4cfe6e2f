// The factory function of the data-access library: Connection, Recordset
// and ADOX Catalog.

#include "catalog.h"
#include "connection.h"
#include "recordset.h"
#include "zrcom/object.h"

namespace zrado {
namespace {

// A class factory that makes objects with a creation function.
class Factory final : public ZrComObject<IClassFactory> {
 public:
  using Make = IUnknown* (*)();
  explicit Factory(Make make) : make_(make) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* created = make_();
    if (!created) return E_OUTOFMEMORY;
    HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
  }
  HRESULT LockServer(int) override { return S_OK; }

 private:
  Make make_;
};

IUnknown* MakeConnection() { return NewConnection(); }
IUnknown* MakeRecordset() { return NewRecordset(); }
IUnknown* MakeCatalog() { return NewCatalog(); }

}  // namespace
}  // namespace zrado

extern "C" __attribute__((visibility("default"))) HRESULT ZrAdoGetClassObject(REFCLSID clsid, REFIID iid,
                                                                              void** object) {
  using namespace zrado;
  if (!object) return E_POINTER;
  *object = nullptr;
  Factory::Make make = nullptr;
  if (clsid == CLSID_Connection)
    make = MakeConnection;
  else if (clsid == CLSID_Recordset)
    make = MakeRecordset;
  else if (clsid == ADOX::CLSID_Catalog)
    make = MakeCatalog;
  else
    return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = ZrMakeObject<Factory>(make);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}
