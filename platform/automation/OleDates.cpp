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

}  // namespace

double FileTimeTicksToOleDate(uint64_t ticks) {
  double days = static_cast<double>(ticks / kTicksPerDay) - kOleEpochDays;
  double fraction = static_cast<double>(ticks % kTicksPerDay) / static_cast<double>(kTicksPerDay);
  // Before the epoch the OLE day counts down while its time of day still counts up.
  return days >= 0 ? days + fraction : days - fraction;
}

double UtcToLocalOleDate(const std::optional<FileTime>& utc) {
  if (IsNoDate(utc)) return kNoDate;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(utc->ticks);
  ft.dwHighDateTime = static_cast<DWORD>(utc->ticks >> 32);
  SYSTEMTIME universal, local;
  FILETIME localFt;
  if (!FileTimeToSystemTime(&ft, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) ||
      !SystemTimeToFileTime(&local, &localFt))
    return FileTimeTicksToOleDate(utc->ticks);
  uint64_t localTicks = (static_cast<uint64_t>(localFt.dwHighDateTime) << 32) | localFt.dwLowDateTime;
  // SYSTEMTIME keeps milliseconds only; the sub-millisecond rest is carried over unchanged.
  localTicks += utc->ticks % 10000;
  return FileTimeTicksToOleDate(localTicks);
}

double LocalFileTimeToOleDate(const std::optional<FileTime>& local) {
  if (IsNoDate(local)) return kNoDate;
  return FileTimeTicksToOleDate(local->ticks);
}

}  // namespace automation
