// Days and dates of the proleptic Gregorian calendar, counted from
// 1970-01-01; shared by the date texts of the core and the POSIX layer's
// local time.
#pragma once

#include <cstdint>

// Days since 1970-01-01 of year/month/day (month 1-12).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day);

// The date of a day count since 1970-01-01.
void CivilFromDays(int64_t days, int& year, int& month, int& day);
