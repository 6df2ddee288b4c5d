// The date and time texts of the file family: the bounds of a file search, the date and
// time that set a file's times, and the text that reports a file's last-write time. Pure:
// the conversion between local and universal time is the platform's business.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rxsystem {

// A local calendar time with the full year.
struct CalendarTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Reads up to `count` numbers separated by `separator` the way the C library's scanning
// does with "%d" (or "%hd" when `shortRange`) and a literal separator: blanks before each
// number are skipped, a sign is allowed, and whatever follows the last number read is
// ignored. Returns how many were read; a number outside its type's range ends the reading.
int ScanNumbers(std::string_view text, char separator, int count, bool shortRange, long long* out);

// month/day/year with the year counted from 1900 (97 is 1997, 101 is 2001), at 00:00:01:
// the bound of a file search. Nothing when the text does not give three numbers or names no
// day of the calendar.
std::optional<CalendarTime> ParseSearchDate(std::string_view text);

// month/day/year with a two-digit year (below 50 in the 2000s, else the 1900s; a year of
// three digits counts from 1900 as the time text does, so 103 is 2003) or a year written in
// full (1000 and on: 1999 is 1999, never 3899), and hour:minute with an optional :second.
// Nothing when either text does not give its numbers or they name no time of the calendar.
std::optional<CalendarTime> ParseFileDateTime(std::string_view date, std::string_view time);

bool IsCalendarTime(const CalendarTime& t);

// The last-write time as the host reads it: month/day/year-1900 hour:mm:ss ("3/15/97
// 14:05:09"). Writes at most capacity - 1 characters and a NUL; returns the length.
size_t FormatFileTime(const CalendarTime& t, char* out, size_t capacity);

// Seconds between 1 January 1970 and the given calendar time, both read on the same clock.
int64_t SecondsSince1970(const CalendarTime& t);

}  // namespace rxsystem
