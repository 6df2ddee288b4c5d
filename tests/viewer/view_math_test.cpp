#include "viewer/view_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "forms/core/checked_arithmetic.h"

using view::ViewState;

namespace {

struct ZoomCase {
  char key;           // '+' or '-'
  int width, height;  // size after the step
  int level;
  const char* caption;
};

// From a 640 x 480 picture: the sizes and captions of a walk up to the top level and back
// down to the bottom one.
TEST(ViewZoom, StepsFromTheStartingPicture) {
  const std::string base = view::MakeTitleBase("C:\\a.bmp", 640, 480, bmp::PixelFormat::Bit24);
  EXPECT_EQ(view::ZoomCaption(base, 1), "C:\\a.bmp (640,480,24-bit) - [1:1]");
  // clang-format off
  const ZoomCase walk[] = {
      {'+', 904, 678, 2, " - [2:1]"},
      {'+', 1277, 958, 3, " - [3:1]"},
      {'+', 1805, 1354, 4, " - [4:1]"},
      {'+', 1805, 1354, 4, " - [4:1]"},  // the fifth plus only rewrites the caption
      {'-', 1275, 956, 3, " - [3:1]"},   // 5
      {'-', 901, 675, 2, " - [2:1]"},
      {'-', 636, 476, 1, " - [1:1]"},
      {'-', 449, 336, -2, " - [1:2]"},
      {'-', 316, 237, -3, " - [1:3]"},
      {'-', 222, 167, -4, " - [1:4]"},  // 10
      {'-', 222, 167, -4, " - [1:4]"},
      {'+', 313, 235, -3, " - [1:3]"},
  };
  // clang-format on
  ViewState v;
  int w = 640, h = 480;
  for (size_t row = 0; row < std::size(walk); ++row) {
    const ZoomCase& c = walk[row];
    view::ZoomPlan p = c.key == '+' ? view::PlanZoomIn(v, w, h) : view::PlanZoomOut(v, w, h);
    v = p.view;
    if (p.resize) w = p.newWidth, h = p.newHeight;
    EXPECT_EQ(w, c.width) << "row " << row;
    EXPECT_EQ(h, c.height) << "row " << row;
    EXPECT_EQ(v.ZoomLevel, c.level) << "row " << row;
    EXPECT_EQ(view::ZoomCaption(base, v.ZoomLevel), base + c.caption) << "row " << row;
  }
}

TEST(ViewZoom, MinusFirstThenPlusPassesLevelMinusOne) {
  ViewState v;
  view::ZoomPlan out = view::PlanZoomOut(v, 640, 480);
  EXPECT_EQ(out.newWidth, 452);
  EXPECT_EQ(out.newHeight, 338);
  EXPECT_EQ(out.view.ZoomLevel, -2);
  view::ZoomPlan back = view::PlanZoomIn(out.view, out.newWidth, out.newHeight);
  EXPECT_EQ(back.newWidth, 638);
  EXPECT_EQ(back.newHeight, 477);
  EXPECT_EQ(back.view.ZoomLevel, -1);
  EXPECT_EQ(view::ZoomCaption("x", back.view.ZoomLevel), "x - [1:1]");
  EXPECT_EQ(view::PlanZoomIn(back.view, 638, 477).view.ZoomLevel, 2);
}

TEST(ViewZoom, ViewCornerScalesWithoutClamping) {
  struct Case {
    int left, top;
    char key;
    int newLeft, newTop;
  };
  // clang-format off
  const Case cases[] = {
      {100, 100, '+', 171, 171},
      {100, 100, '-', 50, 50},
      {-159, 0, '+', -271, 0},  // the corner left of the picture stays left of it
      {3, 1, '-', 1, 1},        // Round(1.5) = 2, Round(0.5) = 0
      {5, 7, '-', 3, 3},        // 5  Round(2.5) = 2, Round(3.5) = 4
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    ViewState v;
    v.ViewLeft = c.left;
    v.ViewTop = c.top;
    view::ZoomPlan p = c.key == '+' ? view::PlanZoomIn(v, 2000, 2000) : view::PlanZoomOut(v, 2000, 2000);
    EXPECT_EQ(p.view.ViewLeft, c.newLeft) << "row " << row;
    EXPECT_EQ(p.view.ViewTop, c.newTop) << "row " << row;
    EXPECT_EQ(p.view.ViewRight, c.newLeft + 799) << "row " << row;
    EXPECT_EQ(p.view.ViewBottom, c.newTop + 599) << "row " << row;
  }
}

TEST(ViewZoom, NeverBelowOnePixel) {
  ViewState v;
  view::ZoomPlan out = view::PlanZoomOut(v, 1, 2);
  EXPECT_EQ(out.newWidth, 1);
  EXPECT_EQ(out.newHeight, 1);
  view::ZoomPlan in = view::PlanZoomIn(v, 1, 1);
  EXPECT_EQ(in.newWidth, 1);
  EXPECT_EQ(in.newHeight, 1);
  // A size that no integer holds is the range error, not a wrapped size.
  EXPECT_THROW(view::PlanZoomIn(v, INT_MAX, 10), forms::RangeError);
}

struct DragCase {
  int width, height;
  int left, top;  // view before
  int x, y, lastX, lastY;
  int newLeft, newTop;
};

TEST(ViewDrag, PictureFollowsThePointerWithinItsEdges) {
  const DragCase cases[] = {
      {1000, 700, 0, 0, 100, 300, 400, 300, 201, 0},  // left drag stops at width - 799
      {1000, 700, 0, 0, 300, 300, 400, 300, 100, 0},
      {1000, 700, 100, 0, 450, 300, 300, 300, 0, 0},  // right drag stops at 0
      {1000, 700, 0, 0, 300, 250, 300, 300, 0, 50},
      {1000, 700, 0, 80, 300, 0, 300, 300, 0, 101},  // 5
      {800, 600, 0, 0, 390, 290, 400, 300, 1, 1},    // exactly the window's size moves by one
      {799, 599, 0, 0, 100, 100, 400, 300, 0, 0},    // smaller never moves
      {640, 480, 0, 0, 100, 100, 400, 300, 0, 0},
      {1000, 700, 50, 0, 300, 320, 300, 300, 50, 0},  // vertical-only drag keeps ViewLeft
      {1000, 480, 30, 0, 200, 0, 300, 300, 130, 0},   // 10  only the wide axis moves
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const DragCase& c = cases[row];
    ViewState v;
    v.ViewLeft = c.left;
    v.ViewTop = c.top;
    v.ViewRight = c.left + 799;
    v.ViewBottom = c.top + 599;
    view::DragView(v, c.width, c.height, c.x, c.y, c.lastX, c.lastY);
    EXPECT_EQ(v.ViewLeft, c.newLeft) << "row " << row;
    EXPECT_EQ(v.ViewTop, c.newTop) << "row " << row;
    EXPECT_EQ(v.ViewRight, v.ViewLeft + 799) << "row " << row;
    EXPECT_EQ(v.ViewBottom, v.ViewTop + 599) << "row " << row;
  }
}

TEST(ViewKeys, ArrowsMoveFiftyPixelsAndIgnoreThePictureSize) {
  struct Case {
    int width, height;
    const char* keys;  // L U R D
    int left, top;
  };
  // clang-format off
  const Case cases[] = {
      {640, 480, "R", -159, 0},
      {640, 480, "RL", 0, 0},
      {640, 480, "D", 0, -119},
      {1000, 700, "RRRRR", 201, 0},
      {1000, 700, "RRRL", 100, 0},  // 5
      {1000, 700, "DDDDU", 0, 51},
      {1000, 700, "LU", 0, 0},
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    ViewState v;
    for (const char* k = c.keys; *k; ++k) {
      unsigned code = *k == 'L' ? 37 : *k == 'U' ? 38 : *k == 'R' ? 39 : 40;
      EXPECT_TRUE(view::ArrowKeyView(v, code, c.width, c.height));
    }
    EXPECT_EQ(v.ViewLeft, c.left) << "row " << row;
    EXPECT_EQ(v.ViewTop, c.top) << "row " << row;
    EXPECT_EQ(v.ViewRight, c.left + 799) << "row " << row;
    EXPECT_EQ(v.ViewBottom, c.top + 599) << "row " << row;
  }
  ViewState v;
  EXPECT_FALSE(view::ArrowKeyView(v, 65, 640, 480));
  v.ViewLeft = INT_MAX - 100;
  EXPECT_THROW(view::ArrowKeyView(v, 39, INT_MAX, 480), forms::OverflowError);
}

TEST(ViewCaption, EveryPixelFormatHasItsName) {
  struct Case {
    bmp::PixelFormat format;
    const char* name;
  };
  const Case cases[] = {
      {bmp::PixelFormat::DeviceDepth, "Device Depth"},
      {bmp::PixelFormat::Bit1, "1-bit"},
      {bmp::PixelFormat::Bit4, "4-bit"},
      {bmp::PixelFormat::Bit8, "8-bit"},
      {bmp::PixelFormat::Bit15, "15-bit"},
      {bmp::PixelFormat::Bit16, "16-bit"},  // 5
      {bmp::PixelFormat::Bit24, "24-bit"},
      {bmp::PixelFormat::Bit32, "32-bit"},
      {bmp::PixelFormat::Custom, "Custom..."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(view::MakeTitleBase("p.bmp", 3, 4, c.format), std::string("p.bmp (3,4,") + c.name + ")");
  }
}

}  // namespace
