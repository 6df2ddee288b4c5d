// The graph plotter on a real panel: mapping, setters, layout, the drawers read back from a
// recording journal of canvas calls, the redraw and the animation frames read back pixel by
// pixel. Expected text positions come from the same fonts' metrics, never from fixed widths.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "forms/bevel.h"
#include "forms/core/checked_arithmetic.h"
#include "forms/image.h"
#include "forms/label.h"
#include "gdi_probe.h"
#include "graph_host.h"
#include "message_recorder.h"
#include "toolkit/graph_maths.h"
#include "toolkit/okgraph3.h"
#include "toolkit/okgraph3_used.h"

using namespace okgraph3;

namespace {

constexpr forms::Color kGreen = 0x00FF00;
constexpr forms::Color kBlue = 0xFF0000;

forms::Extent Measure(const std::string& name, int points, const std::string& text, unsigned style = 0) {
  static forms::Bitmap scratch;
  forms::FontSpec f;
  f.name = name;
  f.height = forms::Round(points * 96.0 / 72.0);
  f.style = style;
  scratch.GetCanvas().SetFont(f);
  return scratch.GetCanvas().TextExtent(text);
}

void CopyInto(forms::Bitmap& to, const forms::Bitmap& from) {
  to.SetSize(from.Width(), from.Height());
  to.GetCanvas().Draw(0, 0, from);
}

// Pixels where two pictures of one size differ, as a box; empty (right < left) when equal.
forms::Rect DiffBox(const forms::Bitmap& a, const forms::Bitmap& b) {
  forms::Rect box{a.Width(), a.Height(), -1, -1};
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Pixel(x, y) == b.Pixel(x, y)) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box;
}

class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateGraph(host_.panel.get()); }

  void DrawWaveGraph() {
    graph_test::ConfigureLikeWaveExperiment();
    FitGraph();
    DrawGraph();
  }
  // Widens the host panel until the plot spans `width` pixels.
  void MakePlotWidth(int width) {
    host_.panel->SetWidth(host_.panel->Width() + width - CurrentLayout().PlotWidth);
    FitGraph();
    DrawGraph();
  }
  static const GraphWidgets& W() { return CurrentWidgets(); }
  static forms::Point PlotPen() { return W().PlotImage->GetCanvas().PenPos(); }
  // The plot pixel a data point maps to, from the pure mapping.
  static int Px(double x) {
    graph_maths::Axis a{GetXLog(), GetXMin(), GetXMax(), GetXLogBase(), GetXMinExp(), GetXMaxExp()};
    bool refused;
    return *graph_maths::XPixel(a, false, CurrentLayout().PlotWidth, graph_maths::AxisValue(a, x, refused));
  }
  static int Py(double y) {
    graph_maths::Axis a{GetYLog(), GetYMin(), GetYMax(), GetYLogBase(), GetYMinExp(), GetYMaxExp()};
    bool refused;
    return CurrentLayout().PlotHeight -
           graph_maths::YPixel(a, CurrentLayout().PlotHeight, graph_maths::AxisValue(a, y, refused));
  }

  graph_test::Host host_;
  testing_support::MessageRecorder messages_;
};

TEST_F(GraphTest, MappingOfTheWaveRangeOnAPlot440Wide) {
  DrawWaveGraph();
  MakePlotWidth(440);
  ASSERT_EQ(CurrentLayout().PlotWidth, 440);
  const int h = CurrentLayout().PlotHeight;
  struct Case {
    double x, y;
    bool accepted;
    forms::Point pen;  // where the plot pen stands afterwards
  };
  const Case cases[] = {
      {100, 0, true, {439, Py(0)}},  // 0
      {0, 50, true, {40, 0}},        // YMax: the top row
      {-10, -50, true, {0, h}},      // YMin: the bottom row
      {100.5, 10, false, {0, h}},    // refused: the pen stays
      {50, 0, true, {240, Py(0)}},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(GraphMoveTo(c.x, c.y), c.accepted) << "row " << row;
    EXPECT_EQ(PlotPen(), c.pen) << "row " << row << ": pen at " << PlotPen().x << "," << PlotPen().y;
    EXPECT_EQ(GetPenX(), c.pen.x) << "row " << row;
  }
  EXPECT_EQ(messages_.Count(), 0u);

  SetXLog(true);  // base 10, decades 1 to 3: 220 pixels a decade
  EXPECT_TRUE(GraphMoveTo(0, 0)) << "a refused logarithm still plots, at exponent 0";
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "Logarithmic x data must be greater than zero !");
  EXPECT_EQ(messages_.messages[0].kind, forms::MessageKind::MessageDlg);
  EXPECT_EQ(messages_.messages[0].type, forms::MsgDlgType::Error);
  EXPECT_EQ(messages_.messages[0].buttons, unsigned{forms::mbOK});
  EXPECT_EQ(GetPenX(), -220);
  EXPECT_TRUE(GraphMoveTo(1e5, 0)) << "beyond the top decade: not clipped";
  EXPECT_EQ(GetPenX(), 880);
  SetXLog(false);
  SetYLog(true);
  messages_.Clear();
  EXPECT_TRUE(GraphMoveTo(0, -1));
  ASSERT_EQ(messages_.Count(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "Logarithmic y data must be greater than zero !");
}

TEST_F(GraphTest, OutOfRangePixelsAndBadLogBasesRaiseTheRangeError) {
  DrawWaveGraph();
  SetClipping(false);
  EXPECT_THROW(GraphMoveTo(1e12, 0), forms::RangeError);
  EXPECT_THROW(GraphLineTo(0, -1e12), forms::RangeError);
  SetClipping(true);
  SetXLog(true);
  SetXLogBase(1);
  EXPECT_THROW(GraphMoveTo(5, 0), forms::RangeError);
  EXPECT_THROW(DrawGraph(), forms::RangeError) << "a redraw with base 1 fails instead of looping";
  SetXLogBase(10);
  SetXLog(false);
  SetXGridStep(1e-9);
  EXPECT_THROW(DrawXGrid(), forms::RangeError);
}

TEST_F(GraphTest, RefusedValuesKeepTheOldOneAndSayWhy) {
  struct Case {
    const char* what;
    std::function<void()> set;
    std::function<double()> get;
    const char* text;
    forms::MessageKind kind;
  };
  const auto plain = forms::MessageKind::PlainMessage;
  const auto box = forms::MessageKind::MessageDlg;
  const Case cases[] = {
      {"x min at x max", [] { SetXMin(80); }, GetXMin, "Value must be less than x-maximum", plain},  // 0
      {"x min above x max", [] { SetXMin(100); }, GetXMin, "Value must be less than x-maximum", plain},
      {"x min NaN", [] { SetXMin(std::nan("")); }, GetXMin, "Value must be less than x-maximum", plain},
      {"x max at x min", [] { SetXMax(-20); }, GetXMax, "Value must be greater than x-minimum", plain},
      {"y min at y max", [] { SetYMin(100); }, GetYMin, "Value must be less than y-maximum", plain},
      {"y max at y min", [] { SetYMax(-20); }, GetYMax, "Value must be greater than y-minimum", plain},  // 5
      {"x step 0", [] { SetXGridStep(0); }, GetXGridStep, "Step value must be grater than zero", plain},
      {"y step -1", [] { SetYGridStep(-1); }, GetYGridStep, "Step value must be grater than zero", plain},
      {"x min exp at max", [] { SetXMinExp(3); }, [] { return double(GetXMinExp()); },
       "Min x exponent must be less than max x exponent", box},
      {"x max exp at min", [] { SetXMaxExp(1); }, [] { return double(GetXMaxExp()); },
       "Max x exponent must be greater than min x exponent", box},
      {"y min exp -1", [] { SetYMinExp(-1); }, [] { return double(GetYMinExp()); },  // 10
       "Minimum y exponent must be a no negative number", plain},
      {"y max exp -1", [] { SetYMaxExp(-1); }, [] { return double(GetYMaxExp()); },
       "Maximum y exponent must be a no negative number", plain},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GraphDefaults();
    messages_.Clear();
    double before = c.get();
    c.set();
    EXPECT_EQ(c.get(), before) << "the old value stays";
    ASSERT_EQ(messages_.Count(), 1u);
    EXPECT_EQ(messages_.messages[0].text, c.text);
    EXPECT_EQ(messages_.messages[0].kind, c.kind);
    if (c.kind == box) {
      EXPECT_EQ(messages_.messages[0].type, forms::MsgDlgType::Error);
      EXPECT_EQ(messages_.messages[0].buttons, unsigned{forms::mbOK});
    }
  }
}

TEST_F(GraphTest, ClampedAndAcceptedValues) {
  struct Case {
    const char* what;
    std::function<void()> set;
    std::function<double()> get;
    double stored;
  };
  const Case cases[] = {
      {"h margin -5", [] { SetHMargin(-5); }, [] { return double(GetHMargin()); }, 0},  // 0
      {"v margin -1", [] { SetVMargin(-1); }, [] { return double(GetVMargin()); }, 0},
      {"x tick 25", [] { SetXTickLength(25); }, [] { return double(GetXTickLength()); }, 10},
      {"y tick -3", [] { SetYTickLength(-3); }, [] { return double(GetYTickLength()); }, -3},
      {"y decimals 5", [] { SetYDecimals(5); }, [] { return double(GetYDecimals()); }, 3},
      {"y decimals -1", [] { SetYDecimals(-1); }, [] { return double(GetYDecimals()); }, 0},  // 5
      {"x decimals 5", [] { SetXDecimals(5); }, [] { return double(GetXDecimals()); }, 5},
      {"y min exp 5 above max 3", [] { SetYMinExp(5); }, [] { return double(GetYMinExp()); }, 5},
      {"x exps widened first",
       [] {
         SetXMaxExp(5);
         SetXMinExp(3);
       },
       [] { return double(GetXMinExp()); }, 3},
      {"x min -10", [] { SetXMin(-10); }, GetXMin, -10},
      {"x log base 1 is stored", [] { SetXLogBase(1); }, [] { return double(GetXLogBase()); }, 1},  // 10
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GraphDefaults();
    c.set();
    EXPECT_EQ(c.get(), c.stored);
  }
  EXPECT_EQ(messages_.Count(), 0u);
  GraphDefaults();
  EXPECT_EQ(GetXTitle(), "x  a x i s") << "the default is stored as it is";
  SetXTitle("x axis");
  EXPECT_EQ(GetXTitle(), "x   a x i s ");
  // Font sizes: the x and y titles are capped at 14 points, the main title is not.
  FitGraph();
  SetTitleFont("arial", 20, 0, 0);
  SetXTitleFont("arial", 20, 0, 0);
  DrawGraph();
  EXPECT_EQ(W().TitleLabel->Font().height, forms::Round(20 * 96 / 72.0));
  EXPECT_EQ(W().XTitleLabel->Font().height, forms::Round(14 * 96 / 72.0));
}

TEST_F(GraphTest, WhatMarksTheLayoutDirty) {
  DrawWaveGraph();
  EXPECT_TRUE(CurrentLayout().LayoutDirty) << "the frame switches the log axes through their setters";
  SetFrameVisible(false);
  DrawGraph();
  ASSERT_FALSE(CurrentLayout().LayoutDirty);
  struct Case {
    const char* what;
    std::function<void()> set;
    bool dirty;
  };
  const Case cases[] = {
      {"x log", [] { SetXLog(false); }, true},  // 0
      {"y log", [] { SetYLog(false); }, true},
      {"title", [] { SetTitle(""); }, true},
      {"x title", [] { SetXTitle("x"); }, true},
      {"y title", [] { SetYTitle("y"); }, true},
      {"x end ticks", [] { SetXEndTicks(true); }, true},  // 5
      {"y step numbers", [] { SetYStepNumbers(true); }, true},
      {"x decimals", [] { SetXDecimals(0); }, true},
      {"y decimals", [] { SetYDecimals(0); }, true},
      {"x min", [] { SetXMin(-10); }, true},
      {"y max", [] { SetYMax(50); }, true},  // 10
      {"x grid step", [] { SetXGridStep(10); }, false},
      {"x grid colour", [] { SetXGridColor(0); }, false},
      {"y grid visible", [] { SetYGridVisible(true); }, false},
      {"x tick length", [] { SetXTickLength(5); }, false},
      {"y tick colour", [] { SetYTickColor(0); }, false},  // 15
      {"x number colour", [] { SetXNumberColor(0); }, false},
      {"title font", [] { SetTitleFont("arial", 12, 0, 0); }, false},
      {"back colour", [] { SetBackColor(0xFFFFFF); }, false},
      {"log base", [] { SetXLogBase(10); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.set();
    EXPECT_EQ(CurrentLayout().LayoutDirty, c.dirty);
    DrawGraph();
    ASSERT_FALSE(CurrentLayout().LayoutDirty);
  }
}

TEST_F(GraphTest, SetPenColorBeforeTheFirstDrawOnlyStoresIt) {
  forms::Color before = W().PlotImage->GetCanvas().PenColor();
  SetPenColor(kGreen);
  EXPECT_EQ(GetPenColor(), kGreen);
  EXPECT_EQ(W().PlotImage->GetCanvas().PenColor(), before);
  DrawWaveGraph();
  SetPenColor(kGreen);
  EXPECT_EQ(W().PlotImage->GetCanvas().PenColor(), kGreen) << "after a draw it reaches the pen";
}

TEST_F(GraphTest, WidgetsSitWhereFitGraphAndTheLayoutPutThem) {
  DrawWaveGraph();
  const GraphLayout& L = CurrentLayout();
  const int hw = host_.panel->ClientWidth(), hh = host_.panel->ClientHeight();
  forms::Image& axes = *W().AxesImage;
  EXPECT_EQ(axes.Left(), 8);
  EXPECT_EQ(axes.Top(), 8);
  EXPECT_EQ(axes.Width(), hw - 16);
  EXPECT_EQ(axes.Height(), hh - 16);
  EXPECT_EQ(W().GraphBevel->Left(), 7);
  EXPECT_EQ(W().GraphBevel->Width(), hw - 14);
  EXPECT_TRUE(W().GraphBevel->Visible());
  EXPECT_EQ(okgraph3_used::FrameBitmap().Width(), hw - 18);
  EXPECT_EQ(okgraph3_used::FrameBitmap().Height(), hh - 18);
  forms::Panel& plot = *GetPlotPanel();
  EXPECT_EQ(plot.Left(), L.PlotLeft + 8);
  EXPECT_EQ(plot.Top(), L.PlotTop + 8);
  EXPECT_EQ(plot.Width(), L.PlotWidth + 1);
  EXPECT_EQ(plot.Height(), L.PlotHeight + 1);
  EXPECT_EQ(W().PlotImage->Width(), L.PlotWidth + 1) << "the plot image fills its panel";
  EXPECT_EQ(W().PlotImage->Picture().Height(), L.PlotHeight + 1);
  // The reserved room, from the same fonts' metrics (the y title measures "W").
  const int yTitle = Measure("ms sans serif", 8, "W").cx + 5;
  const forms::Extent yNumber = Measure("times new roman", 10, "50");
  const forms::Extent xNumber = Measure("times new roman", 10, "100");
  const int xTitle = Measure("ms sans serif", 8, GetXTitle()).cy;
  EXPECT_EQ(L.PlotLeft, 8 + yTitle + 10 + 25 + 4);
  EXPECT_EQ(L.PlotTop, 8 + forms::Round(yNumber.cy / 2.0) + 4) << "no main title";
  EXPECT_EQ(L.PlotRight, 8 + axes.Width() - (forms::Round(xNumber.cx / 2.0) + 5) - 5);
  EXPECT_EQ(L.PlotBottom, 8 + axes.Height() - xTitle - 10 - (xNumber.cy + 2) - 5);
  EXPECT_EQ(L.YNumberWidth, yNumber.cx + 14);
  // The x title's label spans the plot under the numbers.
  forms::Label& xl = *W().XTitleLabel;
  EXPECT_EQ(xl.Left(), L.PlotLeft);
  EXPECT_EQ(xl.Top(), L.PlotBottom + 10 + L.XNumberHeight + 1);
  EXPECT_EQ(xl.Width(), L.PlotRight - L.PlotLeft + 1);
  EXPECT_EQ(xl.Caption(), "Α π ό σ τ α σ η   x ");
  // A margin moves the plot at once.
  SetHMargin(20);
  EXPECT_EQ(plot.Left(), L.PlotLeft + 8);
  EXPECT_EQ(L.PlotLeft, 8 + 20 + yTitle + 10 + 25 + 4);
  // A main title gets the label across the top.
  SetTitle("Κύμα");
  DrawGraph();
  forms::Label& tl = *W().TitleLabel;
  EXPECT_EQ(tl.Caption(), "Κύμα");
  EXPECT_EQ(tl.Left(), axes.Left() + 10);
  EXPECT_EQ(tl.Top(), axes.Top() + 1);
  EXPECT_EQ(tl.Width(), axes.Width() - 19);
  EXPECT_EQ(tl.Height(), L.TitleHeight - 1);
  EXPECT_EQ(L.TitleHeight, Measure("times new roman", 12, "Κύμα").cy);
}

// The journal of one redraw of the wave graph.
struct Journals {
  forms::CanvasJournal axes, plot;
  std::vector<const forms::CanvasCall*> Calls(const forms::CanvasJournal& j,
                                              forms::CanvasCall::Kind k) const {
    std::vector<const forms::CanvasCall*> out;
    for (const auto& c : j)
      if (c.kind == k) out.push_back(&c);
    return out;
  }
};

void Record(Journals& j, const std::function<void()>& draw) {
  const GraphWidgets& w = CurrentWidgets();
  w.AxesImage->GetCanvas().SetJournal(&j.axes);
  w.PlotImage->GetCanvas().SetJournal(&j.plot);
  draw();
  w.AxesImage->GetCanvas().SetJournal(nullptr);
  w.PlotImage->GetCanvas().SetJournal(nullptr);
}

TEST_F(GraphTest, GridsTicksAndNumbersOfTheWaveGraph) {
  DrawWaveGraph();
  Journals j;
  Record(j, [] { DrawGraph(); });
  const GraphLayout& L = CurrentLayout();
  const int bottom = L.PlotTop + L.PlotHeight;

  // The plot: 12 vertical and 11 horizontal grid lines, then the two axis lines and the frame.
  std::vector<int> gridX, gridY;
  int black = 0;
  forms::Point start;
  for (const auto& c : j.plot) {
    if (c.kind == forms::CanvasCall::MoveTo) start = c.points[0];
    if (c.kind != forms::CanvasCall::LineTo) continue;
    if (c.penColor == 0xC0C0C0) {
      if (start.x == c.points[0].x) gridX.push_back(start.x);
      if (start.y == c.points[0].y) gridY.push_back(start.y);
    } else if (c.penColor == 0) {
      ++black;
    }
  }
  std::vector<int> wantX, wantY;
  for (int k = 0; k <= 11; ++k) wantX.push_back(Px(-10 + 10 * k));
  for (int k = 0; k <= 10; ++k) wantY.push_back(Py(-50 + 10 * k));
  EXPECT_EQ(gridX, wantX);
  EXPECT_EQ(gridY, wantY);
  EXPECT_EQ(wantX.back(), L.PlotWidth - 1) << "the last line sits at XMax - 0.001";
  EXPECT_EQ(black, 2 + 4);

  // The axes: ticks first, x ticks down from the bottom row, y ticks left from the left column.
  std::vector<int> xTicks, yTicks;
  forms::Point from;
  for (const auto& c : j.axes) {
    if (c.kind == forms::CanvasCall::MoveTo) from = c.points[0];
    if (c.kind != forms::CanvasCall::LineTo) continue;
    const forms::Point to = c.points[0];
    if (to.x == from.x && from.y == bottom && to.y == bottom + 5)
      xTicks.push_back(from.x - L.PlotLeft);
    else if (to.y == from.y && from.x == L.PlotLeft && to.x == L.PlotLeft - 5)
      yTicks.push_back(from.y - L.PlotTop);
    else
      ADD_FAILURE() << "a line that is no tick: " << from.x << "," << from.y << " to " << to.x << "," << to.y;
  }
  std::vector<int> wantXTicks = wantX;  // step ticks
  wantXTicks.push_back(Px(0));          // the zero tick
  wantXTicks.push_back(Px(-10));        // the end ticks
  wantXTicks.push_back(Px(100));
  std::vector<int> wantYTicks{Py(0)};  // zero, then step, then end ticks
  wantYTicks.insert(wantYTicks.end(), wantY.begin(), wantY.end());
  wantYTicks.push_back(Py(-50));
  wantYTicks.push_back(Py(50));
  EXPECT_EQ(xTicks, wantXTicks);
  EXPECT_EQ(yTicks, wantYTicks);

  // Numbers: x step numbers and the zero number (no end numbers), then the y numbers.
  struct Label {
    std::string text;
    forms::Point at;
  };
  std::vector<Label> want;
  auto xLabel = [&](double v) {
    std::string t = RealToLabel(0, v);
    want.push_back({t, {L.PlotLeft + Px(v) - Measure("times new roman", 10, t).cx / 2, bottom + 10 + 5}});
  };
  auto yLabel = [&](double v) {
    std::string t = RealToLabel(0, v);
    forms::Extent e = Measure("times new roman", 10, t);
    want.push_back({t, {L.PlotLeft - 10 - e.cx - 5, L.PlotTop + Py(v) - e.cy / 2}});
  };
  for (int k = 0; k <= 11; ++k) xLabel(-10 + 10 * k);
  xLabel(0);
  for (int k = 0; k <= 10; ++k) yLabel(-50 + 10 * k);
  yLabel(0);
  yLabel(-50);
  yLabel(50);
  std::vector<const forms::CanvasCall*> texts = j.Calls(j.axes, forms::CanvasCall::TextOut);
  std::vector<const forms::CanvasCall*> numbers, title;
  for (const auto* t : texts) (t->font.name == "times new roman" ? numbers : title).push_back(t);
  ASSERT_EQ(numbers.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE("number " + std::to_string(i) + " '" + want[i].text + "'");
    EXPECT_EQ(numbers[i]->text, want[i].text);
    EXPECT_EQ(numbers[i]->points[0], want[i].at)
        << "at " << numbers[i]->points[0].x << "," << numbers[i]->points[0].y;
    EXPECT_EQ(numbers[i]->brushColor, 0xFFFFFFu) << "on a box of the plot background";
    EXPECT_EQ(numbers[i]->font.height, forms::Round(10 * 96 / 72.0));
  }
  EXPECT_EQ(numbers[0]->text, "-10");
  EXPECT_EQ(numbers[1]->text, " 0");

  // The y title, one character a line, as far as it fits.
  const std::string yt = GetYTitle();
  std::vector<graph_maths::TextSize> sizes;
  for (char ch : yt) {
    forms::Extent e = Measure("ms sans serif", 8, std::string(1, ch), forms::fsBold);
    sizes.push_back({e.cx, e.cy});
  }
  const int xL = L.PlotLeft - 10 - L.YNumberWidth - L.YTitleWidth;
  std::vector<graph_maths::Pt> at =
      graph_maths::PlaceYTitle(xL, xL + L.YTitleWidth, L.PlotTop, L.PlotBottom, sizes);
  ASSERT_EQ(title.size(), at.size());
  ASSERT_GE(title.size(), 10u) << "most of the title fits the wave graph";
  for (size_t i = 0; i < at.size(); ++i) {
    EXPECT_EQ(title[i]->text, std::string(1, yt[i]));
    EXPECT_EQ(title[i]->points[0], (forms::Point{at[i].x, at[i].y})) << "character " << i;
  }
  // What the drawers borrowed of the canvas they gave back.
  forms::Canvas& c = W().AxesImage->GetCanvas();
  EXPECT_EQ(c.Font().name, "MS Sans Serif");
  EXPECT_EQ(c.BrushColor(), forms::clWhite);
}

TEST_F(GraphTest, AMarkWhoseAnchorIsRefusedIsSkipped) {
  graph_test::ConfigureLikeWaveExperiment();
  SetXMin(-50);
  SetXMax(-10);  // 0 lies beyond the x range: its tick, number and axis line are refused
  FitGraph();
  DrawGraph();
  Journals j;
  Record(j, [] { DrawGraph(); });
  const GraphLayout& L = CurrentLayout();
  const int numberRow = L.PlotTop + L.PlotHeight + 15;
  int xZero = 0, xNumbers = 0;
  for (const auto* t : j.Calls(j.axes, forms::CanvasCall::TextOut)) {
    if (t->points[0].y != numberRow) continue;
    ++xNumbers;
    if (t->text == " 0") ++xZero;
  }
  EXPECT_EQ(xNumbers, 5) << "-50 to -10 in steps of 10";
  EXPECT_EQ(xZero, 0) << "no stray zero at the previous pen position";
  int downTicks = 0;
  for (const auto* l : j.Calls(j.axes, forms::CanvasCall::LineTo))
    if (l->points[0].y == L.PlotTop + L.PlotHeight + 5) ++downTicks;
  EXPECT_EQ(downTicks, 5 + 2);
  int black = 0;
  for (const auto* l : j.Calls(j.plot, forms::CanvasCall::LineTo)) black += l->penColor == 0;
  EXPECT_EQ(black, 1 + 4) << "the x axis line and the frame, no y axis line";
}

TEST_F(GraphTest, LogarithmicXAxisDecadesTicksAndLabels) {
  graph_test::ConfigureLikeWaveExperiment();
  SetXLog(true);
  SetXEndNumbers(true);
  FitGraph();
  DrawGraph();
  Journals j;
  Record(j, [] { DrawGraph(); });
  const GraphLayout& L = CurrentLayout();
  int grid = 0, axis = 0;
  forms::Point start;
  for (const auto& c : j.plot) {
    if (c.kind == forms::CanvasCall::MoveTo) start = c.points[0];
    if (c.kind != forms::CanvasCall::LineTo || c.points[0].x != start.x) continue;
    if (c.penColor == 0xC0C0C0) ++grid;
    if (c.penColor == 0) ++axis;
  }
  EXPECT_EQ(grid, 30) << "ten lines a decade";
  EXPECT_EQ(axis, 3 + 2) << "a line at each decade, and the frame's two sides";
  int down = 0;
  for (const auto* l : j.Calls(j.axes, forms::CanvasCall::LineTo))
    if (l->points[0].y == L.PlotTop + L.PlotHeight + 5) ++down;
  EXPECT_EQ(down, 3 + 2) << "no step ticks: decades and ends";
  std::vector<std::string> bases, exps;
  const int row = L.PlotTop + L.PlotHeight;
  for (const auto* t : j.Calls(j.axes, forms::CanvasCall::TextOut)) {
    if (t->points[0].y == row + 15) {
      bases.push_back(t->text);
      EXPECT_EQ(t->font.height, forms::Round(10 * 96 / 72.0));
    }
    if (t->points[0].y == row + 10) {
      exps.push_back(t->text);
      EXPECT_EQ(t->font.height, forms::Round(8 * 96 / 72.0)) << "the exponent in smaller type";
    }
  }
  EXPECT_EQ(bases, (std::vector<std::string>{"10", "10", "10", "10", "10"}));
  EXPECT_EQ(exps, (std::vector<std::string>{"1", "2", "3", "1", "3"}));
  EXPECT_TRUE(CurrentLayout().LayoutDirty);
  EXPECT_TRUE(GetXLog()) << "the frame put the log switch back";
}

TEST_F(GraphTest, DrawGraphTwiceGivesTheSamePicture) {
  DrawWaveGraph();
  forms::Bitmap axes, plot, screen;
  CopyInto(axes, W().AxesImage->Picture());
  CopyInto(plot, W().PlotImage->Picture());
  host_.Capture(screen);
  DrawGraph();
  EXPECT_TRUE(W().AxesImage->Picture().SameBits(axes));
  EXPECT_TRUE(W().PlotImage->Picture().SameBits(plot));
  forms::Bitmap again;
  host_.Capture(again);
  EXPECT_TRUE(again.SameBits(screen));
  EXPECT_TRUE(okgraph3_used::CleanBitmap().SameBits(plot));
  EXPECT_TRUE(okgraph3_used::PlotCopyBitmap().SameBits(plot));
}

TEST_F(GraphTest, YTitleInTheBackgroundColourBlanksIt) {
  DrawWaveGraph();
  forms::Bitmap shown;
  CopyInto(shown, W().AxesImage->Picture());
  forms::Bitmap blank;
  CopyInto(blank, okgraph3_used::FrameBitmap());
  // As the longitudinal mode does it, and back.
  SetYTitleFont("ms sans serif", 8, GetBackColor(), forms::fsBold);
  DrawYTitle();
  const GraphLayout& L = CurrentLayout();
  const int xL = L.PlotLeft - 10 - L.YNumberWidth - L.YTitleWidth;
  for (int y = L.PlotTop; y < L.PlotBottom; ++y)
    for (int x = xL; x < xL + L.YTitleWidth; ++x)
      ASSERT_EQ(W().AxesImage->Picture().Pixel(x, y), forms::clWhite) << x << "," << y;
  SetYTitleFont("ms sans serif", 8, 0, forms::fsBold);
  DrawYTitle();
  EXPECT_TRUE(W().AxesImage->Picture().SameBits(shown));
}

TEST_F(GraphTest, FrameOnTheBackBitmapReachesThePlotAndLeavesTheCleanGraph) {
  DrawWaveGraph();
  forms::Bitmap clean;
  CopyInto(clean, okgraph3_used::CleanBitmap());
  PrepareBackBitmap();
  EXPECT_TRUE(okgraph3_used::BackBitmap().SameBits(clean));
  SetPenColor(0);
  BackMoveTo(0, 0);
  for (int i = 1; i <= 200; ++i) BackLineTo(i / 2.0, 30 * std::sin(i / 10.0));
  for (int i = 0; i < 10; ++i) DrawMarker(0, 4, 0xFF0000, 10 * i, 30 * std::sin(i * 2.0), 0x0000FF);
  EXPECT_FALSE(W().PlotImage->Picture().SameBits(okgraph3_used::BackBitmap()))
      << "nothing of a frame shows before it is copied";
  VeruBackBitmap();
  EXPECT_TRUE(W().PlotImage->Picture().SameBits(okgraph3_used::BackBitmap()));
  EXPECT_TRUE(okgraph3_used::CleanBitmap().SameBits(clean));
  // On screen at once: the centre of the marker at x = 50 is its brush colour.
  GraphMoveTo(50, 30 * std::sin(10.0));
  forms::Point p = PlotPen();
  HDC dc = GetDC(W().PlotImage->Handle());
  EXPECT_EQ(GetPixel(dc, p.x, p.y) & 0xFFFFFF, 0x0000FFu);
  ReleaseDC(W().PlotImage->Handle(), dc);

  // With BackFromPlot, what was drawn on the plot since the redraw comes into the frame.
  DrawGraph();
  SetPenColor(kGreen);
  GraphMoveTo(0, 20);
  GraphLineTo(50, 20);
  PrepareBackBitmap();
  EXPECT_TRUE(okgraph3_used::BackBitmap().SameBits(clean));
  SetBackFromPlot(true);
  PrepareBackBitmap();
  EXPECT_EQ(okgraph3_used::BackBitmap().Pixel(Px(25), Py(20)), kGreen);
}

TEST_F(GraphTest, MarkerBoxesPerShapeAndTheColoursGivenBack) {
  DrawWaveGraph();
  struct Case {
    std::uint8_t shape;
    forms::Rect box;  // relative to the point's pixel; empty: nothing drawn
  };
  // clang-format off
  const Case cases[] = {
      {0, {-4, -4, 5, 5}},  // 0: 9 x 9 centred
      {1, {-4, -4, 5, 5}},
      {2, {-6, -8, 7, 5}},  // R = 6; from 8 above to 4 below
      {3, {-4, -4, 5, 5}},
      {4, {-4, -4, 5, 5}},
      {5, {0, 0, 0, 0}},  // 5
  };
  // clang-format on
  forms::Canvas& back = okgraph3_used::BackBitmap().GetCanvas();
  for (const Case& c : cases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PrepareBackBitmap();
    back.SetPenColor(0x123456);
    back.SetBrushColor(0x654321);
    GraphMoveTo(45, 12);
    forms::Point p = PlotPen();
    DrawMarker(c.shape, 4, kGreen, 45, 12, kBlue);
    forms::Rect box = DiffBox(okgraph3_used::BackBitmap(), okgraph3_used::CleanBitmap());
    if (c.box.right == 0) {
      EXPECT_LT(box.right, box.left) << "nothing drawn";
    } else {
      EXPECT_EQ(box, (forms::Rect{p.x + c.box.left, p.y + c.box.top, p.x + c.box.right, p.y + c.box.bottom}));
    }
    EXPECT_EQ(back.PenColor(), 0x123456u);
    EXPECT_EQ(back.BrushColor(), 0x654321u);
  }
  PrepareBackBitmap();
  DrawMarker(0, 4, kGreen, 150, 0, kBlue);
  forms::Rect none = DiffBox(okgraph3_used::BackBitmap(), okgraph3_used::CleanBitmap());
  EXPECT_LT(none.right, none.left) << "a point beyond XMax draws nothing";
  // BackLineTo draws in the plot's pen colour and gives the back pen its own back.
  SetPenColor(kGreen);
  back.SetPenColor(0x123456);
  EXPECT_TRUE(BackMoveTo(0, 0));
  EXPECT_TRUE(BackLineTo(20, 0));
  EXPECT_EQ(okgraph3_used::BackBitmap().Pixel(Px(10), Py(0)), kGreen);
  EXPECT_EQ(back.PenColor(), 0x123456u);
  EXPECT_FALSE(BackLineTo(120, 0));
  EXPECT_EQ(back.PenColor(), 0x123456u);
  EXPECT_EQ(messages_.Count(), 0u);
}

TEST_F(GraphTest, CreatingAgainOnTheSamePanelLeavesOneGraph) {
  DrawWaveGraph();
  CreateGraph(host_.panel.get());
  EXPECT_EQ(host_.panel->Children().size(), 5u) << "bevel, axes image, plot panel, two labels";
  EXPECT_EQ(GetXMin(), -20.0) << "the defaults again";
  EXPECT_EQ(GetTitle(), "Main title");
  EXPECT_TRUE(okgraph3_used::CleanBitmap().Empty()) << "new, empty bitmaps";
  EXPECT_FALSE(LayoutValid());
  FitGraph();
  DrawGraph();
  EXPECT_TRUE(LayoutValid());
}

using testing_support::FreshGdiSlot;

TEST(GraphFrames, TenThousandFramesLeakNoGdiObject) {
  // A small plot keeps the copies cheap; the pen and brush changes are those of a real frame.
  graph_test::Host host(160, 110);
  CreateGraph(host.panel.get());
  graph_test::ConfigureLikeWaveExperiment();
  FitGraph();
  DrawGraph();
  auto frame = [](int t) {
    PrepareBackBitmap();
    BackMoveTo(0, 0);
    for (int i = 1; i <= 20; ++i) {
      SetPenColor(i % 2 ? 0 : 0x0000FF);
      BackLineTo(i * 5.0, 30 * std::sin((t + i) / 7.0));
    }
    DrawMarker(0, 4, 0x0000FF, 0, 0, 0xFF0000);
    for (int i = 1; i <= 9; ++i)
      DrawMarker(static_cast<std::uint8_t>(i % 5), 4, 0xFF0000, 10 * i, 5, 0x0000FF);
    // The copy to the screen creates nothing; one frame in a hundred shows that cheaply.
    if (t % 100 == 0) VeruBackBitmap();
  };
  frame(0);
  DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  unsigned slot = FreshGdiSlot();
  for (int t = 1; t <= 10000; ++t) frame(t);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
  EXPECT_EQ(FreshGdiSlot(), slot);
}

}  // namespace
