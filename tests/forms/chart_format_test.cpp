#include "forms/core/chart_format.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatAxisNumber, DigitPlacesGroupingAndDecimals) {
  struct Case {
    const char* format;
    double value;
    const char* text;
  };
  // clang-format off
  const Case cases[] = {
      {"#,##", 0, ""},  // no digit of zero is significant: the axis origin shows no number
      {"#,##", 5, "5"},
      {"#,##", 1234, "1,234"},
      {"#,##", 1234567, "1,234,567"},
      {"#,##", 999.6, "1,000"},  // 5
      {"#,##", -1500, "-1,500"},
      {"#,##", -0.2, ""},
      {"0.00", 3.14159, "3.14"},
      {"0.##", 2.5, "2.5"},
      {"#.00", 0.5, ".50"},  // 10
      {"000", 7, "007"},
      {"", 0.1, "0.1"},
      {"", 12000000, "12000000"},
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(forms::FormatAxisNumber(c.value, c.format), c.text)
        << "row " << row << ": " << c.value << " as '" << c.format << "'";
  }
}

}  // namespace
