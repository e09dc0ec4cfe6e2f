// VARIANT conversions and the _variant_t wrapper.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zrcom/com.h"
#include "zrcom/object.h"

namespace {

struct ToTextCase {
  const char* name;
  _variant_t value;
  std::u16string text;
};

TEST(VariantToText, ConvertsEachTypeInDecimal) {
  const ToTextCase cases[] = {
      {"empty", _variant_t(), u""},
      {"i2", _variant_t(short{-12}), u"-12"},
      {"i4", _variant_t(2147483647), u"2147483647"},
      {"i8", _variant_t(-9007199254740993LL), u"-9007199254740993"},
      {"r8 fraction", _variant_t(0.1), u"0.1"},
      {"r8 integral", _variant_t(42.0), u"42"},
      {"r8 negative", _variant_t(-2.5), u"-2.5"},
      {"r8 15 digits", _variant_t(1.0 / 3.0), u"0.333333333333333"},
      {"r8 large", _variant_t(1e20), u"1E+20"},
      {"bool true", _variant_t(true), u"-1"},
      {"bool false", _variant_t(false), u"0"},
      {"bstr", _variant_t(u"  A1 "), u"  A1 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    _bstr_t text = c.value;
    EXPECT_EQ(text.view(), c.text);
  }
}

TEST(VariantToText, AlphaBoolFlagSpellsBooleans) {
  VARIANT out;
  VariantInit(&out);
  _variant_t t(true);
  ASSERT_EQ(VariantChangeType(&out, &t, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
  EXPECT_EQ(ZrBstrView(out.bstrVal), u"True");
  VariantClear(&out);
}

TEST(VariantToText, RefusesNullObjectsAndErrors) {
  struct {
    const char* name;
    _variant_t value;
  } refused[] = {
      {"null", _variant_t::Null()},
      {"missing", vtMissing},
      {"dispatch", _variant_t(static_cast<IDispatch*>(nullptr))},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.name);
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(VariantChangeType(&out, &c.value, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(out.vt, VT_EMPTY);
    try {
      _bstr_t text = c.value;
      ADD_FAILURE() << "converted to " << text.utf8();
    } catch (const _com_error& e) {
      EXPECT_EQ(e.Error(), DISP_E_TYPEMISMATCH);
    }
  }
}

TEST(VariantFromText, ParsesNumbersAndRejectsOthers) {
  EXPECT_EQ(static_cast<int>(_variant_t(u" 42 ")), 42);
  EXPECT_EQ(static_cast<short>(_variant_t(u"-7")), -7);
  EXPECT_DOUBLE_EQ(static_cast<double>(_variant_t(u"2.25")), 2.25);
  EXPECT_EQ(static_cast<int>(_variant_t(u"2.5")), 2);  // halves round to even
  EXPECT_EQ(static_cast<int>(_variant_t(u"3.5")), 4);

  struct {
    const char16_t* text;
    VARTYPE vt;
    HRESULT hr;
  } refused[] = {
      {u"", VT_I4, DISP_E_TYPEMISMATCH},
      {u"12abc", VT_I4, DISP_E_TYPEMISMATCH},
      {u"A1", VT_R8, DISP_E_TYPEMISMATCH},
      {u"40000", VT_I2, DISP_E_OVERFLOW},
      {u"3000000000", VT_I4, DISP_E_OVERFLOW},
      {u"1e400", VT_R8, DISP_E_OVERFLOW},
      {u"١٢", VT_I4, DISP_E_TYPEMISMATCH},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(ZrUtf16ToUtf8(c.text));
    _variant_t in(c.text);
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(VariantChangeType(&out, &in, 0, c.vt), c.hr);
  }
}

TEST(VariantNumbers, ConvertBetweenWidthsWithOverflowChecks) {
  VARIANT out;
  VariantInit(&out);
  _variant_t big(70000);
  EXPECT_EQ(VariantChangeType(&out, &big, 0, VT_I2), DISP_E_OVERFLOW);
  ASSERT_EQ(VariantChangeType(&out, &big, 0, VT_R8), S_OK);
  EXPECT_EQ(out.vt, VT_R8);
  EXPECT_DOUBLE_EQ(out.dblVal, 70000.0);
  _variant_t nan(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(VariantChangeType(&out, &nan, 0, VT_I4), DISP_E_OVERFLOW);
  EXPECT_EQ(static_cast<long long>(_variant_t(short{5})), 5);
  EXPECT_TRUE(static_cast<bool>(_variant_t(3)));
  EXPECT_FALSE(static_cast<bool>(_variant_t(0.0)));
}

TEST(VariantNumbers, ChangeTypeInPlaceKeepsTheValueOnFailure) {
  _variant_t v(u"abc");
  EXPECT_THROW(v.ChangeType(VT_I4), _com_error);
  EXPECT_EQ(v.vt, VT_BSTR);
  v = _variant_t(u"17");
  v.ChangeType(VT_I4);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 17);
}

TEST(VariantT, ConstructorsChooseTheType) {
  EXPECT_EQ(_variant_t().vt, VT_EMPTY);
  EXPECT_EQ(_variant_t(short{1}).vt, VT_I2);
  EXPECT_EQ(_variant_t(1).vt, VT_I4);
  EXPECT_EQ(_variant_t(1L).vt, VT_I4);
  EXPECT_EQ(_variant_t(1L << 40).vt, VT_I8);
  EXPECT_EQ(_variant_t(1.5).vt, VT_R8);
  EXPECT_EQ(_variant_t(true).vt, VT_BOOL);
  EXPECT_EQ(_variant_t(u"x").vt, VT_BSTR);
  EXPECT_EQ(_variant_t("x").vt, VT_BSTR);
  EXPECT_EQ(_variant_t::Null().vt, VT_NULL);
  EXPECT_EQ(vtMissing.vt, VT_ERROR);
  EXPECT_EQ(vtMissing.scode, DISP_E_PARAMNOTFOUND);
}

TEST(VariantT, CopiesStringsDeeplyAndComparesByValue) {
  _variant_t a(u"BDZR");
  _variant_t b = a;
  EXPECT_NE(a.bstrVal, b.bstrVal);
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == _variant_t(u"BDZR "));
  EXPECT_FALSE(_variant_t(1) == _variant_t(short{1}));
  _variant_t moved = std::move(b);
  EXPECT_EQ(b.vt, VT_EMPTY);
  EXPECT_TRUE(moved == a);
}

// An object that counts its references, to see what variants do with them.
struct Probe final : ZrComObject<IDispatch> {
  ULONG Refs() {
    AddRef();
    return Release();
  }
};

TEST(VariantT, HoldsAReferenceOnDispatchObjects) {
  Probe* p = ZrMakeObject<Probe>();
  {
    _variant_t v(static_cast<IDispatch*>(p));
    EXPECT_EQ(p->Refs(), 2u);
    _variant_t copy = v;
    EXPECT_EQ(p->Refs(), 3u);
    IDispatch* out = v;  // AddRef'd for the caller
    EXPECT_EQ(out, p);
    out->Release();
    EXPECT_THROW(static_cast<void>(static_cast<int>(v)), _com_error);
  }
  EXPECT_EQ(p->Refs(), 1u);
  _variant_t taken(static_cast<IDispatch*>(p), false);  // takes over our reference
}

TEST(VariantT, DetachAndAttachHandOverOwnership) {
  _variant_t v(u"texto");
  VARIANT raw = v.Detach();
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(raw.vt, VT_BSTR);
  _variant_t w;
  w.Attach(raw);
  EXPECT_EQ(raw.vt, VT_EMPTY);
  EXPECT_EQ(_bstr_t(w).view(), u"texto");
}

TEST(VariantClear, RefusesUnknownTypes) {
  VARIANT v;
  VariantInit(&v);
  v.vt = 0x4008;  // a by-reference string: not carried by this stand-in
  EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
  VARIANT copy;
  VariantInit(&copy);
  EXPECT_EQ(VariantCopy(&copy, &v), DISP_E_BADVARTYPE);
}

}  // namespace
