// COleDateTime and COleDateTimeSpan: automation dates (days since 30 December 1899 as a double; the
// fraction is the time of day, taken as positive also for dates before 1899) with a status. Dates
// are valid from 1 January 100 to 31 December 9999; fields are read rounded to the nearest second.
#pragma once

#include "framework/String.h"
#include "framework/Time.h"

#include <oleauto.h>

class CArchive;

#define AFX_OLE_DATETIME_ERROR (-1)
#define AFX_OLE_DATETIME_HALFSECOND (1.0 / (2.0 * (60.0 * 60.0 * 24.0)))

class COleDateTimeSpan {
 public:
  enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

  COleDateTimeSpan() : m_span(0), m_status(valid) {}
  COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid) {}
  COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
  }

  void SetStatus(DateTimeSpanStatus status) { m_status = status; }
  DateTimeSpanStatus GetStatus() const { return m_status; }
  void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  double GetTotalDays() const { return m_span; }
  double GetTotalHours() const { return m_span * 24; }
  double GetTotalMinutes() const { return m_span * 24 * 60; }
  double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }
  // Parts of the span rounded to the second; the sign follows the span.
  LONG GetDays() const;
  LONG GetHours() const;
  LONG GetMinutes() const;
  LONG GetSeconds() const;

  COleDateTimeSpan operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTimeSpan operator-(const COleDateTimeSpan& dateSpan) const;
  const COleDateTimeSpan& operator+=(const COleDateTimeSpan dateSpan) { return *this = *this + dateSpan; }
  const COleDateTimeSpan& operator-=(const COleDateTimeSpan dateSpan) { return *this = *this - dateSpan; }
  COleDateTimeSpan operator-() const { return COleDateTimeSpan(-m_span).WithStatus(m_status); }
  operator double() const { return m_span; }

  bool operator==(const COleDateTimeSpan& s) const { return m_status == s.m_status && m_span == s.m_span; }
  bool operator!=(const COleDateTimeSpan& s) const { return !(*this == s); }
  bool operator<(const COleDateTimeSpan& s) const { return m_span < s.m_span; }
  bool operator>(const COleDateTimeSpan& s) const { return m_span > s.m_span; }
  bool operator<=(const COleDateTimeSpan& s) const { return m_span <= s.m_span; }
  bool operator>=(const COleDateTimeSpan& s) const { return m_span >= s.m_span; }

  // %D days, %H hours, %M minutes, %S seconds, %% a percent sign. Empty unless valid.
  CString Format(LPCWSTR pFormat) const;

  double m_span;
  DateTimeSpanStatus m_status;

 private:
  COleDateTimeSpan WithStatus(DateTimeSpanStatus s) const {
    COleDateTimeSpan r(*this);
    r.m_status = s;
    return r;
  }
};

class COleDateTime {
 public:
  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  static COleDateTime PASCAL GetCurrentTime();

  COleDateTime() : m_dt(0), m_status(valid) {}
  COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(valid) {}
  COleDateTime(const VARIANT& varSrc) { *this = varSrc; }
  COleDateTime(__time64_t timeSrc) { *this = timeSrc; }
  COleDateTime(const SYSTEMTIME& systimeSrc) { *this = systimeSrc; }
  COleDateTime(const FILETIME& filetimeSrc) { *this = filetimeSrc; }
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
  }

  const COleDateTime& operator=(DATE dtSrc);
  const COleDateTime& operator=(const VARIANT& varSrc);
  const COleDateTime& operator=(__time64_t timeSrc);
  const COleDateTime& operator=(const SYSTEMTIME& systimeSrc);
  const COleDateTime& operator=(const FILETIME& filetimeSrc);

  DateTimeStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeStatus status) { m_status = status; }
  operator DATE() const { return m_dt; }

  // Each returns AFX_OLE_DATETIME_ERROR (-1) unless the status is valid and the value is in range.
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  int GetDayOfYear() const;  // 1 = 1 January
  BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;

  // Each returns 0 and sets the status valid, or returns 1 and sets it invalid (fields out of range:
  // year 100..9999, a real day of the month, 0..23, 0..59, 0..59).
  int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
  int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

  // Parses text the way the system's automation conversions do (VAR_DATEVALUEONLY and
  // VAR_TIMEVALUEONLY are honoured). FALSE with the status invalid when the text is no date.
  BOOL ParseDateTime(LPCWSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

  // strftime conversions on the fields; "Invalid DateTime" when invalid, empty when null.
  CString Format(LPCWSTR lpszFormat) const;
  // The system's automation text form of the date.
  CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;

  COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
  const COleDateTime& operator+=(const COleDateTimeSpan dateSpan) { return *this = *this + dateSpan; }
  const COleDateTime& operator-=(const COleDateTimeSpan dateSpan) { return *this = *this - dateSpan; }
  COleDateTimeSpan operator-(const COleDateTime& date) const;

  // Compare the points in time (dates before 1899 are encoded non-monotonically).
  bool operator==(const COleDateTime& date) const;
  bool operator!=(const COleDateTime& date) const { return !(*this == date); }
  bool operator<(const COleDateTime& date) const;
  bool operator>(const COleDateTime& date) const { return date < *this; }
  bool operator<=(const COleDateTime& date) const { return !(date < *this); }
  bool operator>=(const COleDateTime& date) const { return !(*this < date); }

  DATE m_dt;
  DateTimeStatus m_status;

 private:
  bool GetFields(SYSTEMTIME& st) const;
};

// Archive forms: the status as a LONG, then the value as a double.
CArchive& AFXAPI operator<<(CArchive& ar, COleDateTime dateSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc);
CArchive& AFXAPI operator<<(CArchive& ar, COleDateTimeSpan dateSpanSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleDateTimeSpan& dateSpanSrc);
