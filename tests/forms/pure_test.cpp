#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "forms/core/checked_arithmetic.h"
#include "forms/core/text.h"

namespace {

TEST(Cp1253, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::wstring wide = forms::Widen(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(forms::Narrow(wide), all);
}

TEST(Cp1253, GreekLettersAreTheirUnicode) {
  // Source literals are compiled to code page 1253 bytes.
  EXPECT_EQ(std::string("Ναι"), std::string("\xCD\xE1\xE9"));
  EXPECT_EQ(forms::Widen("Ναι"), std::wstring(L"\u039D\u03B1\u03B9"));
  EXPECT_EQ(forms::Widen("Έ&ναρξη"), std::wstring(L"\u0388&\u03BD\u03B1\u03C1\u03BE\u03B7"));
  EXPECT_EQ(forms::Narrow(L"\u03C9\u20AC"), std::string("\xF9\x80"));
  EXPECT_EQ(forms::Narrow(L"\u4E2D"), "?");
  EXPECT_EQ(forms::ToUtf8("Ω"), "\xCE\xA9");
}

struct RoundCase {
  double value;
  std::int32_t round, trunc;
};

TEST(CheckedConversions, HalvesToEvenAndTowardZero) {
  const RoundCase cases[] = {
      {0.5, 0, 0},
      {1.5, 2, 1},
      {2.5, 2, 2},
      {-0.5, 0, 0},
      {-1.5, -2, -1},  // 5
      {-2.7, -3, -2},
      {2147483647.4, 2147483647, 2147483647},
      {-2147483648.4, -2147483647 - 1, -2147483647 - 1},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    EXPECT_EQ(forms::Round(cases[row].value), cases[row].round) << "row " << row;
    EXPECT_EQ(forms::Trunc(cases[row].value), cases[row].trunc) << "row " << row;
  }
}

TEST(CheckedConversions, OutOfRangeRaisesTheRangeError) {
  const double bad[] = {2147483647.5 + 1,
                        -2147483649.0,
                        1e300,
                        std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  for (double v : bad) {
    EXPECT_THROW(forms::Round(v), forms::RangeError) << v;
    EXPECT_THROW(forms::Trunc(v), forms::RangeError) << v;
  }
  EXPECT_THROW(forms::CheckedAdd(2147483647, 1), forms::OverflowError);
  EXPECT_THROW(forms::CheckedSub(-2147483647 - 1, 1), forms::OverflowError);
  EXPECT_THROW(forms::CheckedMul(65536, 65536), forms::OverflowError);
  EXPECT_EQ(forms::CheckedAdd(2, 3), 5);
}

}  // namespace
