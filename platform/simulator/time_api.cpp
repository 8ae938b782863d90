// FileTimeToSystemTime: 100 ns counts since 1 January 1601 to the calendar.
// The launcher feeds it durations (a thread's user time), which land in 1601.
#include <string>

#include "call_log.hpp"

using namespace device_simulator;

namespace {

constexpr std::uint64_t ticks_per_millisecond = 10000;
constexpr std::uint64_t milliseconds_per_day = 86400000;
constexpr std::int64_t days_from_1601_to_1970 = 134774;

// Civil date from days since 1970-01-01 in the proleptic Gregorian calendar.
void civil_from_days(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    unsigned day_of_era = static_cast<unsigned>(days - era * 146097);
    unsigned year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    unsigned day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    unsigned shifted_month = (5 * day_of_year + 2) / 153;
    day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    year = static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2);
}

BOOL convert(const FILETIME* file_time, SYSTEMTIME* system_time) {
    if (!file_time || !system_time) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::uint64_t ticks = (static_cast<std::uint64_t>(file_time->dwHighDateTime) << 32) | file_time->dwLowDateTime;
    if (ticks > 0x7FFFFFFFFFFFFFFFULL) {  // Windows refuses times with the top bit set
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::uint64_t ms = ticks / ticks_per_millisecond;
    std::int64_t days = static_cast<std::int64_t>(ms / milliseconds_per_day);
    std::uint64_t ms_of_day = ms % milliseconds_per_day;
    std::int64_t year;
    unsigned month, day;
    civil_from_days(days - days_from_1601_to_1970, year, month, day);
    system_time->wYear = static_cast<WORD>(year);
    system_time->wMonth = static_cast<WORD>(month);
    system_time->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1 January 1601 was a Monday
    system_time->wDay = static_cast<WORD>(day);
    system_time->wHour = static_cast<WORD>(ms_of_day / 3600000);
    system_time->wMinute = static_cast<WORD>(ms_of_day / 60000 % 60);
    system_time->wSecond = static_cast<WORD>(ms_of_day / 1000 % 60);
    system_time->wMilliseconds = static_cast<WORD>(ms_of_day % 1000);
    return TRUE;
}

}  // namespace

BOOL FileTimeToSystemTime(const FILETIME* file_time, SYSTEMTIME* system_time) {
    simulated_call call(simulated_function::FileTimeToSystemTime);
    BOOL ok = call.fails() ? FALSE : convert(file_time, system_time);
    std::string details = " -> failed";
    if (ok) {
        char text[48];
        std::snprintf(text, sizeof text, " -> %04u-%02u-%02u %02u:%02u:%02u.%03u", system_time->wYear,
                      system_time->wMonth, system_time->wDay, system_time->wHour, system_time->wMinute,
                      system_time->wSecond, system_time->wMilliseconds);
        details = text;
    }
    call.trace([&] { return pointer_text(file_time) + details; });
    return ok;
}
