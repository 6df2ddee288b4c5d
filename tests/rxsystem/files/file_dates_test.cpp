// The date and time texts of the file family.
#include "system_services/files/file_dates.h"

#include <gtest/gtest.h>

#include <string>

using namespace rxsystem;

namespace {

std::string Show(const std::optional<CalendarTime>& t) {
  if (!t) return "refused";
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t->year, t->month, t->day, t->hour,
                t->minute, t->second);
  return text;
}

TEST(FileDates, SearchBoundsCountTheYearFrom1900) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"1/1/97", "1997-01-01 00:00:01"},
      {"12/31/101", "2001-12-31 00:00:01"},
      {"1/1/1997", "3897-01-01 00:00:01"},    // far beyond what a second count holds: the caller refuses it
      {" 2/ 29/ 96", "1996-02-29 00:00:01"},  // blanks before a number are skipped
      {"2/29/97", "refused"},
      // 5
      {"13/1/97", "refused"},
      {"0/1/97", "refused"},
      {"1/0/97", "refused"},
      {"1 /1/97", "refused"},  // but not before a separator
      {"1/1", "refused"},
      // 10
      {"1-1-97", "refused"},
      {"", "refused"},
      {"1/1/97 and more", "1997-01-01 00:00:01"},
      {"+3/-0/97", "refused"},
      {"99999999999/1/97", "refused"},
      // 15
      {"1/1/-1901", "refused"},
      {"1/1/-1900", "0000-01-01 00:00:01"},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.text);
    EXPECT_EQ(Show(ParseSearchDate(c.text)), c.expected);
  }
}

TEST(FileDates, FileTimesTakeATwoDigitOrAFullYear) {
  struct Case {
    const char* date;
    const char* time;
    const char* expected;
  };
  const Case cases[] = {
      {"12/31/99", "23:59", "1999-12-31 23:59:00"},
      {"1/2/5", "7:08:09", "2005-01-02 07:08:09"},
      {"1/2/49", "0:0", "2049-01-02 00:00:00"},
      {"1/2/50", "0:0", "1950-01-02 00:00:00"},
      {"12/31/99", "23", "refused"},
      // 5
      {"12/31", "23:59", "refused"},
      {"13/1/99", "1:00", "refused"},
      {"2/29/0", "1:00", "2000-02-29 01:00:00"},
      {"2/29/1", "1:00", "refused"},
      {"1/1/99", "24:00", "refused"},
      // 10
      {"1/1/99", "23:60", "refused"},
      {"1/1/99", "23:59:60", "refused"},
      {"1/1/99", "-1:00", "refused"},
      {"1/1/-5", "1:00", "refused"},
      {"1/1/40000", "1:00", "refused"},  // not a short
      // 15
      {"1/1/97", "1:02:x", "1997-01-01 01:02:00"},  // a second that is not there is 0
      // A year written in full is that year; three digits count from 1900 like the time text.
      {"12/31/1999", "23:59", "1999-12-31 23:59:00"},
      {"2/29/2000", "1:00", "2000-02-29 01:00:00"},
      {"2/29/1900", "1:00", "refused"},
      {"1/1/1000", "0:0", "1000-01-01 00:00:00"},  // whether the platform holds it is its own question
      // 20
      {"1/1/999", "0:0", "2899-01-01 00:00:00"},
      {"7/4/103", "9:30", "2003-07-04 09:30:00"},
      {"12/31/30827", "0:0", "30827-12-31 00:00:00"},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.date + " " + c.time);
    EXPECT_EQ(Show(ParseFileDateTime(c.date, c.time)), c.expected);
  }
}

TEST(FileDates, TheTimeTextCountsTheYearFrom1900) {
  char text[25];
  EXPECT_EQ(FormatFileTime({1997, 3, 15, 14, 5, 9}, text, sizeof text), 16u);
  EXPECT_STREQ(text, "3/15/97 14:05:09");
  FormatFileTime({2003, 12, 1, 0, 0, 0}, text, sizeof text);
  EXPECT_STREQ(text, "12/1/103 0:00:00");
  FormatFileTime({30827, 12, 31, 23, 59, 59}, text, sizeof text);
  EXPECT_STREQ(text, "12/31/28927 23:59:59");
  char small[8];
  EXPECT_EQ(FormatFileTime({1997, 3, 15, 14, 5, 9}, small, sizeof small), 7u);
  EXPECT_STREQ(small, "3/15/97");
}

TEST(FileDates, SecondsSince1970) {
  EXPECT_EQ(SecondsSince1970({1970, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(SecondsSince1970({1997, 1, 1, 0, 0, 1}), 852076801);
  EXPECT_EQ(SecondsSince1970({2038, 1, 19, 3, 14, 7}), 2147483647);
  EXPECT_EQ(SecondsSince1970({1969, 12, 31, 23, 59, 59}), -1);
  EXPECT_EQ(SecondsSince1970({2000, 3, 1, 0, 0, 0}), 951868800);
}

}  // namespace
