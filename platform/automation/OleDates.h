// Dates as the automation servers deliver them: OLE DATE values in local time, with the message
// format's "no date" (4501-01-01) for a date the item does not carry.
#pragma once

#include "PstSource.h"

#include <windows.h>

#include <optional>

namespace automation {

// 4501-01-01 00:00 as an OLE DATE.
constexpr double kNoDate = 949998.0;

// A stored UTC time as local time, with the daylight-saving rule in force at that date. A missing
// value, a zero FILETIME or one at or past 4500-01-01 (the stored form of "none") gives kNoDate.
double UtcToLocalOleDate(const std::optional<FileTime>& utc);
// A time stored as local wall-clock time already (task dates): no zone is applied.
double LocalFileTimeToOleDate(const std::optional<FileTime>& local);

// Minutes to subtract from UTC for local time in `zone` at a UTC instant (FILETIME ticks), by the
// zone's yearly daylight-saving rule. Computed here rather than by the system, which would read the
// zone from the registry on every call.
LONG ZoneBiasAt(const TIME_ZONE_INFORMATION& zone, uint64_t utcTicks);

// Plain arithmetic between FILETIME ticks and OLE DATE (no zone); exposed for tests.
double FileTimeTicksToOleDate(uint64_t ticks);

}  // namespace automation
