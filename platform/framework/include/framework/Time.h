// CTime and CTimeSpan: calendar times as seconds since 1970 (64-bit), shown in local time.
#pragma once

#include "framework/String.h"

#include <ctime>

class CArchive;

class CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(__time64_t time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
      : m_timeSpan(((static_cast<__time64_t>(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs) {}

  LONGLONG GetDays() const { return m_timeSpan / (24 * 3600); }
  LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
  LONG GetHours() const { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
  LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
  LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
  LONGLONG GetTotalSeconds() const { return m_timeSpan; }
  LONG GetSeconds() const { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }
  __time64_t GetTimeSpan() const { return m_timeSpan; }

  CTimeSpan operator-(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan - timeSpan.m_timeSpan); }
  CTimeSpan operator+(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan + timeSpan.m_timeSpan); }
  const CTimeSpan& operator+=(CTimeSpan timeSpan) {
    m_timeSpan += timeSpan.m_timeSpan;
    return *this;
  }
  const CTimeSpan& operator-=(CTimeSpan timeSpan) {
    m_timeSpan -= timeSpan.m_timeSpan;
    return *this;
  }
  bool operator==(CTimeSpan t) const { return m_timeSpan == t.m_timeSpan; }
  bool operator!=(CTimeSpan t) const { return m_timeSpan != t.m_timeSpan; }
  bool operator<(CTimeSpan t) const { return m_timeSpan < t.m_timeSpan; }
  bool operator>(CTimeSpan t) const { return m_timeSpan > t.m_timeSpan; }
  bool operator<=(CTimeSpan t) const { return m_timeSpan <= t.m_timeSpan; }
  bool operator>=(CTimeSpan t) const { return m_timeSpan >= t.m_timeSpan; }

  // %D days, %H hours, %M minutes, %S seconds, %% a percent sign.
  CString Format(LPCWSTR pFormat) const;

 private:
  __time64_t m_timeSpan = 0;
};

class CTime {
 public:
  static CTime PASCAL GetCurrentTime();

  CTime() = default;
  CTime(__time64_t time) : m_time(time) {}
  // Local calendar fields; nDST < 0 lets the C runtime decide. Fields that give no valid time throw
  // CInvalidArgException*.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
  CTime(const SYSTEMTIME& st, int nDST = -1);
  CTime(const FILETIME& ft, int nDST = -1);

  __time64_t GetTime() const { return m_time; }
  // FALSE when the time cannot be represented (before 1970 in local time, for instance).
  BOOL GetAsSystemTime(SYSTEMTIME& st) const;
  struct tm* GetLocalTm(struct tm* ptm) const;
  struct tm* GetGmtTm(struct tm* ptm) const;

  // Local calendar fields; -1 when the time cannot be broken down.
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday

  CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
  CTime operator-(CTimeSpan timeSpan) const { return CTime(m_time - timeSpan.GetTimeSpan()); }
  CTime operator+(CTimeSpan timeSpan) const { return CTime(m_time + timeSpan.GetTimeSpan()); }
  const CTime& operator+=(CTimeSpan timeSpan) {
    m_time += timeSpan.GetTimeSpan();
    return *this;
  }
  const CTime& operator-=(CTimeSpan timeSpan) {
    m_time -= timeSpan.GetTimeSpan();
    return *this;
  }
  bool operator==(CTime t) const { return m_time == t.m_time; }
  bool operator!=(CTime t) const { return m_time != t.m_time; }
  bool operator<(CTime t) const { return m_time < t.m_time; }
  bool operator>(CTime t) const { return m_time > t.m_time; }
  bool operator<=(CTime t) const { return m_time <= t.m_time; }
  bool operator>=(CTime t) const { return m_time >= t.m_time; }

  // strftime conversions; the text is empty when the time cannot be broken down.
  CString Format(LPCWSTR pFormat) const;
  CString FormatGmt(LPCWSTR pFormat) const;

 private:
  __time64_t m_time = 0;
};

CArchive& AFXAPI operator<<(CArchive& ar, CTime time);
CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime);
CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan);
CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan);
