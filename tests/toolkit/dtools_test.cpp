#include "toolkit/dtools.h"

#include <gtest/gtest.h>

#include <cmath>

#include "message_recorder.h"

using dtools::InvalidReal;

namespace {

struct RealCase {
  const char* text;
  double expected;  // InvalidReal for a refused text
  bool message;     // "Invalid real value." shown
};

TEST(TextToReal, ReadsNumbersAndFractions) {
  const RealCase cases[] = {
      {"3/4", 0.75, false},
      {"  2.5", 2.5, false},
      {"2,5", InvalidReal, false},
      {"a/4", InvalidReal, true},
      {"1/2/3", InvalidReal, true},
      {"", InvalidReal, false},  // 5
      {"5.", 5.0, false},
      {".5", 0.5, false},
      {"-1.5e2", -150.0, false},
      {"+7", 7.0, false},
      {"1E-2", 0.01, false},  // 10
      {".", InvalidReal, false},
      {"-", InvalidReal, false},
      {"1e", InvalidReal, false},
      {"1e+", InvalidReal, false},
      {"2.5 ", InvalidReal, false},  // 15
      {"1,000", InvalidReal, false},
      {"inf", InvalidReal, false},
      {"nan", InvalidReal, false},
      {"0x10", InvalidReal, false},
      {"1e400", InvalidReal, false},  // 20
      {"1/0", InvalidReal, true},
      {"0/0", InvalidReal, true},
      {"1e300/1e-300", InvalidReal, true},
      {"-3/ 4", -0.75, false},
      {" 1 /2", InvalidReal, true},  // 25: a space before the slash is trailing text
      {"-2147483647", InvalidReal, false},
      {"1/", InvalidReal, true},
      {"/2", InvalidReal, true},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const RealCase& c = cases[row];
    testing_support::MessageRecorder rec;
    double v = dtools::TextToReal(c.text);
    EXPECT_DOUBLE_EQ(v, c.expected) << "row " << row << " text '" << c.text << "'";
    ASSERT_EQ(rec.Count(), c.message ? 1u : 0u) << "row " << row << " text '" << c.text << "'";
    if (c.message) {
      EXPECT_EQ(rec.messages[0].text, "Invalid real value.");
      EXPECT_EQ(rec.messages[0].type, forms::MsgDlgType::Error);
      EXPECT_EQ(rec.messages[0].buttons, forms::mbOK);
    }
  }
}

TEST(TextToReal, BadNumeratorLeavesDenominatorUnread) {
  testing_support::MessageRecorder rec;
  EXPECT_EQ(dtools::TextToReal("x/y"), InvalidReal);
  EXPECT_EQ(rec.Count(), 1u);
}

struct TextCase {
  double value;
  int decimals;
  const char* expected;
};

TEST(RealToText, CutsWithoutShowingLessThanStored) {
  const TextCase cases[] = {
      {0.3, 2, "0.3"},
      {0.41, 2, "0.41"},
      {0.29, 2, "0.29"},
      {0.4, 2, "0.4"},
      {2.999, 2, "2.99"},  // 5
      {2.0 / 3.0, 2, "0.66"},
      {12.0, 2, "12"},
      {100.0, 0, "100"},
      {3.5, 2, "3.5"},
      {2.0, 2, "2"},  // 10
      {-0.001, 2, "-0"},
      {0.25, 2, "0.25"},
      {350.0 / 100.0, 2, "3.5"},
      {1234.5678, 0, "1234"},
      {-12.75, 1, "-12.7"},  // 15
      {1e20, 2, "100000000000000000000"},
      {0.000001, 3, "0"},
      {5.0, -3, "5"},
      {0.0, 2, "0"},
      {100.0, 2, "100"},  // 20: zeros before the point stay
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const TextCase& c = cases[row];
    EXPECT_EQ(dtools::RealToText(c.value, c.decimals), c.expected)
        << "row " << row << " value " << c.value << " decimals " << c.decimals;
  }
}

TEST(RealToText, TrackBarHundredthsReadBack) {
  // Every track-bar position shows as the value it stands for and reads back as it.
  for (int pos = 0; pos <= 100000; ++pos) {
    double v = pos / 100.0;
    std::string text = dtools::RealToText(v, 2);
    double back = dtools::TextToReal(text);
    ASSERT_EQ(std::nearbyint(back * 100.0), pos) << "position " << pos << " text " << text;
  }
}

TEST(SpaceString, ExactCount) {
  EXPECT_EQ(dtools::SpaceString(0), "");
  EXPECT_EQ(dtools::SpaceString(-4), "");
  EXPECT_EQ(dtools::SpaceString(3), "   ");
  EXPECT_EQ(dtools::SpaceString(80).size(), 80u);
  EXPECT_EQ(dtools::SpaceString(200).size(), 200u);
}

struct AlignCase {
  const char* text;
  int width;
  int mode;
  const char* expected;
};

TEST(AlignText, PadsAndCuts) {
  // clang-format off
  const AlignCase cases[] = {
      {"ab", 5, 1, "  ab "},
      {"abcdef", 3, 0, "abc"},
      {"ab", 2, 1, "ab"},
      {"ab", 5, 0, "ab   "},
      {"ab", 5, 2, "   ab"},  // 5
      {"ab", 6, 1, "  ab  "},
      {"abcdef", 0, 2, ""},
      {"abcdef", -1, 0, ""},
      {"ab", 5, 3, ""},
      {"abcdef", 3, 7, "abc"},  // 10: cutting ignores the mode
      {"", 3, 1, "   "},
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const AlignCase& c = cases[row];
    EXPECT_EQ(dtools::AlignText(c.text, c.width, static_cast<std::uint8_t>(c.mode)), c.expected)
        << "row " << row;
  }
}

TEST(IntToText, Decimal) {
  EXPECT_EQ(dtools::IntToText(0), "0");
  EXPECT_EQ(dtools::IntToText(-42), "-42");
  EXPECT_EQ(dtools::IntToText(2147483647), "2147483647");
  EXPECT_EQ(dtools::IntToText(-2147483647 - 1), "-2147483648");
}

TEST(CheckRange, MessagesOnlyOnRequest) {
  struct Case {
    int value, min, max;
    bool veru, expected;
    const char* message;
  };
  const Case cases[] = {
      {5, 1, 10, true, true, nullptr},
      {0, 1, 10, false, false, nullptr},
      {0, 1, 10, true, false, "Invalid value.\rThe given value must be greater than 1."},
      {11, 1, 10, true, false, "Invalid value.\rThe given value must be less than 10."},
      {11, 1, 10, false, false, nullptr},  // 5
      {1, 1, 10, true, true, nullptr},
      {10, 1, 10, true, true, nullptr},
      {-5, -10, -1, true, true, nullptr},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    testing_support::MessageRecorder rec;
    EXPECT_EQ(dtools::CheckRange(c.value, c.min, c.max, c.veru), c.expected) << "row " << row;
    ASSERT_EQ(rec.Count(), c.message ? 1u : 0u) << "row " << row;
    if (c.message) {
      EXPECT_EQ(rec.messages[0].text, c.message) << "row " << row;
      EXPECT_EQ(rec.messages[0].kind, forms::MessageKind::MessageDlg);
      EXPECT_EQ(rec.messages[0].type, forms::MsgDlgType::Error);
      EXPECT_EQ(rec.messages[0].caption, "Error");
    }
  }
}

}  // namespace
