#include "system_services/files/file_dates.h"

#include <cstdio>

namespace rxsystem {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1970 to the given day of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

int ScanNumbers(std::string_view text, char separator, int count, bool shortRange, long long* out) {
  const long long low = shortRange ? -32768 : -2147483648LL;
  const long long high = shortRange ? 32767 : 2147483647LL;
  size_t at = 0;
  int read = 0;
  while (read < count) {
    if (read > 0) {
      // A literal of the format matches only itself: no blanks are skipped before it.
      if (at >= text.size() || text[at] != separator) break;
      ++at;
    }
    while (at < text.size() && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at >= text.size() || text[at] < '0' || text[at] > '9') break;
    long long value = 0;
    bool inRange = true;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
      if (inRange) value = value * 10 + (text[at] - '0');
      if (value > high + 1) inRange = false;
    }
    if (negative) value = -value;
    if (!inRange || value < low || value > high) break;
    out[read++] = value;
  }
  return read;
}

bool IsCalendarTime(const CalendarTime& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
         t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

std::optional<CalendarTime> ParseSearchDate(std::string_view text) {
  long long v[3];
  if (ScanNumbers(text, '/', 3, false, v) != 3) return std::nullopt;
  // The year is counted from 1900; the bounds keep every value inside an int.
  if (v[0] < 1 || v[0] > 12 || v[1] < 1 || v[1] > 31 || v[2] < -1900 || v[2] > 100000) return std::nullopt;
  CalendarTime t;
  t.month = static_cast<int>(v[0]);
  t.day = static_cast<int>(v[1]);
  t.year = static_cast<int>(v[2] + 1900);
  t.second = 1;
  if (!IsCalendarTime(t)) return std::nullopt;
  return t;
}

std::optional<CalendarTime> ParseFileDateTime(std::string_view date, std::string_view time) {
  long long d[3];
  long long h[3] = {0, 0, 0};
  if (ScanNumbers(date, '/', 3, true, d) != 3) return std::nullopt;
  if (ScanNumbers(time, ':', 3, true, h) < 2) return std::nullopt;
  // A negative year has no two-digit reading.
  if (d[2] < 0) return std::nullopt;
  CalendarTime t;
  // Every value fits a short, so the checks below see them unchanged.
  t.month = static_cast<int>(d[0]);
  t.day = static_cast<int>(d[1]);
  t.year = static_cast<int>(d[2] < 50 ? 2000 + d[2] : d[2] < 1000 ? 1900 + d[2] : d[2]);
  t.hour = static_cast<int>(h[0]);
  t.minute = static_cast<int>(h[1]);
  t.second = static_cast<int>(h[2]);
  if (!IsCalendarTime(t)) return std::nullopt;
  return t;
}

size_t FormatFileTime(const CalendarTime& t, char* out, size_t capacity) {
  if (capacity == 0) return 0;
  int n = std::snprintf(out, capacity, "%d/%d/%d %d:%02d:%02d", t.month, t.day, t.year - 1900, t.hour,
                        t.minute, t.second);
  if (n < 0) {
    out[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(n) < capacity ? static_cast<size_t>(n) : capacity - 1;
}

int64_t SecondsSince1970(const CalendarTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

}  // namespace rxsystem
