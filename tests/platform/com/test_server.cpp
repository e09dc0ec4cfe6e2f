// A minimal in-process server: the class factory function of CLSID_TestCounter.

#include "test_server.h"

#include "zrcom/object.h"

namespace {

class Counter final : public ZrComObject<ICounter> {
 public:
  HRESULT Next(LONG* value) override {
    if (!value) return E_POINTER;
    *value = ++count_;
    return S_OK;
  }
  HRESULT Fail() override {
    return ZrSetErrorInfo(E_FAIL, u"the counter refused", u"Test.Counter", ZrUuidOf<ICounter>());
  }

 private:
  LONG count_ = 0;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT TestGetClassObject(REFCLSID clsid, REFIID iid,
                                                                             void** object) {
  return ZrGetFactoryOf<Counter>(clsid, CLSID_TestCounter, iid, object);
}
