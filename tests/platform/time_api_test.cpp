// FileTimeToSystemTime on durations and on calendar dates.
#include <gtest/gtest.h>

#include "simulator/windows_ce_api.hpp"

TEST(time_api, file_time_to_system_time) {
    struct row {
        std::uint64_t ticks;  // 100 ns since 1601-01-01
        WORD year, month, day_of_week, day, hour, minute, second, ms;
    };
    const row rows[] = {
        {0, 1601, 1, 1, 1, 0, 0, 0, 0},                       // a Monday
        {19999999, 1601, 1, 1, 1, 0, 0, 1, 999},              // just under two seconds of user time
        {20000000, 1601, 1, 1, 1, 0, 0, 2, 0},
        {25000000, 1601, 1, 1, 1, 0, 0, 2, 500},
        {610000000, 1601, 1, 1, 1, 0, 1, 1, 0},               // 61 s: the second field wraps
        {864000000000ULL, 1601, 1, 2, 2, 0, 0, 0, 0},
        {116444736000000000ULL, 1970, 1, 4, 1, 0, 0, 0, 0},   // the Unix epoch, a Thursday
        {125962560000000000ULL, 2000, 2, 2, 29, 0, 0, 0, 0},  // a leap day
        {0x7FFFFFFFFFFFFFFFULL, 30828, 9, 4, 14, 2, 48, 5, 477},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.ticks);
        FILETIME file_time{static_cast<DWORD>(r.ticks), static_cast<DWORD>(r.ticks >> 32)};
        SYSTEMTIME t = {};
        ASSERT_TRUE(FileTimeToSystemTime(&file_time, &t));
        EXPECT_EQ(t.wYear, r.year);
        EXPECT_EQ(t.wMonth, r.month);
        EXPECT_EQ(t.wDayOfWeek, r.day_of_week);
        EXPECT_EQ(t.wDay, r.day);
        EXPECT_EQ(t.wHour, r.hour);
        EXPECT_EQ(t.wMinute, r.minute);
        EXPECT_EQ(t.wSecond, r.second);
        EXPECT_EQ(t.wMilliseconds, r.ms);
    }
}

TEST(time_api, refuses_times_with_the_top_bit_and_null_records) {
    FILETIME too_large{0, 0x80000000u};
    SYSTEMTIME t = {};
    EXPECT_FALSE(FileTimeToSystemTime(&too_large, &t));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    FILETIME zero{0, 0};
    EXPECT_FALSE(FileTimeToSystemTime(&zero, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
