#include "forms/chart.h"

#include <algorithm>
#include <cmath>

#include "forms/application.h"
#include "forms/core/chart_format.h"
#include "forms/core/checked_arithmetic.h"
#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"
#include "forms/paint.h"
#include "forms/core/text.h"

namespace forms {
namespace {

constexpr int kMargin = 4;
constexpr int kWall = 4;
constexpr int kTick = 3;
constexpr int kZoomSteps = 8;

double NiceStep(double range, int maxTicks) {
  double raw = range / std::max(maxTicks, 1);
  if (!(raw > 0)) return 1;
  double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (raw <= m * p) return m * p;
  }
  return 10 * p;
}

// Pixel positions of far-out values are clamped first, so the checked round never fires
// while painting (an error box per paint would never end).
int Pixel(double v) { return Round(std::clamp(v, -30000.0, 30000.0)); }

SIZE TextSize(HDC dc, const std::string& text) {
  std::wstring w = Widen(text);
  SIZE s{0, 0};
  GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &s);
  return s;
}

void TextAt(HDC dc, int x, int y, const std::string& text, UINT align) {
  std::wstring w = Widen(text);
  SetTextAlign(dc, align);
  TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

}  // namespace

void AreaSeries::SetSeriesColor(Color c) {
  color_ = c;
  owner_.Changed();
}

void AreaSeries::Clear() {
  values_.clear();
  colors_.clear();
  labels_.clear();
  owner_.Changed();
}

int AreaSeries::AddY(double y, std::string_view label, Color color) {
  values_.push_back(y);
  colors_.push_back(color);
  labels_.emplace_back(label);
  owner_.Changed();
  return Count() - 1;
}

double AreaSeries::YValue(int index) const {
  if (index < 0 || index >= Count()) throw RangeError();
  return values_[static_cast<size_t>(index)];
}

Color AreaSeries::ValueColor(int index) const {
  if (index < 0 || index >= Count()) throw RangeError();
  Color c = colors_[static_cast<size_t>(index)];
  return c == clNone ? color_ : c;
}

void AreaSeries::SetStairs(bool on) {
  stairs_ = on;
  owner_.Changed();
}

void AreaSeries::SetActive(bool on) {
  active_ = on;
  owner_.Changed();
}

Chart::Chart(Control* parent) : Control(parent) {
  CreateHandle(kWindowClass, WS_VISIBLE, 0);
  titleFont_ = Font();
  titleFont_.color = clBlue;
}

Chart::~Chart() = default;

AreaSeries& Chart::AddSeries() {
  series_.push_back(std::unique_ptr<AreaSeries>(new AreaSeries(*this)));
  Changed();
  return *series_.back();
}

void Chart::ClearTitle() {
  title_.clear();
  Changed();
}

void Chart::AddTitleLine(std::string_view line) {
  title_.emplace_back(line);
  Changed();
}

void Chart::SetTitleFont(const FontSpec& font) {
  titleFont_ = font;
  Changed();
}

void Chart::SetLeftAxisFormat(std::string format) {
  leftFormat_ = std::move(format);
  Changed();
}

void Chart::SetPointsPerPage(int points) {
  pointsPerPage_ = std::max(points, 0);
  Changed();
}

void Chart::SetGradient(bool visible, Color start, Color end) {
  gradient_ = visible;
  gradientStart_ = start;
  gradientEnd_ = end;
  Changed();
}

void Chart::SetLeftWallColor(Color c) {
  leftWall_ = c;
  Changed();
}

void Chart::SetBottomWallColor(Color c) {
  bottomWall_ = c;
  Changed();
}

Chart::Range Chart::AutoX() const {
  int points = pointsPerPage_;
  if (points == 0) {
    for (const auto& s : series_) points = std::max(points, s->Count());
  }
  return {0, std::max(points - 1, 1) * 1.0};
}

Chart::Range Chart::AutoY() const {
  bool any = false;
  double lo = 0, hi = 0;
  for (const auto& s : series_) {
    if (!s->active_) continue;
    for (double v : s->values_) {
      lo = any ? std::min(lo, v) : v;
      hi = any ? std::max(hi, v) : v;
      any = true;
    }
  }
  // Areas stand on zero.
  lo = std::min(lo, 0.0);
  if (!(hi > lo)) hi = lo + 1;
  return {lo, hi};
}

Chart::Layout Chart::ComputeLayout(HDC dc) const {
  Layout l;
  RECT client;
  GetClientRect(Handle(), &client);
  TEXTMETRICW tm;
  SelectionGuard font(dc, CachedFont(titleFont_));
  GetTextMetricsW(dc, &tm);
  l.titleBottom = kMargin + static_cast<int>(title_.size()) * tm.tmHeight;
  SelectObject(dc, CachedFont(Font()));
  GetTextMetricsW(dc, &tm);
  const int labelH = tm.tmHeight;

  l.x = zoomed_ ? zoomX_ : AutoX();
  l.y = zoomed_ ? zoomY_ : AutoY();
  l.plot.top = l.titleBottom + std::max(kMargin, labelH / 2 + 2);
  l.plot.bottom = client.bottom - (kWall + kTick + labelH + kMargin);
  int plotH = std::max<int>(l.plot.bottom - l.plot.top, 1);
  l.yStep = NiceStep(l.y.max - l.y.min, std::max(2, plotH / (2 * labelH)));
  if (leftFormat_.find('.') == std::string::npos) l.yStep = std::max(l.yStep, 1.0);

  int labelW = 0;
  for (double v = std::ceil(l.y.min / l.yStep) * l.yStep; v <= l.y.max + l.yStep * 1e-9; v += l.yStep) {
    labelW = std::max<int>(labelW, TextSize(dc, FormatAxisNumber(v, leftFormat_)).cx);
  }
  l.plot.left = kMargin + labelW + kTick + kWall + 2;
  int lastLabel = TextSize(dc, FormatAxisNumber(l.x.max, "")).cx;
  l.plot.right = client.right - std::max(kMargin, lastLabel / 2 + 2);
  if (l.plot.right <= l.plot.left) l.plot.right = l.plot.left + 1;
  int plotW = l.plot.right - l.plot.left;
  int xLabel = TextSize(dc, "0000").cx + 8;
  l.xStep = std::max(NiceStep(l.x.max - l.x.min, std::max(2, plotW / std::max(xLabel, 1))), 1.0);
  return l;
}

RECT Chart::PlotRect() const {
  Layout l = ComputeLayout(WindowDC(Handle()).get());
  return l.plot;
}

namespace {

struct Mapping {
  double x0, sx, y0, sy;
  int left, bottom;
  int X(double v) const { return Pixel(left + (v - x0) * sx); }
  int Y(double v) const { return Pixel(bottom - 1 - (v - y0) * sy); }
  double InverseX(int px) const { return x0 + (px - left) / sx; }
};

}  // namespace

static Mapping MapOf(const RECT& plot, double x0, double x1, double y0, double y1) {
  Mapping m;
  m.x0 = x0;
  m.y0 = y0;
  m.sx = (plot.right - 1 - plot.left) / (x1 - x0);
  m.sy = (plot.bottom - 1 - plot.top) / (y1 - y0);
  m.left = plot.left;
  m.bottom = plot.bottom;
  return m;
}

POINT Chart::ValuePoint(const AreaSeries& series, int index) const {
  Layout l = ComputeLayout(WindowDC(Handle()).get());
  Mapping m = MapOf(l.plot, l.x.min, l.x.max, l.y.min, l.y.max);
  return POINT{m.X(index), m.Y(series.YValue(index))};
}

std::pair<AreaSeries*, int> Chart::Clicked(int x, int y) const {
  Layout l = ComputeLayout(WindowDC(Handle()).get());
  if (x < l.plot.left - 2 || x > l.plot.right + 2 || y < l.plot.top - 2 || y > l.plot.bottom + 2) {
    return {nullptr, -1};
  }
  Mapping m = MapOf(l.plot, l.x.min, l.x.max, l.y.min, l.y.max);
  for (auto it = series_.rbegin(); it != series_.rend(); ++it) {
    AreaSeries& s = **it;
    if (!s.active_ || s.Count() == 0) continue;
    double fx = m.InverseX(x);
    if (!(fx > -0.5 && fx < s.Count() - 0.5)) continue;
    int index = Round(fx);
    // Inside the area, or just above its top so that an empty bin can be clicked too.
    if (y >= m.Y(s.YValue(index)) - 3) return {&s, index};
  }
  return {nullptr, -1};
}

void Chart::PaintSeries(HDC dc, const Layout& l, const AreaSeries& s) const {
  const int n = s.Count();
  if (n == 0) return;
  Mapping m = MapOf(l.plot, l.x.min, l.x.max, l.y.min, l.y.max);
  const int base = m.Y(std::clamp(0.0, l.y.min, l.y.max));
  auto px = [&](int i) { return m.X(i); };
  auto py = [&](int i) { return m.Y(s.values_[static_cast<size_t>(i)]); };
  if (n == 1) {
    SelectionGuard pen(dc, CachedPen(s.ValueColor(0)));
    MoveToEx(dc, px(0), base, nullptr);
    LineTo(dc, px(0), py(0));
    return;
  }
  // Segment i (from value i - 1 to value i) takes the colour of value i; neighbours of one
  // colour are filled as one polygon.
  std::vector<POINT> pts;
  int i = 1;
  while (i < n) {
    Color c = s.ValueColor(i);
    int end = i;
    while (end + 1 < n && s.ValueColor(end + 1) == c) ++end;
    pts.clear();
    pts.push_back({px(i - 1), base});
    pts.push_back({px(i - 1), py(i - 1)});
    for (int k = i; k <= end; ++k) {
      if (s.stairs_) pts.push_back({px(k), py(k - 1)});
      pts.push_back({px(k), py(k)});
    }
    pts.push_back({px(end), base});
    {
      SelectionGuard brush(dc, CachedBrush(c));
      SelectionGuard pen(dc, CachedPen(c));
      Polygon(dc, pts.data(), static_cast<int>(pts.size()));
    }
    i = end + 1;
  }
}

void Chart::Paint(HDC target) {
  PaintOffScreen(Handle(), target, [this](HDC dc, const RECT& client) { Draw(dc, client); });
}

void Chart::Draw(HDC dc, const RECT& client) {
  Layout l = ComputeLayout(dc);

  if (gradient_) {
    COLORREF a = ToColorRef(gradientStart_), b = ToColorRef(gradientEnd_);
    TRIVERTEX v[2] = {
        {0, 0, static_cast<COLOR16>(GetRValue(a) << 8), static_cast<COLOR16>(GetGValue(a) << 8),
         static_cast<COLOR16>(GetBValue(a) << 8), 0},
        {client.right, client.bottom, static_cast<COLOR16>(GetRValue(b) << 8),
         static_cast<COLOR16>(GetGValue(b) << 8), static_cast<COLOR16>(GetBValue(b) << 8), 0},
    };
    GRADIENT_RECT gr{0, 1};
    GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
  } else {
    FillRect(dc, &client, CachedBrush(GetColor()));
  }
  SetBkMode(dc, TRANSPARENT);

  // Title lines, centred.
  SelectionGuard font(dc, CachedFont(titleFont_));
  SetTextColor(dc, ToColorRef(titleFont_.color));
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  for (size_t i = 0; i < title_.size(); ++i) {
    TextAt(dc, client.right / 2, kMargin + static_cast<int>(i) * tm.tmHeight, title_[i], TA_CENTER | TA_TOP);
  }
  SelectObject(dc, CachedFont(Font()));
  SetTextColor(dc, ToColorRef(clBlack));

  const RECT& p = l.plot;
  RECT leftWall{p.left - kWall, p.top, p.left, p.bottom + kWall};
  RECT bottomWall{p.left - kWall, p.bottom, p.right, p.bottom + kWall};
  FillRect(dc, &leftWall, CachedBrush(leftWall_));
  FillRect(dc, &bottomWall, CachedBrush(bottomWall_));
  FrameRect(dc, &leftWall, CachedBrush(clBlack));
  FrameRect(dc, &bottomWall, CachedBrush(clBlack));

  Mapping m = MapOf(p, l.x.min, l.x.max, l.y.min, l.y.max);
  SelectionGuard pen(dc, CachedPen(clGray, 1, PS_DOT));
  for (double v = std::ceil(l.y.min / l.yStep) * l.yStep; v <= l.y.max + l.yStep * 1e-9; v += l.yStep) {
    MoveToEx(dc, p.left, m.Y(v), nullptr);
    LineTo(dc, p.right, m.Y(v));
  }
  for (double v = std::ceil(l.x.min / l.xStep) * l.xStep; v <= l.x.max + 1e-9; v += l.xStep) {
    MoveToEx(dc, m.X(v), p.top, nullptr);
    LineTo(dc, m.X(v), p.bottom);
  }

  {
    SavedDCState clipped(dc);
    IntersectClipRect(dc, p.left, p.top, p.right, p.bottom);
    for (const auto& s : series_) {
      if (s->active_) PaintSeries(dc, l, *s);
    }
  }

  SelectObject(dc, CachedPen(clBlack));
  MoveToEx(dc, p.left - kWall, p.top, nullptr);
  LineTo(dc, p.left - kWall, p.bottom + kWall);
  LineTo(dc, p.right, p.bottom + kWall);
  for (double v = std::ceil(l.y.min / l.yStep) * l.yStep; v <= l.y.max + l.yStep * 1e-9; v += l.yStep) {
    int y = m.Y(v);
    MoveToEx(dc, p.left - kWall - kTick, y, nullptr);
    LineTo(dc, p.left - kWall, y);
    TextAt(dc, p.left - kWall - kTick - 1, y - tm.tmHeight / 2, FormatAxisNumber(v, leftFormat_),
           TA_RIGHT | TA_TOP);
  }
  GetTextMetricsW(dc, &tm);
  for (double v = std::ceil(l.x.min / l.xStep) * l.xStep; v <= l.x.max + 1e-9; v += l.xStep) {
    int x = m.X(v);
    MoveToEx(dc, x, p.bottom + kWall, nullptr);
    LineTo(dc, x, p.bottom + kWall + kTick);
    TextAt(dc, x, p.bottom + kWall + kTick, FormatAxisNumber(v, ""), TA_CENTER | TA_TOP);
  }
  if (dragging_ && (std::abs(dragNow_.x - dragStart_.x) > 3 || std::abs(dragNow_.y - dragStart_.y) > 3)) {
    RECT band{std::min(dragStart_.x, dragNow_.x), std::min(dragStart_.y, dragNow_.y),
              std::max(dragStart_.x, dragNow_.x), std::max(dragStart_.y, dragNow_.y)};
    DrawFocusRect(dc, &band);
  }
}

void Chart::UndoZoom() {
  zoomed_ = false;
  Changed();
}

void Chart::ZoomTo(Range x, Range y) {
  if (!(x.max > x.min) || !(y.max > y.min)) return;
  Range fromX = zoomed_ ? zoomX_ : AutoX();
  Range fromY = zoomed_ ? zoomY_ : AutoY();
  zoomed_ = true;
  int steps = animatedZoom_ ? kZoomSteps : 1;
  for (int i = 1; i <= steps; ++i) {
    double t = static_cast<double>(i) / steps;
    zoomX_ = {fromX.min + (x.min - fromX.min) * t, fromX.max + (x.max - fromX.max) * t};
    zoomY_ = {fromY.min + (y.min - fromY.min) * t, fromY.max + (y.max - fromY.max) * t};
    if (i < steps) {
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      Sleep(10);
    }
  }
  Changed();
}

void Chart::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  if (button == MouseButton::Left) {
    dragging_ = true;
    dragStart_ = dragNow_ = POINT{x, y};
    SetMouseCapture(true);
  }
  auto [series, index] = Clicked(x, y);
  if (series && onClickSeries) onClickSeries(*this, *series, index, button, shift, x, y);
}

void Chart::FinishDrag(int x, int y) {
  dragging_ = false;
  SetMouseCapture(false);
  int dx = x - dragStart_.x, dy = y - dragStart_.y;
  Invalidate();
  if (std::abs(dx) <= 3 && std::abs(dy) <= 3) return;
  if (dx < 0 || dy < 0) {
    UndoZoom();
    return;
  }
  Layout l = ComputeLayout(WindowDC(Handle()).get());
  Mapping m = MapOf(l.plot, l.x.min, l.x.max, l.y.min, l.y.max);
  auto inverseY = [&](int py) { return m.y0 + (m.bottom - 1 - py) / m.sy; };
  ZoomTo({m.InverseX(dragStart_.x), m.InverseX(x)}, {inverseY(y), inverseY(dragStart_.y)});
}

LRESULT Chart::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto r = PaintMessage(
          Handle(), msg, wp, [this](HDC dc) { Paint(dc); }, /*printClient=*/true))
    return *r;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      MouseButton b = msg == WM_LBUTTONDOWN   ? MouseButton::Left
                      : msg == WM_RBUTTONDOWN ? MouseButton::Right
                                              : MouseButton::Middle;
      unsigned shift = CurrentShiftState();
      MouseDown(b, shift, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      break;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        dragNow_ = POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) FinishDrag(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      break;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lp) != Handle()) {
        dragging_ = false;
        Invalidate();
      }
      break;
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
