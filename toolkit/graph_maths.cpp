#include "toolkit/graph_maths.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "forms/core/checked_arithmetic.h"

namespace graph_maths {

using forms::CheckedAdd;
using forms::CheckedSub;

double Power(int base, int exponent) {
  return std::exp(static_cast<double>(exponent) * std::log(static_cast<double>(base)));
}

double LowEnd(const Axis& a) { return a.log ? Power(a.logBase, a.minExp) : a.min; }
double HighEnd(const Axis& a) { return a.log ? Power(a.logBase, a.maxExp) : a.max; }

double AxisValue(const Axis& a, double value, bool& refused) {
  refused = false;
  if (!a.log) return value;
  // Below base 2 there is no scale of decades: ln 1 is 0, and smaller bases have no logarithm.
  if (a.logBase < 2) throw forms::RangeError();
  if (value > 0) return std::log(value) / std::log(static_cast<double>(a.logBase));
  refused = true;
  return 0.0;
}

std::optional<int> XPixel(const Axis& a, bool clipping, int plotWidth, double v) {
  double lo = a.log ? static_cast<double>(a.minExp) : a.min;
  double hi = a.log ? static_cast<double>(a.maxExp) : a.max;
  if (clipping && !a.log && v > hi) return std::nullopt;
  if (v == hi) v = v - 0.001;
  // The scale first, then the product: the same rounding as the pixels of every caller.
  double scale = plotWidth / (hi - lo);
  return forms::Trunc((v - lo) * scale);
}

int YPixel(const Axis& a, int plotHeight, double w) {
  double lo = a.log ? static_cast<double>(a.minExp) : a.min;
  double hi = a.log ? static_cast<double>(a.maxExp) : a.max;
  double scale = plotHeight / (hi - lo);
  return forms::Round((w - lo) * scale);
}

std::string RealToLabel(int decimals, double value) {
  // Fixed notation of any double fits: 309 integer digits, a sign, a point and 6 decimals.
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::fixed, 6);
  std::string s(buf, res.ptr);
  if (s.size() < 9) s.insert(0, 9 - s.size(), ' ');
  size_t dot = s.find('.');
  if (dot == std::string::npos) return s;  // inf and nan have no point
  long long keep = decimals == 0 ? static_cast<long long>(dot) : static_cast<long long>(dot) + 1 + decimals;
  keep = std::clamp<long long>(keep, 0, static_cast<long long>(s.size()));
  return s.substr(0, static_cast<size_t>(keep));
}

std::string LetterSpaced(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    out += c;
    out += ' ';
  }
  return out;
}

LayoutResult ComputeLayout(const LayoutInput& in, const Measure& measure) {
  LayoutResult r;
  r.titleHeight = in.title.empty() ? 0 : measure(in.titleFontName, in.titleFontSize, in.title).height;
  r.xTitleHeight = in.xTitle.empty() ? 0 : measure(in.xTitleFontName, in.xTitleFontSize, in.xTitle).height;
  r.yTitleWidth =
      in.yTitle.empty() ? 0 : CheckedAdd(measure(in.yTitleFontName, in.yTitleFontSize, "W").width, 5);
  if (in.xNumbers) {
    TextSize s = measure(kNumberFontName, kNumberFontSize, RealToLabel(in.xDecimals, in.xMax));
    r.xNumberHalfWidth = CheckedAdd(forms::Round(s.width / 2.0), 5);
    r.xNumberHeight = CheckedAdd(s.height, 2);
  }
  if (in.yNumbers) {
    TextSize s = measure(kNumberFontName, kNumberFontSize, RealToLabel(in.yDecimals, in.yMax));
    if (!in.yLog) {
      r.yNumberWidth = CheckedAdd(s.width, 14);
      r.yNumberHalfHeight = forms::Round(s.height / 2.0);
    } else {
      r.yNumberWidth = 25;
      r.yNumberHalfHeight = CheckedAdd(forms::Round(s.height / 2.0), 2);
    }
  }
  r.xTickSpace = in.xTicks ? 10 : 0;
  r.yTickSpace = in.yTicks ? 10 : 0;

  // A fixed 25 pixels stand for the y numbers on the left.
  int left = CheckedAdd(in.axesLeft, in.hMargin);
  left = CheckedAdd(left, r.yTitleWidth);
  left = CheckedAdd(left, r.yTickSpace);
  r.plotLeft = CheckedAdd(left, 25 + 4);
  int top = CheckedAdd(in.axesTop, in.vMargin);
  top = CheckedAdd(top, r.titleHeight);
  top = CheckedAdd(top, r.yNumberHalfHeight);
  r.plotTop = CheckedAdd(top, 4);
  int right = CheckedAdd(in.axesLeft, in.axesWidth);
  right = CheckedSub(right, in.hMargin);
  right = CheckedSub(right, r.xNumberHalfWidth);
  r.plotRight = CheckedSub(right, 5);
  int bottom = CheckedAdd(in.axesTop, in.axesHeight);
  bottom = CheckedSub(bottom, in.vMargin);
  bottom = CheckedSub(bottom, r.xTitleHeight);
  bottom = CheckedSub(bottom, r.xTickSpace);
  bottom = CheckedSub(bottom, std::max(r.xNumberHeight, r.yNumberHalfHeight));
  r.plotBottom = CheckedSub(bottom, 5);
  r.plotWidth = CheckedSub(CheckedSub(r.plotRight, r.plotLeft), 8);
  r.plotHeight = CheckedSub(CheckedSub(r.plotBottom, r.plotTop), 8);
  return r;
}

void ForEachStep(double min, double range, double step, const std::function<void(double)>& f) {
  int n = forms::Trunc(range / step);
  for (std::int64_t k = 0; k <= n; ++k) f(min + static_cast<double>(k) * step);
}

void ForEachExponent(int minExp, int maxExp, const std::function<void(int)>& f) {
  if (static_cast<std::int64_t>(maxExp) - minExp + 1 > std::numeric_limits<std::int32_t>::max()) {
    throw forms::RangeError();
  }
  for (std::int64_t d = minExp; d <= maxExp; ++d) f(static_cast<int>(d));
}

void ForEachLogGridValue(int base, int minExp, int maxExp, const std::function<void(double)>& f) {
  std::int64_t decades = std::max<std::int64_t>(0, static_cast<std::int64_t>(maxExp) - minExp + 1);
  std::int64_t perDecade = std::max(0, base);
  if (decades * perDecade > std::numeric_limits<std::int32_t>::max()) throw forms::RangeError();
  ForEachExponent(minExp, maxExp, [&](int d) {
    double p = Power(base, d);
    for (std::int64_t i = 1; i <= perDecade; ++i) f(static_cast<double>(i) * p);
  });
}

std::vector<Pt> PlaceYTitle(int xL, int xR, int top, int bottom, const std::vector<TextSize>& chars) {
  int room = CheckedSub(bottom, top);
  std::int64_t total = 0;
  for (const TextSize& c : chars) {
    if (total + c.height > room) break;
    total += c.height;
  }
  int y = forms::Trunc((static_cast<double>(bottom) + top) / 2.0 - static_cast<double>(total) / 2.0);
  if (y < top) y = top;
  int xc = forms::Trunc((static_cast<double>(xL) + xR) / 2.0);
  std::vector<Pt> out;
  int limit = CheckedSub(bottom, 2);
  for (size_t i = 0; i < chars.size(); ++i) {
    if (i > 0) y = CheckedAdd(y, chars[i].height);
    int x = CheckedSub(xc, chars[i].width / 2);
    if (!(y < limit)) break;
    out.push_back({x, y});
  }
  return out;
}

Pt XValueLabelAt(Pt a, int w, int xTickSpace) {
  return {CheckedSub(a.x, w / 2), CheckedAdd(CheckedAdd(a.y, xTickSpace), 5)};
}
Pt XDecadeBaseAt(Pt a, int w, int xTickSpace) { return XValueLabelAt(a, w, xTickSpace); }
Pt XDecadeExponentAt(Pt a, int w, int xTickSpace) {
  return {CheckedAdd(a.x, w / 2), CheckedAdd(a.y, xTickSpace)};
}
Pt YValueLabelAt(Pt a, int w, int h, int yTickSpace) {
  return {CheckedSub(CheckedSub(CheckedSub(a.x, yTickSpace), w), 5), CheckedSub(a.y, h / 2)};
}
Pt YDecadeBaseAt(Pt a, int w, int h, int yTickSpace) {
  return {CheckedSub(CheckedSub(CheckedSub(a.x, yTickSpace), 8), w), CheckedSub(a.y, h / 2)};
}
Pt YDecadeExponentAt(Pt a, int h, int yTickSpace) {
  return {CheckedSub(CheckedSub(a.x, yTickSpace), 8), CheckedSub(CheckedSub(a.y, h / 2), 5)};
}

std::vector<Figure> MarkerFigures(std::uint8_t shape, int size, int px, int py) {
  const int s = size;
  auto add = [](int a, int b) { return CheckedAdd(a, b); };
  auto sub = [](int a, int b) { return CheckedSub(a, b); };
  switch (shape) {
    case 0:
    case 1: {
      Figure f;
      f.kind = shape == 0 ? Figure::Ellipse : Figure::Rectangle;
      f.points = {{sub(px, s), sub(py, s)}, {add(add(px, s), 1), add(add(py, s), 1)}};
      return {f};
    }
    case 2: {
      int r = forms::Round(std::sqrt(2.0) * s);
      Figure f;
      f.kind = Figure::Polygon;
      f.points = {{sub(px, r), add(py, s)}, {px, sub(py, forms::CheckedMul(2, s))}, {add(px, r), add(py, s)}};
      return {f};
    }
    case 3:
      return {{Figure::Polygon, {{px, add(py, s)}, {px, sub(py, s)}}},
              {Figure::Polygon, {{sub(px, s), py}, {add(px, s), py}}}};
    case 4:
      return {{Figure::Polygon, {{sub(px, s), add(py, s)}, {add(px, s), sub(py, s)}}},
              {Figure::Polygon, {{sub(px, s), sub(py, s)}, {add(px, s), add(py, s)}}}};
    default:
      return {};
  }
}

}  // namespace graph_maths
