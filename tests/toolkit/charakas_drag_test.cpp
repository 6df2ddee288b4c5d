// Every zone and every clamp of the ruler's drag, on a 577 x 377 plot panel with the ruler
// where the set-up puts it: (96, 56), 97 x 9.
#include "toolkit/charakas_drag.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

using charakas::DragPoint;
using charakas::RulerBox;
using charakas::RulerLimits;

TEST(CharakasDrag, ZonesAndClampsTable) {
  const RulerLimits lim{577, 377, 40, 2, 2, 20};
  const RulerBox start{96, 56, 97, 9};
  struct Case {
    const char* name;
    RulerBox box;
    int downX, downY, x, y;
    RulerBox expected;
    int downXAfter;
  };
  const Case cases[] = {
      {"left end 30 left", start, 5, 4, -25, 4, {66, 56, 127, 9}, 5},
      {"left end stops at the left limit", start, 5, 4, -95, 4, {40, 56, 153, 9}, 5},
      {"left end shrinks to the minimum", start, 5, 4, 200, 4, {173, 56, 20, 9}, 5},
      {"left end shrinks 10", start, 5, 4, 15, 90, {106, 56, 87, 9}, 5},
      {"left end at column H", start, 9, 4, 4, 4, {91, 56, 102, 9}, 9},
      // 5
      {"right end 30 right", start, 94, 4, 124, 4, {96, 56, 127, 9}, 124},
      {"right end stops at Wp - margin", start, 94, 4, 1000, 4, {96, 56, 479, 9}, 476},
      {"right end shrinks to the minimum", start, 94, 4, -100, 4, {96, 56, 20, 9}, 17},
      {"right end at column W - H", start, 88, 4, 98, 4, {96, 56, 107, 9}, 98},
      {"right end at column W", start, 97, 4, 87, 4, {96, 56, 87, 9}, 87},
      // 10
      {"middle moves both ways", start, 50, 4, 60, 14, {106, 66, 97, 9}, 50},
      {"middle stops at Top 2", start, 50, 4, 50, -1000, {96, 2, 97, 9}, 50},
      {"middle stops 2 above the bottom", start, 50, 4, 50, 1000, {96, 366, 97, 9}, 50},
      {"middle stops at the left limit", start, 50, 4, -1000, 4, {40, 56, 97, 9}, 50},
      {"middle stops at the right limit", start, 50, 4, 1000, 4, {478, 56, 97, 9}, 50},
      // 15
      {"middle from column H + 1", start, 10, 4, 20, 4, {106, 56, 97, 9}, 10},
      {"middle from column W - H - 1", start, 87, 4, 77, 4, {86, 56, 97, 9}, 87},
      {"column 0 is no zone", start, 0, 4, 60, 60, start, 0},
      {"right of the ruler is no zone", start, 98, 4, 60, 60, start, 98},
      {"left end left of its limit keeps the minimum", {30, 56, 25, 9}, 5, 4, 0, 4, {35, 56, 20, 9}, 5},
      // 20
      {"right end past its limit keeps the minimum", {560, 56, 25, 9}, 20, 4, 21, 4, {560, 56, 20, 9}, 15},
      {"no move", start, 50, 4, 50, 4, start, 50},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << c.name);
    DragPoint down{c.downX, c.downY};
    RulerBox got = charakas::DragMove(c.box, lim, down, c.x, c.y);
    EXPECT_EQ(got.Left, c.expected.Left);
    EXPECT_EQ(got.Top, c.expected.Top);
    EXPECT_EQ(got.Width, c.expected.Width);
    EXPECT_EQ(got.Height, c.expected.Height);
    EXPECT_EQ(down.DownX, c.downXAfter);
    EXPECT_EQ(down.DownY, c.downY);
  }
}

// A drag is a series of moves from one press: the right end follows the pointer step by step
// and never passes the limit however far the pointer goes.
TEST(CharakasDrag, RightEndFollowsThePointerOverManyMoves) {
  const RulerLimits lim{577, 377, 40, 2, 2, 20};
  RulerBox box{96, 56, 97, 9};
  DragPoint down{94, 4};
  for (int x = 95; x <= 1200; x += 7) box = charakas::DragMove(box, lim, down, x, 4);
  EXPECT_EQ(box.Left + box.Width, 575);
  for (int x = 1200; x >= -500; x -= 13) box = charakas::DragMove(box, lim, down, x, 4);
  EXPECT_EQ(box.Width, 20);
  EXPECT_EQ(box.Left, 96);
}

}  // namespace
