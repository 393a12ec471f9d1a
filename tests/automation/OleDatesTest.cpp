// Dates as the servers deliver them, and the fault seam's parsing.
#include "OleDates.h"
#include "StandInFaults.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

using automation::FileTime;
using automation::kNoDate;

namespace {
uint64_t Ticks(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms = 0) {
  SYSTEMTIME st = {y, mo, 0, d, h, mi, s, ms};
  FILETIME ft;
  EXPECT_TRUE(SystemTimeToFileTime(&st, &ft));
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
}  // namespace

TEST(OleDates, UtcBecomesLocalOleDateUnderUtcZone) {
  // The test runner fixes TZ=UTC, so local time equals UTC here.
  EXPECT_DOUBLE_EQ(45356.0 + 14.5 / 24.0,
                   automation::UtcToLocalOleDate(FileTime{Ticks(2024, 3, 5, 14, 30, 0)}));
  EXPECT_DOUBLE_EQ(0.0, automation::UtcToLocalOleDate(FileTime{Ticks(1899, 12, 30, 0, 0, 0)}));
  // Before the OLE epoch the day counts down while the time of day still counts up.
  EXPECT_DOUBLE_EQ(-1.25, automation::UtcToLocalOleDate(FileTime{Ticks(1899, 12, 29, 6, 0, 0)}));
  EXPECT_DOUBLE_EQ(45356.0, automation::LocalFileTimeToOleDate(FileTime{Ticks(2024, 3, 5, 0, 0, 0)}));
}

TEST(OleDates, MissingZeroAndStoredNoneAreTheNoDate) {
  EXPECT_DOUBLE_EQ(949998.0, kNoDate);
  EXPECT_DOUBLE_EQ(kNoDate, automation::UtcToLocalOleDate(std::nullopt));
  EXPECT_DOUBLE_EQ(kNoDate, automation::UtcToLocalOleDate(FileTime{0}));
  EXPECT_DOUBLE_EQ(kNoDate, automation::UtcToLocalOleDate(FileTime{Ticks(4501, 1, 1, 0, 0, 0)}));
  EXPECT_DOUBLE_EQ(kNoDate, automation::LocalFileTimeToOleDate(FileTime{0xFFFFFFFFFFFFFFFFULL}));
  DATE expected;
  SYSTEMTIME noDate = {4501, 1, 0, 1, 0, 0, 0, 0};
  ASSERT_TRUE(SystemTimeToVariantTime(&noDate, &expected));
  EXPECT_DOUBLE_EQ(expected, kNoDate);
}

// The zone rule computed by the server agrees with the system's own conversion for the same zone, on
// both sides of each transition, north and south of the equator.
TEST(OleDates, ZoneBiasFollowsTheDaylightRuleLikeTheSystem) {
  TIME_ZONE_INFORMATION eastern = {};
  eastern.Bias = 300;
  eastern.StandardDate = {0, 11, 0, 1, 2, 0, 0, 0};  // first Sunday of November, 02:00
  eastern.DaylightDate = {0, 3, 0, 2, 2, 0, 0, 0};   // second Sunday of March, 02:00
  eastern.DaylightBias = -60;
  TIME_ZONE_INFORMATION sydney = {};
  sydney.Bias = -600;
  sydney.StandardDate = {0, 4, 0, 1, 3, 0, 0, 0};   // first Sunday of April, 03:00
  sydney.DaylightDate = {0, 10, 0, 1, 2, 0, 0, 0};  // first Sunday of October, 02:00
  sydney.DaylightBias = -60;
  TIME_ZONE_INFORMATION fixed = {};
  fixed.Bias = -330;

  for (const TIME_ZONE_INFORMATION* zone : {&eastern, &sydney, &fixed}) {
    for (WORD year : {1999, 2024, 2025}) {
      for (uint64_t t = Ticks(year, 1, 1, 0, 0, 0); t < Ticks(year + 1, 1, 1, 0, 0, 0);
           t += 37ULL * 60 * 60 * 10000000) {  // every 37 hours: every hour of the day comes up
        FILETIME ft = {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
        SYSTEMTIME universal, local;
        FILETIME localFt;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &universal));
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(zone, &universal, &local));
        ASSERT_TRUE(SystemTimeToFileTime(&local, &localFt));
        const int64_t expected =
            (int64_t(t) - ((int64_t(localFt.dwHighDateTime) << 32 | localFt.dwLowDateTime))) / 600000000;
        ASSERT_EQ(expected, automation::ZoneBiasAt(*zone, t))
            << "zone bias " << zone->Bias << ", " << universal.wYear << "-" << universal.wMonth << "-"
            << universal.wDay << " " << universal.wHour << ":00 UTC";
      }
    }
  }
}

TEST(StandInFaults, PlainAndCountedKeys) {
  automation::StandInFaults faults(" rdo.logon , rdo.item=3,notes.open,rdo.saveasfile=x,rdo.messageclass=0");
  EXPECT_TRUE(faults.Has("rdo.logon"));
  EXPECT_FALSE(faults.Has("rdo.item"));
  EXPECT_FALSE(faults.CountCall("rdo.item"));
  EXPECT_FALSE(faults.CountCall("rdo.item"));
  EXPECT_TRUE(faults.CountCall("rdo.item"));
  EXPECT_FALSE(faults.CountCall("rdo.item"));
  // Malformed counts name no call.
  EXPECT_FALSE(faults.CountCall("rdo.saveasfile"));
  EXPECT_FALSE(faults.CountCall("rdo.messageclass"));
  EXPECT_FALSE(automation::StandInFaults("").Has(""));
}
