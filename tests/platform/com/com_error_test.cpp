// _com_error, thread error information and the smart pointer's failures.

#include <gtest/gtest.h>

#include <thread>

#include "zrcom/com.h"
#include "zrcom/object.h"

namespace {

TEST(ComError, CarriesTheHResultAndItsMessage) {
  _com_error e(E_POINTER);
  EXPECT_EQ(e.Error(), E_POINTER);
  EXPECT_EQ(static_cast<unsigned>(e.Error()), 0x80004003u);
  EXPECT_EQ(std::u16string_view(e.ErrorMessage()), u"Invalid pointer");
  EXPECT_TRUE(!e.Description());
  EXPECT_EQ(e.ErrorInfo(), nullptr);
  EXPECT_EQ(std::u16string_view(_com_error(static_cast<HRESULT>(0x80041234)).ErrorMessage()),
            u"Unknown error 0x80041234");
}

TEST(ComError, IssueErrorExTakesTheThreadsErrorInfoAndClearsIt) {
  EXPECT_EQ(ZrSetErrorInfo(E_FAIL, u"[08001] connection refused", u"ADODB.Connection"), E_FAIL);
  try {
    _com_issue_errorex(E_FAIL, nullptr, GUID_NULL);
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_FAIL);
    EXPECT_EQ(e.Description().view(), u"[08001] connection refused");
    EXPECT_EQ(e.Source().view(), u"ADODB.Connection");
    _com_error copy = e;  // copies share the information
    EXPECT_EQ(copy.Description().view(), u"[08001] connection refused");
  }
  IErrorInfo* left = nullptr;
  EXPECT_EQ(GetErrorInfo(0, &left), S_FALSE);
  EXPECT_EQ(left, nullptr);
}

TEST(ComError, ErrorInfoBelongsToOneThread) {
  ZrSetErrorInfo(E_FAIL, u"main thread");
  std::thread other([] {
    IErrorInfo* info = nullptr;
    EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);
    ZrSetErrorInfo(E_FAIL, u"other thread");  // released when the thread ends
  });
  other.join();
  IErrorInfo* info = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  BSTR text = nullptr;
  info->GetDescription(&text);
  EXPECT_EQ(ZrBstrView(text), u"main thread");
  SysFreeString(text);
  info->Release();
}

TEST(ComError, SetErrorInfoNullClears) {
  ZrSetErrorInfo(E_FAIL, u"stale");
  EXPECT_EQ(SetErrorInfo(0, nullptr), S_OK);
  IErrorInfo* info = nullptr;
  EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);
  EXPECT_EQ(SetErrorInfo(1, nullptr), E_INVALIDARG);
}

TEST(ComPtr, CallsThroughNullThrowEPointer) {
  IDispatchPtr none;
  EXPECT_FALSE(none);
  try {
    none->AddRef();
    ADD_FAILURE() << "no exception";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_POINTER);
  }
  EXPECT_THROW(none.Release(), _com_error);
}

struct Probe final : ZrComObject<IDispatch> {
  ULONG Refs() {
    AddRef();
    return Release();
  }
};

TEST(ComPtr, CountsReferencesAndQueriesOtherInterfaces) {
  Probe* p = ZrMakeObject<Probe>();
  {
    IDispatchPtr d(p, false);  // takes the creation reference
    IDispatchPtr copy = d;
    EXPECT_EQ(p->Refs(), 2u);
    IUnknownPtr u(d);  // QueryInterface for IUnknown
    ASSERT_TRUE(u);
    EXPECT_EQ(p->Refs(), 3u);
    IErrorInfoPtr none(d);  // not implemented: null, no exception
    EXPECT_FALSE(none);
    p->AddRef();  // keep it alive past the pointers
  }
  EXPECT_EQ(p->Refs(), 1u);
  p->Release();
}

}  // namespace
