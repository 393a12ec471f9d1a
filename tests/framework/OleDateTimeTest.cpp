// COleDateTime: field extraction (rounded to the second), invalid and out-of-range values, the
// year boundaries the engine tests (1900, 1901, 3999, 4000), dates before 1899, parsing,
// formatting and arithmetic.
#include <afxdisp.h>

#include <gtest/gtest.h>

namespace {

void ExpectFields(const COleDateTime& d, int y, int mo, int day, int h, int mi, int s) {
  EXPECT_EQ(y, d.GetYear());
  EXPECT_EQ(mo, d.GetMonth());
  EXPECT_EQ(day, d.GetDay());
  EXPECT_EQ(h, d.GetHour());
  EXPECT_EQ(mi, d.GetMinute());
  EXPECT_EQ(s, d.GetSecond());
}

TEST(OleDateTimeFields, DecodesDaysSince1899AndTheTimeFraction) {
  ExpectFields(COleDateTime(0.0), 1899, 12, 30, 0, 0, 0);
  ExpectFields(COleDateTime(2.25), 1900, 1, 1, 6, 0, 0);
  ExpectFields(COleDateTime(45000.5), 2023, 3, 15, 12, 0, 0);
  // Before 1899 the fraction still counts forward from midnight.
  ExpectFields(COleDateTime(-1.25), 1899, 12, 29, 6, 0, 0);
  ExpectFields(COleDateTime(-657434.0), 100, 1, 1, 0, 0, 0);
  ExpectFields(COleDateTime(2958465.999988426), 9999, 12, 31, 23, 59, 59);
  // Fractions of a second round to the nearest second, into the next day when they must.
  ExpectFields(COleDateTime(1.0 - 0.4 / 86400), 1899, 12, 31, 0, 0, 0);
  EXPECT_EQ(7, COleDateTime(0.0).GetDayOfWeek());  // a Saturday
  EXPECT_EQ(364, COleDateTime(0.0).GetDayOfYear());
}

TEST(OleDateTimeFields, InvalidNullOrOutOfRangeValuesGiveMinusOne) {
  COleDateTime invalid(45000.0);
  invalid.SetStatus(COleDateTime::invalid);
  ExpectFields(invalid, -1, -1, -1, -1, -1, -1);
  COleDateTime null(45000.0);
  null.SetStatus(COleDateTime::null);
  EXPECT_EQ(AFX_OLE_DATETIME_ERROR, null.GetYear());
  ExpectFields(COleDateTime(2958466.0), -1, -1, -1, -1, -1, -1);  // 1 January 10000
  ExpectFields(COleDateTime(-657435.0), -1, -1, -1, -1, -1, -1);  // 31 December 99
  ExpectFields(COleDateTime(1e300), -1, -1, -1, -1, -1, -1);
  EXPECT_EQ(AFX_OLE_DATETIME_ERROR, COleDateTime(2958465.9999999).GetYear());  // rounds past 9999
  SYSTEMTIME st;
  EXPECT_FALSE(invalid.GetAsSystemTime(st));
}

TEST(OleDateTimeFields, YearsAroundTheAcceptedRangeOf1901To3999) {
  EXPECT_EQ(1900, COleDateTime(1900, 12, 31, 23, 59, 59).GetYear());
  EXPECT_EQ(1901, COleDateTime(1901, 1, 1, 0, 0, 0).GetYear());
  EXPECT_EQ(3999, COleDateTime(3999, 12, 31, 23, 59, 59).GetYear());
  EXPECT_EQ(4000, COleDateTime(4000, 1, 1, 0, 0, 0).GetYear());
  COleDateTime d(1901, 1, 1, 0, 0, 0);
  EXPECT_EQ(367.0, d.m_dt);  // 1900 was no leap year
  d -= COleDateTimeSpan(0, 0, 0, 1);
  EXPECT_EQ(1900, d.GetYear());
  EXPECT_EQ(59, d.GetSecond());
}

TEST(OleDateTimeSet, ValidatesEveryField) {
  COleDateTime d;
  EXPECT_EQ(0, d.SetDateTime(2024, 2, 29, 23, 59, 59));
  EXPECT_EQ(COleDateTime::valid, d.GetStatus());
  ExpectFields(d, 2024, 2, 29, 23, 59, 59);
  EXPECT_EQ(1, d.SetDateTime(2023, 2, 29, 0, 0, 0));
  EXPECT_EQ(COleDateTime::invalid, d.GetStatus());
  EXPECT_EQ(1, d.SetDateTime(99, 1, 1, 0, 0, 0));
  EXPECT_EQ(1, d.SetDateTime(10000, 1, 1, 0, 0, 0));
  EXPECT_EQ(1, d.SetDateTime(2000, 13, 1, 0, 0, 0));
  EXPECT_EQ(1, d.SetDateTime(2000, 1, 1, 24, 0, 0));
  EXPECT_EQ(1, d.SetDateTime(2000, 1, 1, 0, 60, 0));
  EXPECT_EQ(1, d.SetDateTime(2000, 1, 1, 0, 0, 60));
  EXPECT_EQ(0, d.SetDateTime(1899, 12, 29, 6, 0, 0));
  EXPECT_EQ(-1.25, d.m_dt);
  SYSTEMTIME st = {};
  st.wYear = 2001;
  st.wMonth = 9;
  st.wDay = 9;
  st.wHour = 1;
  st.wMinute = 46;
  st.wSecond = 40;
  ExpectFields(COleDateTime(st), 2001, 9, 9, 1, 46, 40);
}

TEST(OleDateTimeArithmetic, SpansAddAcross1899AndDifferencesAreSpans) {
  COleDateTime d(1900, 1, 1, 12, 0, 0);
  COleDateTime earlier = d - COleDateTimeSpan(3, 0, 0, 0);
  ExpectFields(earlier, 1899, 12, 29, 12, 0, 0);
  EXPECT_EQ(-1.5, earlier.m_dt);
  COleDateTimeSpan diff = d - earlier;
  EXPECT_DOUBLE_EQ(3.0, diff.GetTotalDays());
  EXPECT_EQ(3, diff.GetDays());
  EXPECT_TRUE(earlier < d);
  COleDateTime later = earlier + COleDateTimeSpan(0, 36, 0, 0);
  ExpectFields(later, 1899, 12, 31, 0, 0, 0);
  COleDateTimeSpan span(1, 2, 3, 4);
  EXPECT_EQ(1, span.GetDays());
  EXPECT_EQ(2, span.GetHours());
  EXPECT_EQ(3, span.GetMinutes());
  EXPECT_EQ(4, span.GetSeconds());
  EXPECT_STREQ(L"1 02:03:04", span.Format(L"%D %H:%M:%S"));
  COleDateTime invalid;
  invalid.SetStatus(COleDateTime::invalid);
  EXPECT_EQ(COleDateTime::invalid, (invalid + span).GetStatus());
}

TEST(OleDateTimeText, ParsesAndFormats) {
  COleDateTime d;
  ASSERT_TRUE(d.ParseDateTime(L"2021-07-04 08:09:10", 0,
                              MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)));
  ExpectFields(d, 2021, 7, 4, 8, 9, 10);
  EXPECT_FALSE(d.ParseDateTime(L"not a date"));
  EXPECT_EQ(COleDateTime::invalid, d.GetStatus());
  COleDateTime f(2009, 6, 30, 17, 5, 9);
  EXPECT_STREQ(L"2009-06-30 17:05:09", f.Format(L"%Y-%m-%d %H:%M:%S"));
  COleDateTime early(1850, 3, 1, 0, 0, 0);
  EXPECT_STREQ(L"1850-03-01", early.Format(L"%Y-%m-%d"));
  f.SetStatus(COleDateTime::invalid);
  EXPECT_STREQ(L"Invalid DateTime", f.Format(L"%Y"));
  f.SetStatus(COleDateTime::null);
  EXPECT_STREQ(L"", f.Format(L"%Y"));
}

TEST(OleDateTimeConversion, FromVariantsAndCalendarTimes) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(L"garbage");
  COleDateTime fromText(v);
  EXPECT_EQ(COleDateTime::invalid, fromText.GetStatus());
  VariantClear(&v);
  v.vt = VT_DATE;
  v.date = 2.0;
  EXPECT_EQ(1900, COleDateTime(v).GetYear());
  COleDateTime fromTime(static_cast<__time64_t>(0));  // TZ is UTC under the test runner
  ExpectFields(fromTime, 1970, 1, 1, 0, 0, 0);
}

}  // namespace
