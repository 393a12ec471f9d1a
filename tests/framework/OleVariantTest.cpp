// COleVariant and COleCurrency: the forms the engine builds (text, VT_I4, the missing-argument
// VT_ERROR, booleans, dates), conversion, copying and clearing.
#include <afxdisp.h>

#include <gtest/gtest.h>

namespace {

TEST(OleVariantForms, ConstructorsMakeTheExpectedTypes) {
  COleVariant text(L"subject");
  EXPECT_EQ(VT_BSTR, text.vt);
  EXPECT_STREQ(L"subject", text.bstrVal);
  COleVariant number(42L, VT_I4);
  EXPECT_EQ(VT_I4, number.vt);
  EXPECT_EQ(42, number.lVal);
  COleVariant missing(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
  EXPECT_EQ(VT_ERROR, missing.vt);
  EXPECT_EQ(DISP_E_PARAMNOTFOUND, missing.scode);
  COleVariant yes(true);
  EXPECT_EQ(VT_BOOL, yes.vt);
  EXPECT_EQ(VARIANT_TRUE, yes.boolVal);
  COleVariant when(COleDateTime(2000, 1, 2, 3, 4, 5));
  EXPECT_EQ(VT_DATE, when.vt);
  COleVariant fromString(CString(L"cs"));
  EXPECT_STREQ(L"cs", fromString.bstrVal);
  COleVariant empty;
  EXPECT_EQ(VT_EMPTY, empty.vt);
  EXPECT_THROW(COleVariant(1L, VT_R8), CInvalidArgException*);
  const VARIANT* asPointer = text;
  EXPECT_EQ(static_cast<const VARIANT*>(&text), asPointer);
}

TEST(OleVariantCopies, CopiesOwnTheirStringsAndClearReleasesThem) {
  COleVariant a(L"original");
  COleVariant b(a);
  EXPECT_NE(a.bstrVal, b.bstrVal);
  EXPECT_TRUE(a == b);
  b = L"changed";
  EXPECT_STREQ(L"original", a.bstrVal);
  b = a;
  EXPECT_TRUE(a == b);
  b.Clear();
  EXPECT_EQ(VT_EMPTY, b.vt);
  VARIANT detached = a.Detach();
  EXPECT_EQ(VT_EMPTY, a.vt);
  EXPECT_EQ(VT_BSTR, detached.vt);
  COleVariant attached;
  attached.Attach(detached);
  EXPECT_EQ(VT_EMPTY, detached.vt);
  EXPECT_STREQ(L"original", attached.bstrVal);
}

TEST(OleVariantChangeType, ConvertsOrThrowsOleException) {
  COleVariant v(L"123");
  v.ChangeType(VT_I4);
  EXPECT_EQ(VT_I4, v.vt);
  EXPECT_EQ(123, v.lVal);
  v.ChangeType(VT_BSTR);
  EXPECT_STREQ(L"123", v.bstrVal);
  COleVariant source(7L);
  COleVariant target;
  target.ChangeType(VT_R8, &source);
  EXPECT_EQ(7.0, target.dblVal);
  COleVariant bad(L"not a number");
  try {
    bad.ChangeType(VT_I4);
    FAIL();
  } catch (COleException* e) {
    EXPECT_EQ(DISP_E_TYPEMISMATCH, e->m_sc);
    e->Delete();
  }
}

TEST(OleCurrencyValues, UnitsFractionsArithmeticAndOverflow) {
  COleCurrency c(12, 3400);
  EXPECT_EQ(123400, c.m_cur.int64);
  COleCurrency sum = c + COleCurrency(0, 600);
  EXPECT_EQ(124000, sum.m_cur.int64);
  EXPECT_EQ(COleCurrency::valid, (c * 3).GetStatus());
  COleCurrency bad(1, -5);
  EXPECT_EQ(COleCurrency::invalid, bad.GetStatus());
  COleCurrency huge;
  huge.m_cur.int64 = INT64_MAX;
  EXPECT_EQ(COleCurrency::invalid, (huge + c).GetStatus());
  EXPECT_EQ(COleCurrency::invalid, (c / 0).GetStatus());
  COleCurrency parsed;
  EXPECT_TRUE(
      parsed.ParseCurrency(L"5.25", 0, MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)));
  EXPECT_EQ(52500, parsed.m_cur.int64);
  EXPECT_FALSE(parsed.ParseCurrency(L"five"));
  EXPECT_EQ(COleCurrency::invalid, parsed.GetStatus());
}

}  // namespace
