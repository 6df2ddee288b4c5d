// The plotter's arithmetic without a window: mapping, labels, layout, mark loops, the
// vertical title and the markers.
#include "toolkit/graph_maths.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "forms/core/checked_arithmetic.h"

using namespace graph_maths;

namespace {

Axis Linear(double min, double max) { return Axis{false, min, max, 10, 1, 3}; }
Axis Log(int base, int minExp, int maxExp) { return Axis{true, 0, 0, base, minExp, maxExp}; }

TEST(GraphMapping, ColumnsAndRowsOfTheWaveExperimentsRange) {
  struct Case {
    double value;
    bool clipping;
    std::optional<int> column;
  };
  const Case cases[] = {
      {100.0, true, 439},  // 0: the right end goes 0.001 left: Trunc(109.999 * 4)
      {0.0, true, 40},
      {-10.0, true, 0},
      {100.5, true, std::nullopt},  // beyond the end with clipping: refused
      {100.5, false, 442},
      {-10.2, true, 0},  // 5: truncation toward zero, not down
      {-10.3, true, -1},
      {99.9999, true, 439},
      {45.25, true, 221},
  };
  const Axis x = Linear(-10, 100);
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    std::optional<int> got = XPixel(x, c.clipping, 440, c.value);
    EXPECT_EQ(got, c.column) << "row " << row << ": x " << c.value;
  }
  const Axis y = Linear(-50, 50);
  EXPECT_EQ(YPixel(y, 300, 50), 300) << "YMax maps to the top row once turned upside down";
  EXPECT_EQ(YPixel(y, 300, -50), 0) << "YMin to the bottom row";
  // Rows round to nearest with halves to even.
  const Axis unit = Linear(0, 4);
  EXPECT_EQ(YPixel(unit, 4, 2.5), 2);
  EXPECT_EQ(YPixel(unit, 4, 3.5), 4);
  EXPECT_EQ(YPixel(unit, 4, 0.5), 0);
}

TEST(GraphMapping, LogarithmicAxes) {
  const Axis x = Log(10, 1, 3);
  bool refused = false;
  EXPECT_DOUBLE_EQ(AxisValue(x, 100.0, refused), 2.0);
  EXPECT_FALSE(refused);
  EXPECT_EQ(AxisValue(x, 0.0, refused), 0.0);
  EXPECT_TRUE(refused) << "a non-positive value stands for exponent 0";
  AxisValue(x, std::nan(""), refused);
  EXPECT_TRUE(refused);
  EXPECT_EQ(XPixel(x, true, 400, 2.0), 200);
  EXPECT_EQ(XPixel(x, true, 400, 5.0), 800) << "a logarithmic axis is never clipped";
  EXPECT_EQ(XPixel(x, true, 400, 3.0), 399) << "the top decade goes 0.001 left too";
  EXPECT_EQ(XPixel(x, true, 400, 0.0), -200);
  // Powers are exp(e ln b), with that computation's last-digit error.
  EXPECT_NEAR(Power(10, 3), 1000.0, 1e-9);
  EXPECT_NEAR(LowEnd(x), 10.0, 1e-12);
  EXPECT_NEAR(HighEnd(x), 1000.0, 1e-9);
}

TEST(GraphMapping, PixelsOutsideThe32BitRangeOrUndefinedRaiseTheRangeError) {
  EXPECT_THROW(XPixel(Linear(0, 1), false, 400, 1e8), forms::RangeError);
  EXPECT_THROW(YPixel(Linear(0, 1), 400, -1e8), forms::RangeError);
  EXPECT_THROW(XPixel(Linear(0, 1), false, 400, std::nan("")), forms::RangeError);
  // A log base below 2: ln 1 = 0 divides by zero; equal exponents give a zero span.
  bool refused = false;
  EXPECT_THROW(AxisValue(Log(1, 1, 3), 5.0, refused), forms::RangeError);
  EXPECT_THROW(AxisValue(Log(0, 1, 3), 5.0, refused), forms::RangeError);
  EXPECT_THROW(AxisValue(Log(-10, 1, 3), 5.0, refused), forms::RangeError);
  EXPECT_NO_THROW(AxisValue(Log(2, 1, 3), 5.0, refused));
  Axis equal = Log(10, 2, 2);
  EXPECT_THROW(YPixel(equal, 300, AxisValue(equal, 100.0, refused)), forms::RangeError);
  EXPECT_THROW(YPixel(equal, 300, AxisValue(equal, 1000.0, refused)), forms::RangeError);
}

TEST(GraphLabels, FixedSixDecimalsInNineCharactersThenCut) {
  struct Case {
    int decimals;
    double value;
    const char* text;
  };
  // clang-format off
  const Case cases[] = {
      {0, 5.0, " 5"},  // 0
      {1, -20.0, "-20.0"},
      {0, 0.0, " 0"},
      {0, 100.0, "100"},
      {2, 3.14159, " 3.14"},
      {3, 0.0005, " 0.000"},  // 5: cut, not rounded again
      {0, 0.9999996, " 1"},  // rounded once, by the formatting to 6 decimals
      {0, -10.0, "-10"},
      {6, 1.5, " 1.500000"},
      {9, 1.5, " 1.500000"},
      {0, 12345678.0, "12345678"},  // 10
      {-1, 123.0, "123"},
      {0, -0.4, "-0"},
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(RealToLabel(c.decimals, c.value), c.text)
        << "row " << row << ": " << c.value << " with " << c.decimals << " decimals";
  }
}

TEST(GraphLabels, LetterSpacingFollowsEveryCharacterWithOneSpace) {
  EXPECT_EQ(LetterSpaced("x axis"), "x   a x i s ");
  EXPECT_EQ(LetterSpaced(""), "");
  EXPECT_EQ(LetterSpaced("ψ"), "ψ ");
}

// Texts measure 7 pixels a character and the point size plus 3 high.
TextSize FakeMeasure(const std::string&, int size, const std::string& text) {
  return {static_cast<int>(text.size()) * 7, size + 3};
}

LayoutInput DefaultInput() {
  LayoutInput in;
  in.axesLeft = 8;
  in.axesTop = 8;
  in.axesWidth = 577;
  in.axesHeight = 377;
  in.titleFontName = "times new roman";
  in.titleFontSize = 12;
  in.title = "Main title";
  in.xTitleFontName = "arial";
  in.xTitleFontSize = 10;
  in.xTitle = "x  a x i s";
  in.yTitleFontName = "arial";
  in.yTitleFontSize = 10;
  in.yTitle = "y axis";
  in.xNumbers = in.yNumbers = in.xTicks = in.yTicks = true;
  in.xMax = 80;
  in.yMax = 100;
  return in;
}

TEST(GraphLayoutMaths, SizesAddUpAsTheLayoutReservesThem) {
  LayoutResult r = ComputeLayout(DefaultInput(), FakeMeasure);
  EXPECT_EQ(r.titleHeight, 15);
  EXPECT_EQ(r.xTitleHeight, 13);
  EXPECT_EQ(r.yTitleWidth, 7 + 5);
  // "80" is two characters once cut: 14 wide, half 7, plus 5.
  EXPECT_EQ(r.xNumberHalfWidth, 12);
  EXPECT_EQ(r.xNumberHeight, 15);
  EXPECT_EQ(r.yNumberWidth, 21 + 14);  // "100"
  EXPECT_EQ(r.yNumberHalfHeight, 6) << "Round(6.5) is 6: halves to even";
  EXPECT_EQ(r.plotLeft, 8 + 0 + 12 + 10 + 25 + 4);
  EXPECT_EQ(r.plotTop, 8 + 0 + 15 + 6 + 4);
  EXPECT_EQ(r.plotRight, 8 + 577 - 0 - 12 - 5);
  EXPECT_EQ(r.plotBottom, 8 + 377 - 0 - 13 - 10 - 15 - 5);
  EXPECT_EQ(r.plotWidth, r.plotRight - r.plotLeft - 8);
  EXPECT_EQ(r.plotHeight, r.plotBottom - r.plotTop - 8);

  LayoutInput in = DefaultInput();
  in.yLog = true;
  r = ComputeLayout(in, FakeMeasure);
  EXPECT_EQ(r.yNumberWidth, 25);
  EXPECT_EQ(r.yNumberHalfHeight, 8);
}

TEST(GraphLayoutMaths, SwitchedOffPartsTakeNoRoom) {
  LayoutInput in = DefaultInput();
  in.xNumbers = in.yNumbers = in.xTicks = in.yTicks = false;
  in.title.clear();
  in.yTitle.clear();
  in.hMargin = 3;
  in.vMargin = 2;
  LayoutResult r = ComputeLayout(in, FakeMeasure);
  EXPECT_EQ(r.xNumberHalfWidth, 0);
  EXPECT_EQ(r.xNumberHeight, 0);
  EXPECT_EQ(r.yNumberWidth, 0);
  EXPECT_EQ(r.yNumberHalfHeight, 0);
  EXPECT_EQ(r.xTickSpace, 0);
  EXPECT_EQ(r.yTickSpace, 0);
  EXPECT_EQ(r.titleHeight, 0);
  EXPECT_EQ(r.yTitleWidth, 0);
  EXPECT_EQ(r.plotLeft, 8 + 3 + 25 + 4);
  EXPECT_EQ(r.plotTop, 8 + 2 + 4);
  EXPECT_EQ(r.plotBottom, 8 + 377 - 2 - 13 - 5);

  in.hMargin = INT_MAX;
  EXPECT_THROW(ComputeLayout(in, FakeMeasure), forms::OverflowError);
}

std::vector<double> Steps(double min, double range, double step) {
  std::vector<double> v;
  ForEachStep(min, range, step, [&](double x) { v.push_back(x); });
  return v;
}

TEST(GraphMarks, StepLoopsStartAtTheMinimumAndStopAtOrBeforeTheMaximum) {
  std::vector<double> v = Steps(-10, 110, 10);
  ASSERT_EQ(v.size(), 12u);
  EXPECT_EQ(v.front(), -10);
  EXPECT_EQ(v.back(), 100);
  v = Steps(-20, 100, 30);
  EXPECT_EQ(v, (std::vector<double>{-20, 10, 40, 70})) << "Trunc(3.33) = 3: no line at the end";
  EXPECT_EQ(Steps(-20, 100, 500), std::vector<double>{-20}) << "a step wider than the range";
  // A loop that would count past the 32-bit range raises the range error instead.
  EXPECT_THROW(Steps(0, 100, 1e-9), forms::RangeError);
  EXPECT_THROW(Steps(0, std::numeric_limits<double>::infinity(), 1), forms::RangeError);
}

TEST(GraphMarks, LogGridTenLinesADecadeAndGuardedCounts) {
  std::vector<double> v;
  ForEachLogGridValue(10, 1, 3, [&](double x) { v.push_back(x); });
  ASSERT_EQ(v.size(), 30u);
  EXPECT_NEAR(v[0], 10, 1e-9);
  EXPECT_NEAR(v[9], 100, 1e-9);
  EXPECT_NEAR(v[10], 100, 1e-9) << "the first line of a decade repeats the last of the one before";
  EXPECT_NEAR(v[29], 10000, 1e-8);
  v.clear();
  ForEachLogGridValue(0, 1, 3, [&](double x) { v.push_back(x); });
  ForEachLogGridValue(10, 3, 1, [&](double x) { v.push_back(x); });
  EXPECT_TRUE(v.empty());
  EXPECT_THROW(ForEachLogGridValue(INT_MAX, 1, 3, [](double) {}), forms::RangeError);
  EXPECT_THROW(ForEachExponent(INT_MIN, INT_MAX, [](int) {}), forms::RangeError);
  std::vector<int> d;
  ForEachExponent(INT_MAX - 1, INT_MAX, [&](int e) { d.push_back(e); });
  EXPECT_EQ(d, (std::vector<int>{INT_MAX - 1, INT_MAX})) << "the last exponent does not wrap";
}

TEST(GraphYTitle, CharactersStackCentredAndStopAtThePlotBottom) {
  struct Case {
    const char* what;
    int top, bottom;
    std::vector<TextSize> chars;
    std::vector<Pt> placed;
  };
  const std::vector<TextSize> three{{6, 10}, {8, 10}, {4, 10}};
  const Case cases[] = {
      {"fits: centred on the middle row", 0, 100, three, {{17, 35}, {16, 45}, {18, 55}}},
      {"taller than the plot: what fits, centred as if alone", 0, 24, three, {{17, 2}, {16, 12}}},
      {"a character that did not fit is still painted above bottom - 2",
       0,
       25,
       three,
       {{17, 2}, {16, 12}, {18, 22}}},
      {"first character taller than the plot: from the middle", 0, 8, {{6, 10}}, {{17, 4}}},
      {"middle row not above bottom - 2: nothing", 0, 3, {{6, 10}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Pt> got = PlaceYTitle(10, 30, c.top, c.bottom, c.chars);
    ASSERT_EQ(got.size(), c.placed.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i], c.placed[i]) << "character " << i << " at " << got[i].x << "," << got[i].y;
    }
  }
}

TEST(GraphMarkers, FiguresPerShape) {
  struct Case {
    std::uint8_t shape;
    std::vector<Figure> figures;
  };
  const Case cases[] = {
      {0, {{Figure::Ellipse, {{96, 46}, {105, 55}}}}},
      {1, {{Figure::Rectangle, {{96, 46}, {105, 55}}}}},
      {2, {{Figure::Polygon, {{94, 54}, {100, 42}, {106, 54}}}}},  // R = Round(5.66) = 6
      {3, {{Figure::Polygon, {{100, 54}, {100, 46}}}, {Figure::Polygon, {{96, 50}, {104, 50}}}}},
      {4, {{Figure::Polygon, {{96, 54}, {104, 46}}}, {Figure::Polygon, {{96, 46}, {104, 54}}}}},
      {5, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    std::vector<Figure> got = MarkerFigures(c.shape, 4, 100, 50);
    ASSERT_EQ(got.size(), c.figures.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].kind, c.figures[i].kind);
      EXPECT_EQ(got[i].points, c.figures[i].points);
    }
  }
  EXPECT_THROW(MarkerFigures(0, 4, INT_MAX - 2, 0), forms::OverflowError);
}

}  // namespace
