// Where SysPosWindow puts a window and how large SysSizeWindow makes it, axis by axis.
#include "system_services/windows/window_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

using namespace rxsystem;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(WindowGeometry, PlacedEdge) {
  struct Case {
    int32_t given, placement, screen, window, expected;
  };
  const Case cases[] = {
      {17, 1, 1024, 320, 352},  // centred
      {17, 2, 1024, 320, 704},  // against the far side
      {17, 0, 1024, 320, 17},   // as given
      {-5, 3, 1024, 320, -5},   // any other value keeps the given edge
      {17, -1, 1024, 320, 17},
      // 5
      {0, 1, 1024, 1025, 0},    // free space -1, halved towards zero
      {0, 1, 1024, 1027, -1},   // -3 / 2
      {0, 1, 800, 1201, -200},  // wider than the screen: a negative left edge
      {0, 2, 800, 1201, -401},
      {0, 1, 1023, 320, 351},  // an odd free space loses its half
      // 10
      {0, 2, kMax, kMin, kMax},  // host values out of all proportion stay on the scale
      {0, 2, kMin, kMax, kMin},
      {0, 1, kMax, kMin, kMax},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    EXPECT_EQ(PlacedEdge(c.given, c.placement, c.screen, c.window), c.expected);
  }
}

TEST(WindowGeometry, SizedExtent) {
  struct Case {
    int32_t given, percent, screen, expected;
  };
  const Case cases[] = {
      {640, 50, 1024, 512},
      {640, 0, 1024, 640},  // no percentage: the size in pixels
      {640, -20, 1024, 640},
      {480, 33, 768, 253},  // 253.44 truncated
      {480, 100, 768, 768},
      // 5
      {480, 150, 768, 1152},  // more than the screen is what was asked for
      {-3, 0, 768, -3},       // the window manager judges the given size itself
      {0, 1, 99, 0},
      {0, kMax, 1024, kMax},  // would wrap round in 32 bits
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    EXPECT_EQ(SizedExtent(c.given, c.percent, c.screen), c.expected);
  }
}

}  // namespace
