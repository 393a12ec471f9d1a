// FILETIME to OLE DATE conversion for the stand-in servers.
#include "OleDates.h"

#include <windows.h>

#include <cmath>

namespace automation {

namespace {

constexpr uint64_t kTicksPerDay = 864000000000ULL;
// Days from 1601-01-01 (FILETIME epoch) to 1899-12-30 (OLE DATE epoch).
constexpr double kOleEpochDays = 109205.0;
// 4500-01-01 00:00 UTC in FILETIME ticks; stored "none" dates lie at or beyond it.
constexpr uint64_t kNoDateThreshold = 1058838ULL * kTicksPerDay;

bool IsNoDate(const std::optional<FileTime>& t) {
  return !t || t->ticks == 0 || t->ticks >= kNoDateThreshold;
}

// The zone is read once per process and its rule applied here: asked for on every conversion, Wine reads
// the zone's registry keys each time, and a conversion reads several dates of every item.
const TIME_ZONE_INFORMATION& LocalTimeZone() {
  static const TIME_ZONE_INFORMATION zone = [] {
    TIME_ZONE_INFORMATION tzi = {};
    if (GetTimeZoneInformation(&tzi) == TIME_ZONE_ID_INVALID) tzi = TIME_ZONE_INFORMATION{};
    return tzi;
  }();
  return zone;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Day of week (0 = Sunday) of a Gregorian date.
int DayOfWeek(int year, int month, int day) {
  static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

// Ticks into `year` (local wall-clock time) at which a zone transition happens. The rule names the
// n-th given weekday of a month (n = 5: the last), at a time of day; wYear != 0 is an absolute date.
int64_t TransitionTicksInYear(const SYSTEMTIME& rule, int year) {
  int day = rule.wDay;
  if (rule.wYear == 0) {
    const int first = 1 + (rule.wDayOfWeek - DayOfWeek(year, rule.wMonth, 1) + 7) % 7;
    day = first + 7 * (rule.wDay - 1);
    while (day > DaysInMonth(year, rule.wMonth)) day -= 7;
  }
  int64_t days = day - 1;
  for (int m = 1; m < rule.wMonth; m++) days += DaysInMonth(year, m);
  const int64_t seconds = rule.wHour * 3600 + rule.wMinute * 60 + rule.wSecond;
  return (days * 86400 + seconds) * 10000000 + int64_t(rule.wMilliseconds) * 10000;
}

}  // namespace

LONG ZoneBiasAt(const TIME_ZONE_INFORMATION& zone, uint64_t utcTicks) {
  if (zone.StandardDate.wMonth == 0 || zone.DaylightDate.wMonth == 0) return zone.Bias;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(utcTicks);
  ft.dwHighDateTime = static_cast<DWORD>(utcTicks >> 32);
  SYSTEMTIME universal;
  if (!FileTimeToSystemTime(&ft, &universal)) return zone.Bias;
  const int year = universal.wYear;
  SYSTEMTIME yearStart = {};
  yearStart.wYear = static_cast<WORD>(year);
  yearStart.wMonth = 1;
  yearStart.wDay = 1;
  FILETIME startFt;
  SystemTimeToFileTime(&yearStart, &startFt);
  const int64_t start = (int64_t(startFt.dwHighDateTime) << 32) | startFt.dwLowDateTime;
  const int64_t utcInYear = int64_t(utcTicks) - start;
  constexpr int64_t kTicksPerMinute = 600000000;
  // Both transitions are given in the local time in force just before them.
  const int64_t daylightStarts = TransitionTicksInYear(zone.DaylightDate, year) +
                                 int64_t(zone.Bias + zone.StandardBias) * kTicksPerMinute;
  const int64_t daylightEnds = TransitionTicksInYear(zone.StandardDate, year) +
                               int64_t(zone.Bias + zone.DaylightBias) * kTicksPerMinute;
  const bool daylight = daylightStarts < daylightEnds
                            ? utcInYear >= daylightStarts && utcInYear < daylightEnds
                            : utcInYear >= daylightStarts || utcInYear < daylightEnds;  // southern zones
  return zone.Bias + (daylight ? zone.DaylightBias : zone.StandardBias);
}

double FileTimeTicksToOleDate(uint64_t ticks) {
  double days = static_cast<double>(ticks / kTicksPerDay) - kOleEpochDays;
  double fraction = static_cast<double>(ticks % kTicksPerDay) / static_cast<double>(kTicksPerDay);
  // Before the epoch the OLE day counts down while its time of day still counts up.
  return days >= 0 ? days + fraction : days - fraction;
}

double UtcToLocalOleDate(const std::optional<FileTime>& utc) {
  if (IsNoDate(utc)) return kNoDate;
  constexpr int64_t kTicksPerMinute = 600000000;
  const int64_t local =
      int64_t(utc->ticks) - int64_t(ZoneBiasAt(LocalTimeZone(), utc->ticks)) * kTicksPerMinute;
  return FileTimeTicksToOleDate(local > 0 ? uint64_t(local) : 0);
}

double LocalFileTimeToOleDate(const std::optional<FileTime>& local) {
  if (IsNoDate(local)) return kNoDate;
  return FileTimeTicksToOleDate(local->ticks);
}

}  // namespace automation
