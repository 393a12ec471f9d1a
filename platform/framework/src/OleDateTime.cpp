// COleDateTime and COleDateTimeSpan.
#include "afxdisp.h"
#include "SpanFormat.h"

#include <cmath>

namespace {

const double kMinDate = -657434.0;  // 1 January 100
const double kMaxDate = 2958465.0;  // 31 December 9999, the whole day
const LONGLONG kSecondsPerDay = 86400;
const LONGLONG kDaysTo1970 = 25569;  // 30 December 1899 to 1 January 1970

// Days since 1 January 1970 of a proleptic Gregorian date.
LONGLONG DaysFromCivil(LONGLONG y, unsigned m, unsigned d) {
  y -= m <= 2;
  const LONGLONG era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<LONGLONG>(doe) - 719468;
}

void CivilFromDays(LONGLONG z, int& y, int& m, int& d) {
  z += 719468;
  const LONGLONG era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<LONGLONG>(yoe) + era * 400 + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeap(y)) ? 29 : kDays[m - 1];
}

// The encoded value as a monotonic number of days (dates before 1899 keep a positive time fraction).
double ToLinear(double dt) {
  double whole = std::trunc(dt);
  return whole + std::fabs(dt - whole);
}

// The inverse of ToLinear.
double FromLinear(double linear) {
  double whole = std::floor(linear);
  return whole >= 0 ? linear : whole - (linear - whole);
}

bool InRange(double dt) { return std::isfinite(dt) && dt > kMinDate - 1 && dt < kMaxDate + 1; }

// Whole seconds since 30 December 1899, rounded to the nearest second.
bool ToSeconds(double dt, LONGLONG& seconds) {
  if (!std::isfinite(dt) || dt <= kMinDate - 1 || dt >= kMaxDate + 1) return false;
  seconds = std::llround(ToLinear(dt) * kSecondsPerDay);
  return true;
}

double FromSeconds(LONGLONG seconds) {
  LONGLONG days =
      seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
  LONGLONG sod = seconds - days * kSecondsPerDay;
  double frac = static_cast<double>(sod) / kSecondsPerDay;
  return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

}  // namespace

// ---- COleDateTimeSpan ----------------------------------------------------------------------------

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
  m_span = lDays + (static_cast<double>(nHours) + (static_cast<double>(nMins) + nSecs / 60.0) / 60.0) / 24.0;
  m_status = valid;
}

namespace {
LONGLONG SpanSeconds(double span) { return std::llround(span * kSecondsPerDay); }
}  // namespace

LONG COleDateTimeSpan::GetDays() const { return static_cast<LONG>(SpanSeconds(m_span) / kSecondsPerDay); }
LONG COleDateTimeSpan::GetHours() const { return static_cast<LONG>(SpanSeconds(m_span) / 3600 % 24); }
LONG COleDateTimeSpan::GetMinutes() const { return static_cast<LONG>(SpanSeconds(m_span) / 60 % 60); }
LONG COleDateTimeSpan::GetSeconds() const { return static_cast<LONG>(SpanSeconds(m_span) % 60); }

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& dateSpan) const {
  COleDateTimeSpan r(m_span + dateSpan.m_span);
  if (m_status != valid || dateSpan.m_status != valid)
    r.m_status = (m_status == null || dateSpan.m_status == null) ? null : invalid;
  return r;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& dateSpan) const {
  COleDateTimeSpan r(m_span - dateSpan.m_span);
  if (m_status != valid || dateSpan.m_status != valid)
    r.m_status = (m_status == null || dateSpan.m_status == null) ? null : invalid;
  return r;
}

CString COleDateTimeSpan::Format(LPCWSTR pFormat) const {
  if (m_status != valid) return CString();
  return framework_detail::FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

// ---- COleDateTime --------------------------------------------------------------------------------

COleDateTime PASCAL COleDateTime::GetCurrentTime() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  st.wMilliseconds = 0;
  return COleDateTime(st);
}

const COleDateTime& COleDateTime::operator=(DATE dtSrc) {
  m_dt = dtSrc;
  m_status = valid;
  return *this;
}

const COleDateTime& COleDateTime::operator=(const VARIANT& varSrc) {
  if (varSrc.vt == VT_DATE) {
    m_dt = varSrc.date;
    m_status = valid;
    return *this;
  }
  if (varSrc.vt == VT_NULL) {
    m_dt = 0;
    m_status = null;
    return *this;
  }
  VARIANT converted;
  VariantInit(&converted);
  if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&varSrc), 0, VT_DATE))) {
    m_dt = converted.date;
    m_status = valid;
  } else {
    m_dt = 0;
    m_status = invalid;
  }
  VariantClear(&converted);
  return *this;
}

const COleDateTime& COleDateTime::operator=(__time64_t timeSrc) {
  // Local calendar time, as CTime shows it.
  struct tm t;
  if (_localtime64_s(&t, &timeSrc) != 0) {
    m_dt = 0;
    m_status = invalid;
    return *this;
  }
  SetDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return *this;
}

const COleDateTime& COleDateTime::operator=(const SYSTEMTIME& systimeSrc) {
  SetDateTime(systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour, systimeSrc.wMinute,
              systimeSrc.wSecond);
  return *this;
}

const COleDateTime& COleDateTime::operator=(const FILETIME& filetimeSrc) {
  // File times are UTC; the date shows local time.
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&filetimeSrc, &local) || !FileTimeToSystemTime(&local, &st)) {
    m_dt = 0;
    m_status = invalid;
    return *this;
  }
  return *this = st;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 ||
      nDay > DaysInMonth(nYear, nMonth) || nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 ||
      nSec > 59) {
    m_dt = 0;
    m_status = invalid;
    return 1;
  }
  LONGLONG days =
      DaysFromCivil(nYear, static_cast<unsigned>(nMonth), static_cast<unsigned>(nDay)) + kDaysTo1970;
  m_dt = FromSeconds(days * kSecondsPerDay + nHour * 3600 + nMin * 60 + nSec);
  m_status = valid;
  return 0;
}

bool COleDateTime::GetFields(SYSTEMTIME& st) const {
  LONGLONG seconds;
  if (m_status != valid || !ToSeconds(m_dt, seconds)) return false;
  LONGLONG days =
      seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
  LONGLONG sod = seconds - days * kSecondsPerDay;
  int y, m, d;
  CivilFromDays(days - kDaysTo1970, y, m, d);
  if (y < 100 || y > 9999) return false;
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(sod / 3600);
  st.wMinute = static_cast<WORD>(sod / 60 % 60);
  st.wSecond = static_cast<WORD>(sod % 60);
  st.wMilliseconds = 0;
  // 30 December 1899 was a Saturday.
  LONGLONG dow = (days % 7 + 7 + 6) % 7;
  st.wDayOfWeek = static_cast<WORD>(dow);
  return true;
}

int COleDateTime::GetYear() const {
  SYSTEMTIME st;
  return GetFields(st) ? st.wYear : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetMonth() const {
  SYSTEMTIME st;
  return GetFields(st) ? st.wMonth : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetDay() const {
  SYSTEMTIME st;
  return GetFields(st) ? st.wDay : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetHour() const {
  SYSTEMTIME st;
  return GetFields(st) ? st.wHour : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetMinute() const {
  SYSTEMTIME st;
  return GetFields(st) ? st.wMinute : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetSecond() const {
  SYSTEMTIME st;
  return GetFields(st) ? st.wSecond : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetDayOfWeek() const {
  SYSTEMTIME st;
  return GetFields(st) ? st.wDayOfWeek + 1 : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetDayOfYear() const {
  SYSTEMTIME st;
  if (!GetFields(st)) return AFX_OLE_DATETIME_ERROR;
  LONGLONG first = DaysFromCivil(st.wYear, 1, 1);
  return static_cast<int>(DaysFromCivil(st.wYear, st.wMonth, st.wDay) - first + 1);
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const { return GetFields(sysTime) ? TRUE : FALSE; }

BOOL COleDateTime::ParseDateTime(LPCWSTR lpszDate, DWORD dwFlags, LCID lcid) {
  if (!lpszDate) {
    m_dt = 0;
    m_status = invalid;
    return FALSE;
  }
  DATE parsed = 0;
  HRESULT hr = VarDateFromStr(const_cast<LPOLESTR>(lpszDate), lcid, dwFlags, &parsed);
  if (FAILED(hr)) {
    // Type mismatch (no date) and overflow (out of range) both leave an invalid date; anything else
    // is the system failing, not the text.
    if (hr != DISP_E_TYPEMISMATCH && hr != DISP_E_OVERFLOW) AfxThrowOleException(hr);
    m_dt = 0;
    m_status = invalid;
    return FALSE;
  }
  m_dt = parsed;
  m_status = valid;
  return TRUE;
}

CString COleDateTime::Format(LPCWSTR lpszFormat) const {
  if (m_status == null) return CString();
  SYSTEMTIME st;
  if (!GetFields(st)) return CString(L"Invalid DateTime");
  if (!lpszFormat) return CString();
  struct tm t = {};
  t.tm_year = st.wYear - 1900;
  t.tm_mon = st.wMonth - 1;
  t.tm_mday = st.wDay;
  t.tm_hour = st.wHour;
  t.tm_min = st.wMinute;
  t.tm_sec = st.wSecond;
  t.tm_wday = st.wDayOfWeek;
  t.tm_yday = GetDayOfYear() - 1;
  t.tm_isdst = -1;
  WCHAR buffer[512];
  size_t n = wcsftime(buffer, 512, lpszFormat, &t);
  return CString(buffer, static_cast<int>(n));
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const {
  if (m_status == null) return CString();
  if (m_status != valid || !InRange(m_dt)) return CString(L"Invalid DateTime");
  BSTR text = nullptr;
  HRESULT hr = VarBstrFromDate(m_dt, lcid, dwFlags, &text);
  if (FAILED(hr)) {
    if (hr == E_OUTOFMEMORY) AfxThrowMemoryException();
    return CString(L"Invalid DateTime");
  }
  CString result(text);
  SysFreeString(text);
  return result;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const {
  COleDateTime r;
  if (m_status == null || dateSpan.m_status == COleDateTimeSpan::null) {
    r.m_status = null;
    return r;
  }
  if (m_status != valid || dateSpan.m_status != COleDateTimeSpan::valid || !InRange(m_dt)) {
    r.m_status = invalid;
    return r;
  }
  r.m_dt = FromLinear(ToLinear(m_dt) + dateSpan.m_span);
  r.m_status = InRange(r.m_dt) ? valid : invalid;
  return r;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const { return *this + (-dateSpan); }

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const {
  COleDateTimeSpan r;
  if (m_status == null || date.m_status == null) {
    r.m_status = COleDateTimeSpan::null;
    return r;
  }
  if (m_status != valid || date.m_status != valid) {
    r.m_status = COleDateTimeSpan::invalid;
    return r;
  }
  r.m_span = ToLinear(m_dt) - ToLinear(date.m_dt);
  return r;
}

bool COleDateTime::operator==(const COleDateTime& date) const {
  return m_status == date.m_status && ToLinear(m_dt) == ToLinear(date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const { return ToLinear(m_dt) < ToLinear(date.m_dt); }

CArchive& AFXAPI operator<<(CArchive& ar, COleDateTime dateSrc) {
  ar << static_cast<LONG>(dateSrc.m_status);
  return ar << dateSrc.m_dt;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc) {
  LONG status = 0;
  ar >> status;
  if (status < COleDateTime::valid || status > COleDateTime::null)
    AfxThrowArchiveException(CArchiveException::genericException);
  dateSrc.m_status = static_cast<COleDateTime::DateTimeStatus>(status);
  return ar >> dateSrc.m_dt;
}

CArchive& AFXAPI operator<<(CArchive& ar, COleDateTimeSpan dateSpanSrc) {
  ar << static_cast<LONG>(dateSpanSrc.m_status);
  return ar << dateSpanSrc.m_span;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleDateTimeSpan& dateSpanSrc) {
  LONG status = 0;
  ar >> status;
  if (status < COleDateTimeSpan::valid || status > COleDateTimeSpan::null)
    AfxThrowArchiveException(CArchiveException::genericException);
  dateSpanSrc.m_status = static_cast<COleDateTimeSpan::DateTimeSpanStatus>(status);
  return ar >> dateSpanSrc.m_span;
}
