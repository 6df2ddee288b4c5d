// The graph plotter's arithmetic without any window: data-to-pixel mapping, the layout of the
// plot area, where grid lines, ticks and labels go, the vertical title and the point markers.
// Every real-to-integer step is checked (forms::RangeError) and every integer sum of the
// layout is overflow-checked (forms::OverflowError).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace graph_maths {

// One axis as the mapping and the drawers see it.
struct Axis {
  bool log = false;
  double min = 0.0;  // linear ends
  double max = 0.0;
  int logBase = 10;
  int minExp = 1;
  int maxExp = 3;
};

// base to the power e, always as exp(e * ln base).
double Power(int base, int exponent);

// The two ends of an axis in data units: min and max, or base^minExp and base^maxExp.
double LowEnd(const Axis& a);
double HighEnd(const Axis& a);

// A data value in the axis's own units: itself, or its logarithm. A non-positive value on a
// logarithmic axis is refused (`refused` set) and stands for exponent 0. A logarithmic axis
// with a base below 2 raises the range error.
double AxisValue(const Axis& a, double value, bool& refused);

// Plot column of an axis value: nullopt when clipping refuses it (linear axis, beyond max);
// the top of the range is placed 0.001 below it; truncated toward zero.
std::optional<int> XPixel(const Axis& a, bool clipping, int plotWidth, double v);
// Plot row of an axis value, counted from the bottom (the caller turns it upside down);
// rounded, halves to even.
int YPixel(const Axis& a, int plotHeight, double w);

// The text of an axis number: fixed notation with 6 decimals, right-aligned in at least 9
// characters, then cut after `decimals` digits (0: the point goes too).
std::string RealToLabel(int decimals, double value);

// Every character followed by one space.
std::string LetterSpaced(std::string_view text);

// Text size in pixels.
struct TextSize {
  int width = 0;
  int height = 0;
};
// Measures a text in a typeface at a point size.
using Measure = std::function<TextSize(const std::string& fontName, int size, const std::string& text)>;

struct LayoutInput {
  int axesLeft = 0, axesTop = 0, axesWidth = 0, axesHeight = 0;
  int hMargin = 0, vMargin = 0;
  std::string titleFontName, title;
  int titleFontSize = 0;
  std::string xTitleFontName, xTitle;
  int xTitleFontSize = 0;
  std::string yTitleFontName, yTitle;
  int yTitleFontSize = 0;
  bool xNumbers = false;  // any x number switch on
  bool yNumbers = false;
  int xDecimals = 0, yDecimals = 0;
  double xMax = 0.0, yMax = 0.0;
  bool yLog = false;
  bool xTicks = false;  // any x tick switch on
  bool yTicks = false;
};

struct LayoutResult {
  int plotLeft = 0, plotTop = 0, plotRight = 0, plotBottom = 0;
  int plotWidth = 0, plotHeight = 0;
  int titleHeight = 0, xTitleHeight = 0, yTitleWidth = 0, yNumberWidth = 0;
  int yNumberHalfHeight = 0, xNumberHalfWidth = 0, xNumberHeight = 0;
  int xTickSpace = 0, yTickSpace = 0;
};

// The typeface and size the axis numbers are written and measured in.
inline constexpr const char* kNumberFontName = "times new roman";
inline constexpr int kNumberFontSize = 10;
inline constexpr int kExponentFontSize = 8;

LayoutResult ComputeLayout(const LayoutInput& in, const Measure& measure);

// Calls f(min + k * step) for k = 0 .. Trunc(range / step); a count beyond the 32-bit range
// raises the range error before anything is drawn.
void ForEachStep(double min, double range, double step, const std::function<void(double)>& f);
// Calls f(d) for every exponent from minExp to maxExp.
void ForEachExponent(int minExp, int maxExp, const std::function<void(int)>& f);
// Calls f(i * base^d) for d = minExp .. maxExp and i = 1 .. base; more lines than the 32-bit
// range raises the range error.
void ForEachLogGridValue(int base, int minExp, int maxExp, const std::function<void(double)>& f);

struct Pt {
  int x = 0;
  int y = 0;
  bool operator==(const Pt&) const = default;
};

// Where the characters of the vertical title go (top-left corners), in the column xL..xR
// between top and bottom, given each character's size; characters that do not fit are left
// out.
std::vector<Pt> PlaceYTitle(int xL, int xR, int top, int bottom, const std::vector<TextSize>& chars);

// Top-left corners of the number labels around their anchor a (the plot pixel under the
// mark), with w and h the size of the (base) text.
Pt XValueLabelAt(Pt a, int w, int xTickSpace);
Pt XDecadeBaseAt(Pt a, int w, int xTickSpace);
Pt XDecadeExponentAt(Pt a, int w, int xTickSpace);
Pt YValueLabelAt(Pt a, int w, int h, int yTickSpace);
Pt YDecadeBaseAt(Pt a, int w, int h, int yTickSpace);
Pt YDecadeExponentAt(Pt a, int h, int yTickSpace);

// One figure of a point marker.
struct Figure {
  enum Kind { Ellipse, Rectangle, Polygon };
  Kind kind = Ellipse;
  std::vector<Pt> points;  // Ellipse, Rectangle: two corners; Polygon: the vertices
};
// The figures of a marker of `shape` and `size` centred on (px, py); none for an unknown shape.
std::vector<Figure> MarkerFigures(std::uint8_t shape, int size, int px, int py);

}  // namespace graph_maths
