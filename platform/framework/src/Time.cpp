// CTime and CTimeSpan.
#include "afx.h"
#include "SpanFormat.h"

#include <cwchar>

namespace {

CString FormatTm(const struct tm* ptm, LPCWSTR pFormat) {
  if (!ptm || !pFormat) return CString();
  WCHAR buffer[512];
  size_t n = wcsftime(buffer, 512, pFormat, ptm);
  if (n == 0) return CString();
  return CString(buffer, static_cast<int>(n));
}

}  // namespace

CString CTimeSpan::Format(LPCWSTR pFormat) const {
  return framework_detail::FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

// The one formatter behind both span classes.
CString framework_detail::FormatSpan(LPCWSTR pFormat, LONGLONG days, long hours, long minutes,
                                     long seconds) {
  CString result;
  if (!pFormat) return result;
  for (LPCWSTR p = pFormat; *p; ++p) {
    if (*p != L'%' || !p[1]) {
      result += *p;
      continue;
    }
    CString part;
    switch (*++p) {
      case L'D':
        part.Format(L"%I64d", days);
        break;
      case L'H':
        part.Format(L"%02ld", hours);
        break;
      case L'M':
        part.Format(L"%02ld", minutes);
        break;
      case L'S':
        part.Format(L"%02ld", seconds);
        break;
      default:
        part = *p;
        break;
    }
    result += part;
  }
  return result;
}

CTime PASCAL CTime::GetCurrentTime() { return CTime(_time64(nullptr)); }

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  struct tm t = {};
  t.tm_year = nYear - 1900;
  t.tm_mon = nMonth - 1;
  t.tm_mday = nDay;
  t.tm_hour = nHour;
  t.tm_min = nMin;
  t.tm_sec = nSec;
  t.tm_isdst = nDST;
  if (nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23 || nMin < 0 ||
      nMin > 59 || nSec < 0 || nSec > 59)
    AfxThrowInvalidArgException();
  m_time = _mktime64(&t);
  if (m_time == -1) AfxThrowInvalidArgException();
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : CTime((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0xF, wDosDate & 0x1F, wDosTime >> 11,
            (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST) {}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST) {}

CTime::CTime(const FILETIME& ft, int nDST) {
  // The file time is UTC; the calendar fields are taken in local time like the framework does.
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st))
    AfxThrowInvalidArgException();
  *this = CTime(st, nDST);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
  if (!ptm) return nullptr;
  if (_localtime64_s(ptm, &m_time) != 0) return nullptr;
  return ptm;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const {
  if (!ptm) return nullptr;
  if (_gmtime64_s(ptm, &m_time) != 0) return nullptr;
  return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const {
  struct tm t;
  if (!GetLocalTm(&t)) return FALSE;
  st.wYear = static_cast<WORD>(t.tm_year + 1900);
  st.wMonth = static_cast<WORD>(t.tm_mon + 1);
  st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
  st.wDay = static_cast<WORD>(t.tm_mday);
  st.wHour = static_cast<WORD>(t.tm_hour);
  st.wMinute = static_cast<WORD>(t.tm_min);
  st.wSecond = static_cast<WORD>(t.tm_sec);
  st.wMilliseconds = 0;
  return TRUE;
}

int CTime::GetYear() const {
  struct tm t;
  return GetLocalTm(&t) ? t.tm_year + 1900 : -1;
}
int CTime::GetMonth() const {
  struct tm t;
  return GetLocalTm(&t) ? t.tm_mon + 1 : -1;
}
int CTime::GetDay() const {
  struct tm t;
  return GetLocalTm(&t) ? t.tm_mday : -1;
}
int CTime::GetHour() const {
  struct tm t;
  return GetLocalTm(&t) ? t.tm_hour : -1;
}
int CTime::GetMinute() const {
  struct tm t;
  return GetLocalTm(&t) ? t.tm_min : -1;
}
int CTime::GetSecond() const {
  struct tm t;
  return GetLocalTm(&t) ? t.tm_sec : -1;
}
int CTime::GetDayOfWeek() const {
  struct tm t;
  return GetLocalTm(&t) ? t.tm_wday + 1 : -1;
}

CString CTime::Format(LPCWSTR pFormat) const {
  struct tm t;
  return FormatTm(GetLocalTm(&t), pFormat);
}

CString CTime::FormatGmt(LPCWSTR pFormat) const {
  struct tm t;
  return FormatTm(GetGmtTm(&t), pFormat);
}

CArchive& AFXAPI operator<<(CArchive& ar, CTime time) { return ar << static_cast<LONGLONG>(time.GetTime()); }

CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime) {
  LONGLONG t = 0;
  ar >> t;
  rtime = CTime(static_cast<__time64_t>(t));
  return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan) {
  return ar << static_cast<LONGLONG>(timeSpan.GetTimeSpan());
}

CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan) {
  LONGLONG t = 0;
  ar >> t;
  rtimeSpan = CTimeSpan(static_cast<__time64_t>(t));
  return ar;
}
