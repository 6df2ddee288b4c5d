#include "forms/core/design_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(DesignScale, ValuesRoundHalfAwayFromZero) {
  struct Case {
    int value, numerator, denominator, expected;
  };
  const Case cases[] = {
      {965, 96, 110, 842},
      {373, 96, 110, 326},  // 325.53
      {127, 96, 110, 111},
      {24, 96, 110, 21},
      {-23, 96, 110, -20},  // 5
      {55, 96, 110, 48},    // 48.0
      {5, 1, 2, 3},         // a half goes away from zero
      {-5, 1, 2, -3},
      {7, 120, 96, 9},                 // 8.75
      {2147483647, 2, 2, 2147483647},  // 10: the intermediate does not overflow
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(++row));
    EXPECT_EQ(forms::ScaleValue(c.value, c.numerator, c.denominator), c.expected);
  }
  EXPECT_THROW(forms::ScaleValue(1, 1, 0), forms::RangeError);
  EXPECT_THROW(forms::ScaleValue(2147483647, 2, 1), forms::RangeError);
}

TEST(DesignScale, BoundsScaleTheirEdges) {
  forms::DesignScale s(96, 110);
  // The results dialog's controls at 96 pixels per inch.
  struct Case {
    forms::DesignBounds design, screen;
  };
  const Case cases[] = {
      {{191, 20, 271, 29}, {167, 17, 236, 26}},    // table_label
      {{470, 20, 112, 29}, {410, 17, 98, 26}},     // what_Label
      {{588, 20, 90, 29}, {513, 17, 79, 26}},      // wave_label
      {{9, 59, 690, 208}, {8, 51, 602, 182}},      // results_StringGrid
      {{426, 325, 139, 41}, {372, 284, 121, 35}},  // 5: ok_BitBtn
      {{610, 325, 140, 41}, {532, 284, 123, 35}},  // cancel_bitbtn
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(++row));
    forms::DesignBounds b = s.Bounds(c.design);
    EXPECT_EQ(b, c.screen) << b.left << "," << b.top << " " << b.width << "x" << b.height;
  }
  // Two controls that touch at design time still touch.
  forms::DesignBounds a = s.Bounds({0, 0, 33, 10}), b = s.Bounds({33, 0, 33, 10});
  EXPECT_EQ(a.left + a.width, b.left);
  EXPECT_TRUE(forms::DesignScale(110, 110).Identity());
  EXPECT_THROW(forms::DesignScale(0, 110), forms::RangeError);
}

}  // namespace
