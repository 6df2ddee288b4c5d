#include "toolkit/okgraph3.h"

#include <array>

#include "forms/bevel.h"
#include "forms/core/checked_arithmetic.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/core/message_service.h"
#include "forms/panel.h"
#include "toolkit/graph_maths.h"
#include "toolkit/okgraph3_used.h"

namespace okgraph3 {
namespace {

using forms::CheckedAdd;
using forms::CheckedSub;
using graph_maths::Pt;

struct TitleFont {
  std::string name;
  int size = 10;
  TColor color = 0;
  TFontStyles style = 0;
};

// GraphSettings: one graph per program.
struct Settings {
  double XMin = -20.0, XMax = 80.0, XRange = 100.0;
  double YMin = -20.0, YMax = 100.0, YRange = 120.0;
  int HMargin = 0, VMargin = 0;
  TColor BackColor = 0x0000FFFF;
  TColor NumberBackColor = 0;
  TColor PenColor = 0x000000FF;
  TColor FrameColor = 0;
  bool FrameVisible = true;
  TColor YAxisColor = 0;
  bool YAxisVisible = true;
  TColor XAxisColor = 0;
  bool XAxisVisible = true;
  TColor XGridColor = 0x00C0C0C0;
  double XGridStep = 20.0;
  bool XGridVisible = true;
  TColor YGridColor = 0x00C0C0C0;
  double YGridStep = 20.0;
  bool YGridVisible = true;
  bool XLog = false;
  int XLogBase = 10, XMinExp = 1, XMaxExp = 3;
  bool YLog = false;
  int YLogBase = 10, YMinExp = 1, YMaxExp = 3;
  TitleFont TitleFontV;
  std::string Title;
  TitleFont XTitleFontV;
  std::string XTitle;
  TitleFont YTitleFontV;
  std::string YTitle;
  int XTickLength = 5;
  TColor XTickColor = 0;
  bool XEndTicks = true, XZeroTicks = true, XStepTicks = true;
  int YTickLength = 5;
  TColor YTickColor = 0;
  bool YEndTicks = true, YZeroTicks = true, YStepTicks = true;
  int XDecimals = 0;
  TColor XNumberColor = 0;
  bool XEndNumbers = true, XZeroNumbers = true, XStepNumbers = true;
  int YDecimals = 0;
  TColor YNumberColor = 0;
  bool YEndNumbers = true, YZeroNumbers = true, YStepNumbers = true;
  bool Clipping = true;
  bool BackFromPlot = false;
};

Settings S;
GraphLayout L;
GraphWidgets W;
// Where the plot pen stands when there is no plot image to hold it.
Pt LoosePen;

void VeruMessage(const std::string& text) { forms::ShowMessage(text); }
void ErrorMessage(const std::string& text) { forms::MessageDlg(text, forms::MsgDlgType::Error, forms::mbOK); }

// Point sizes to pixel heights at the 96 dpi of the designs, symmetric about zero so that a
// negative size asks for the same cell height as its positive one asks for characters.
int PixelsOfPoints(int points) { return forms::Round(points * 96.0 / 72.0); }

forms::FontSpec WithNameAndSize(forms::FontSpec f, const std::string& name, int size) {
  f.name = name;
  f.height = PixelsOfPoints(size);
  return f;
}

forms::FontSpec FontOf(const TitleFont& t) {
  forms::FontSpec f;
  f.name = t.name;
  f.height = PixelsOfPoints(t.size);
  f.style = t.style;
  f.color = t.color;
  return f;
}

graph_maths::Axis XAxis() { return {S.XLog, S.XMin, S.XMax, S.XLogBase, S.XMinExp, S.XMaxExp}; }
graph_maths::Axis YAxis() { return {S.YLog, GetYMin(), S.YMax, S.YLogBase, S.YMinExp, S.YMaxExp}; }

// The data-to-pixel mapping of all four pen operations; nullopt when clipped.
std::optional<forms::Point> MapPoint(double X, double Y) {
  graph_maths::Axis xa = XAxis();
  bool refused = false;
  double v = graph_maths::AxisValue(xa, X, refused);
  if (refused) ErrorMessage("Logarithmic x data must be greater than zero !");
  std::optional<int> px = graph_maths::XPixel(xa, S.Clipping, L.PlotWidth, v);
  if (!px) return std::nullopt;
  graph_maths::Axis ya = YAxis();
  double w = graph_maths::AxisValue(ya, Y, refused);
  if (refused) ErrorMessage("Logarithmic y data must be greater than zero !");
  int py = graph_maths::YPixel(ya, L.PlotHeight, w);
  return forms::Point{*px, CheckedSub(L.PlotHeight, py)};
}

forms::Canvas* PlotCanvas() { return W.PlotImage ? &W.PlotImage->GetCanvas() : nullptr; }
forms::Canvas* AxesCanvas() { return W.AxesImage ? &W.AxesImage->GetCanvas() : nullptr; }
forms::Canvas& BackCanvas() { return okgraph3_used::BackBitmap().GetCanvas(); }

Pt PlotPen() {
  if (forms::Canvas* c = PlotCanvas()) return {c->PenPos().x, c->PenPos().y};
  return LoosePen;
}

void DestroyWidgets() {
  // Youngest first, so that no widget outlives the one it sits on.
  delete W.XTitleLabel;
  delete W.TitleLabel;
  delete W.PlotImage;
  delete W.PlotPanel;
  delete W.AxesImage;
  delete W.GraphBevel;
  W = GraphWidgets{};
}

// ---- Marks of the ticks and number labels ----

// The data points of one kind of mark on one axis, in drawing order.
enum class MarkKind { Step, Zero, End };

struct Mark {
  double value;  // data value along the axis
  int exponent;  // the decade of a logarithmic mark
};

std::vector<Mark> MarksOf(MarkKind kind, bool xAxis) {
  const graph_maths::Axis a = xAxis ? XAxis() : YAxis();
  const double range = xAxis ? S.XRange : S.YRange;
  const double step = xAxis ? S.XGridStep : S.YGridStep;
  std::vector<Mark> marks;
  switch (kind) {
    case MarkKind::Step:
      if (!a.log) graph_maths::ForEachStep(a.min, range, step, [&](double v) { marks.push_back({v, 0}); });
      break;
    case MarkKind::Zero:
      if (!a.log) {
        if (a.min <= 0) marks.push_back({0.0, 0});
      } else {
        graph_maths::ForEachExponent(a.minExp, a.maxExp, [&](int d) {
          marks.push_back({graph_maths::Power(a.logBase, d), d});
        });
      }
      break;
    case MarkKind::End:
      if (!a.log) {
        marks.push_back({a.min, 0});
        marks.push_back({a.max, 0});
      } else {
        marks.push_back({graph_maths::Power(a.logBase, a.minExp), a.minExp});
        marks.push_back({graph_maths::Power(a.logBase, a.maxExp), a.maxExp});
      }
      break;
  }
  return marks;
}

// The axes-image pixel under the plot pixel of a mark; nullopt when the mapping refuses the
// point, which then gets no mark at all (drawing it at the old pen position would print a
// stray number).
std::optional<Pt> Anchor(const Mark& m, bool xAxis) {
  double X = xAxis ? m.value : graph_maths::LowEnd(XAxis());
  double Y = xAxis ? graph_maths::LowEnd(YAxis()) : m.value;
  if (!GraphMoveTo(X, Y)) return std::nullopt;
  Pt p = PlotPen();
  return Pt{CheckedAdd(L.PlotLeft, p.x), CheckedAdd(L.PlotTop, p.y)};
}

void DrawTicks(MarkKind kind, bool xAxis) {
  bool on = xAxis ? (kind == MarkKind::Step   ? S.XStepTicks
                     : kind == MarkKind::Zero ? S.XZeroTicks
                                              : S.XEndTicks)
                  : (kind == MarkKind::Step   ? S.YStepTicks
                     : kind == MarkKind::Zero ? S.YZeroTicks
                                              : S.YEndTicks);
  forms::Canvas* c = AxesCanvas();
  if (!on || !c) return;
  TColor kept = c->PenColor();
  c->SetPenColor(xAxis ? S.XTickColor : S.YTickColor);
  for (const Mark& m : MarksOf(kind, xAxis)) {
    std::optional<Pt> a = Anchor(m, xAxis);
    if (!a) continue;
    c->MoveTo(a->x, a->y);
    if (xAxis) {
      c->LineTo(a->x, CheckedAdd(a->y, S.XTickLength));
    } else {
      c->LineTo(CheckedSub(a->x, S.YTickLength), a->y);
    }
  }
  c->SetPenColor(kept);
}

void DrawNumbers(MarkKind kind, bool xAxis) {
  bool on = xAxis ? (kind == MarkKind::Step   ? S.XStepNumbers
                     : kind == MarkKind::Zero ? S.XZeroNumbers
                                              : S.XEndNumbers)
                  : (kind == MarkKind::Step   ? S.YStepNumbers
                     : kind == MarkKind::Zero ? S.YZeroNumbers
                                              : S.YEndNumbers);
  forms::Canvas* c = AxesCanvas();
  if (!on || !c) return;
  const bool log = xAxis ? S.XLog : S.YLog;
  const int base = xAxis ? S.XLogBase : S.YLogBase;
  const int decimals = xAxis ? S.XDecimals : S.YDecimals;
  forms::FontSpec keptFont = c->Font();
  TColor keptBrush = c->BrushColor();
  forms::FontSpec f = WithNameAndSize(keptFont, graph_maths::kNumberFontName, graph_maths::kNumberFontSize);
  f.color = xAxis ? S.XNumberColor : S.YNumberColor;
  c->SetFont(f);
  c->SetBrushColor(S.NumberBackColor);
  for (const Mark& m : MarksOf(kind, xAxis)) {
    if (!log) {
      std::string text = graph_maths::RealToLabel(decimals, m.value);
      forms::Extent e = c->TextExtent(text);
      std::optional<Pt> a = Anchor(m, xAxis);
      if (!a) continue;
      Pt at = xAxis ? graph_maths::XValueLabelAt(*a, e.cx, L.XTickSpace)
                    : graph_maths::YValueLabelAt(*a, e.cx, e.cy, L.YTickSpace);
      c->TextOut(at.x, at.y, text);
    } else {
      forms::FontSpec size10 = c->Font();
      size10.height = PixelsOfPoints(graph_maths::kNumberFontSize);
      c->SetFont(size10);
      std::string baseText = std::to_string(base);
      std::string expText = std::to_string(m.exponent);
      forms::Extent e = c->TextExtent(baseText);
      std::optional<Pt> a = Anchor(m, xAxis);
      if (!a) continue;
      Pt at = xAxis ? graph_maths::XDecadeBaseAt(*a, e.cx, L.XTickSpace)
                    : graph_maths::YDecadeBaseAt(*a, e.cx, e.cy, L.YTickSpace);
      c->TextOut(at.x, at.y, baseText);
      forms::FontSpec size8 = size10;
      size8.height = PixelsOfPoints(graph_maths::kExponentFontSize);
      c->SetFont(size8);
      Pt ex = xAxis ? graph_maths::XDecadeExponentAt(*a, e.cx, L.XTickSpace)
                    : graph_maths::YDecadeExponentAt(*a, e.cy, L.YTickSpace);
      c->TextOut(ex.x, ex.y, expText);
    }
  }
  // The font colour stays: the name, the size and the brush are what the drawers give back.
  forms::FontSpec back = c->Font();
  back.name = keptFont.name;
  back.height = keptFont.height;
  c->SetFont(back);
  c->SetBrushColor(keptBrush);
}

// A grid or axis drawer's own pen colour for the time it draws.
class PenColourScope {
 public:
  explicit PenColourScope(TColor c) : kept_(GetPenColor()) { SetPenColor(c); }
  ~PenColourScope() { SetPenColor(kept_); }

 private:
  TColor kept_;
};

void Line(double x1, double y1, double x2, double y2) {
  GraphMoveTo(x1, y1);
  GraphLineTo(x2, y2);
}

}  // namespace

// ---- Creation and geometry ----

void CreateGraph(forms::Control* Parent) {
  if (auto* host = dynamic_cast<forms::Panel*>(Parent)) {
    DestroyWidgets();
    W.HostPanel = host;
    W.GraphBevel = new forms::Bevel(host);
    W.AxesImage = new forms::Image(host);
    W.PlotPanel = new forms::Panel(host);
    W.PlotPanel->SetBevelInner(forms::BevelCut::None);
    W.PlotPanel->SetBevelOuter(forms::BevelCut::None);
    W.PlotImage = new forms::Image(W.PlotPanel);
    W.PlotPanel->AlignClient(W.PlotImage);
    W.TitleLabel = new forms::Label(host);
    W.XTitleLabel = new forms::Label(host);
    W.GraphBevel->Hide();
    W.TitleLabel->Hide();
    W.XTitleLabel->Hide();
    // The axes picture lies under the plot panel and the title labels, which are drawn over it.
    W.AxesImage->SendToBack();
  }
  okgraph3_used::CreateGraphBitmaps();
  L.PanelPlaced = false;
  L.LayoutDone = false;
  GraphDefaults();
  L.LayoutDirty = false;
  L.GraphDrawn = false;
}

forms::Panel* GetPlotPanel() { return W.PlotPanel; }

void FitGraph() {
  if (!W.HostPanel) return;
  forms::Image& axes = *W.AxesImage;
  axes.SetBounds(8, 8, W.HostPanel->ClientWidth() - 16, W.HostPanel->ClientHeight() - 16);
  W.TitleLabel->SetBounds(10, 10, W.TitleLabel->Width(), W.TitleLabel->Height());
  W.XTitleLabel->SetBounds(0, 0, W.XTitleLabel->Width(), W.XTitleLabel->Height());
  W.PlotImage->SetBounds(0, 0, W.PlotImage->Width(), W.PlotImage->Height());
  for (forms::Label* l : {W.TitleLabel, W.XTitleLabel}) {
    l->SetCaption(" ");
    l->SetColor(S.BackColor);
  }
  forms::Bitmap& frame = okgraph3_used::FrameBitmap();
  frame.SetSize(axes.Width() - 2, axes.Height() - 2);
  forms::Rect r{0, 0, axes.ClientWidth(), axes.ClientHeight()};
  frame.GetCanvas().CopyRect(r, axes.GetCanvas(), r);
  W.GraphBevel->SetBounds(axes.Left() - 1, axes.Top() - 1, axes.Width() + 2, axes.Height() + 2);
  W.GraphBevel->Show();
  axes.Show();
  W.TitleLabel->Show();
  W.XTitleLabel->Show();
}

void ComputeLayout() {
  forms::Canvas* c = AxesCanvas();
  if (!c) return;
  const forms::FontSpec kept = c->Font();
  graph_maths::LayoutInput in;
  in.axesLeft = W.AxesImage->Left();
  in.axesTop = W.AxesImage->Top();
  in.axesWidth = W.AxesImage->Width();
  in.axesHeight = W.AxesImage->Height();
  in.hMargin = S.HMargin;
  in.vMargin = S.VMargin;
  in.titleFontName = S.TitleFontV.name;
  in.titleFontSize = S.TitleFontV.size;
  in.title = S.Title;
  in.xTitleFontName = S.XTitleFontV.name;
  in.xTitleFontSize = S.XTitleFontV.size;
  in.xTitle = S.XTitle;
  in.yTitleFontName = S.YTitleFontV.name;
  in.yTitleFontSize = S.YTitleFontV.size;
  in.yTitle = S.YTitle;
  in.xNumbers = S.XStepNumbers || S.XEndNumbers || S.XZeroNumbers;
  in.yNumbers = S.YStepNumbers || S.YEndNumbers || S.YZeroNumbers;
  in.xDecimals = S.XDecimals;
  in.yDecimals = S.YDecimals;
  in.xMax = S.XMax;
  in.yMax = S.YMax;
  in.yLog = S.YLog;
  in.xTicks = S.XStepTicks || S.XEndTicks || S.XZeroTicks;
  in.yTicks = S.YStepTicks || S.YEndTicks || S.YZeroTicks;
  graph_maths::LayoutResult r;
  try {
    // The canvas keeps its own style while it measures: only the name and the size change.
    r = graph_maths::ComputeLayout(in, [&](const std::string& name, int size, const std::string& text) {
      c->SetFont(WithNameAndSize(c->Font(), name, size));
      forms::Extent e = c->TextExtent(text);
      return graph_maths::TextSize{e.cx, e.cy};
    });
  } catch (...) {
    c->SetFont(kept);
    throw;
  }
  c->SetFont(kept);
  L.TitleHeight = r.titleHeight;
  L.XTitleHeight = r.xTitleHeight;
  L.YTitleWidth = r.yTitleWidth;
  L.XNumberHalfWidth = r.xNumberHalfWidth;
  L.XNumberHeight = r.xNumberHeight;
  L.YNumberWidth = r.yNumberWidth;
  L.YNumberHalfHeight = r.yNumberHalfHeight;
  L.XTickSpace = r.xTickSpace;
  L.YTickSpace = r.yTickSpace;
  L.PlotLeft = r.plotLeft;
  L.PlotTop = r.plotTop;
  L.PlotRight = r.plotRight;
  L.PlotBottom = r.plotBottom;
  L.PlotWidth = r.plotWidth;
  L.PlotHeight = r.plotHeight;
  L.LayoutDone = true;
}

void PlacePlotPanel() {
  if (!W.PlotPanel) return;
  W.PlotPanel->SetLeft(CheckedAdd(L.PlotLeft, 8));
  W.PlotPanel->SetTop(CheckedAdd(L.PlotTop, 8));
  W.PlotPanel->SetWidth(CheckedAdd(L.PlotWidth, 1));
  W.PlotPanel->SetHeight(CheckedAdd(L.PlotHeight, 1));
  L.PanelPlaced = true;
}

bool LayoutValid() { return L.PanelPlaced && L.LayoutDone; }

// ---- Ranges, margins, colours and switches ----

void SetHMargin(int Margin) {
  S.HMargin = Margin < 0 ? 0 : Margin;
  ComputeLayout();
  PlacePlotPanel();
}
int GetHMargin() { return S.HMargin; }

void SetVMargin(int Margin) {
  S.VMargin = Margin < 0 ? 0 : Margin;
  ComputeLayout();
  PlacePlotPanel();
}
int GetVMargin() { return S.VMargin; }

void SetXMin(double Value) {
  if (!(Value < S.XMax)) {
    VeruMessage("Value must be less than x-maximum");
    return;
  }
  S.XMin = Value;
  S.XRange = S.XMax - S.XMin;
  L.LayoutDirty = true;
}
double GetXMin() { return S.XMin; }

void SetXMax(double Value) {
  if (!(Value > S.XMin)) {
    VeruMessage("Value must be greater than x-minimum");
    return;
  }
  S.XMax = Value;
  S.XRange = S.XMax - S.XMin;
  L.LayoutDirty = true;
}
double GetXMax() { return S.XMax; }

void SetYMin(double Value) {
  if (!(Value < S.YMax)) {
    VeruMessage("Value must be less than y-maximum");
    return;
  }
  S.YMin = Value;
  S.YRange = S.YMax - S.YMin;
  L.LayoutDirty = true;
}
double GetYMin() { return S.YMin; }

void SetYMax(double Value) {
  if (!(Value > S.YMin)) {
    VeruMessage("Value must be greater than y-minimum");
    return;
  }
  S.YMax = Value;
  S.YRange = S.YMax - S.YMin;
  L.LayoutDirty = true;
}
double GetYMax() { return S.YMax; }

void SetBackColor(TColor Color) {
  S.BackColor = Color;
  S.NumberBackColor = Color;
}
TColor GetBackColor() { return S.BackColor; }

void SetPenColor(TColor Color) {
  S.PenColor = Color;
  if (L.GraphDrawn) {
    if (forms::Canvas* c = PlotCanvas()) c->SetPenColor(Color);
  }
}
TColor GetPenColor() { return S.PenColor; }

void SetFrameColor(TColor Color) { S.FrameColor = Color; }
TColor GetFrameColor() { return S.FrameColor; }
void SetFrameVisible(bool Visible) { S.FrameVisible = Visible; }
void SetClipping(bool On) { S.Clipping = On; }
bool GetClipping() { return S.Clipping; }
void SetBackFromPlot(bool On) { S.BackFromPlot = On; }

// ---- Drawing on the plot and on the back bitmap ----

void ClearPlot() {
  forms::Canvas* c = PlotCanvas();
  if (!c) return;
  c->SetBrushColor(S.BackColor);
  c->FillRect({0, 0, W.PlotImage->Width(), W.PlotImage->Height()});
}

bool GraphMoveTo(double X, double Y) {
  std::optional<forms::Point> p = MapPoint(X, Y);
  if (!p) return false;
  if (forms::Canvas* c = PlotCanvas()) {
    c->MoveTo(p->x, p->y);
  } else {
    LoosePen = {p->x, p->y};
  }
  return true;
}

bool GraphLineTo(double X, double Y) {
  std::optional<forms::Point> p = MapPoint(X, Y);
  if (!p) return false;
  if (forms::Canvas* c = PlotCanvas()) {
    c->LineTo(p->x, p->y);
  } else {
    LoosePen = {p->x, p->y};
  }
  return true;
}

bool BackMoveTo(double X, double Y) {
  std::optional<forms::Point> p = MapPoint(X, Y);
  if (!p) return false;
  BackCanvas().MoveTo(p->x, p->y);
  return true;
}

bool BackLineTo(double X, double Y) {
  std::optional<forms::Point> p = MapPoint(X, Y);
  if (!p) return false;
  forms::Canvas& c = BackCanvas();
  TColor kept = c.PenColor();
  c.SetPenColor(S.PenColor);
  c.LineTo(p->x, p->y);
  c.SetPenColor(kept);
  return true;
}

int GetPenX() { return PlotPen().x; }

void DrawFrame() {
  if (!S.FrameVisible) return;
  TColor kept = S.PenColor;
  SetPenColor(S.FrameColor);
  bool keptXLog = S.XLog;
  bool keptYLog = S.YLog;
  SetXLog(false);
  SetYLog(false);
  GraphMoveTo(S.XMin, S.YMin);
  GraphLineTo(S.XMin, S.YMax);
  GraphLineTo(S.XMax, S.YMax);
  GraphLineTo(S.XMax, S.YMin);
  GraphLineTo(S.XMin, S.YMin);
  SetXLog(keptXLog);
  SetYLog(keptYLog);
  SetPenColor(kept);
}

std::string RealToLabel(int Decimals, double Value) { return graph_maths::RealToLabel(Decimals, Value); }

// ---- Grids, axis lines and logarithmic scales ----

void SetXGridColor(TColor Color) { S.XGridColor = Color; }
TColor GetXGridColor() { return S.XGridColor; }
void SetXGridStep(double Step) {
  if (!(Step > 0)) {
    VeruMessage("Step value must be grater than zero");
    return;
  }
  S.XGridStep = Step;
}
double GetXGridStep() { return S.XGridStep; }
void SetXGridVisible(bool Visible) { S.XGridVisible = Visible; }
bool GetXGridVisible() { return S.XGridVisible; }
void SetYGridColor(TColor Color) { S.YGridColor = Color; }
TColor GetYGridColor() { return S.YGridColor; }
void SetYGridStep(double Step) {
  if (!(Step > 0)) {
    VeruMessage("Step value must be grater than zero");
    return;
  }
  S.YGridStep = Step;
}
double GetYGridStep() { return S.YGridStep; }
void SetYGridVisible(bool Visible) { S.YGridVisible = Visible; }
bool GetYGridVisible() { return S.YGridVisible; }
void SetYAxisColor(TColor Color) { S.YAxisColor = Color; }
TColor GetYAxisColor() { return S.YAxisColor; }
void SetYAxisVisible(bool Visible) { S.YAxisVisible = Visible; }
bool GetYAxisVisible() { return S.YAxisVisible; }
void SetXAxisColor(TColor Color) { S.XAxisColor = Color; }
TColor GetXAxisColor() { return S.XAxisColor; }
void SetXAxisVisible(bool Visible) { S.XAxisVisible = Visible; }
bool GetXAxisVisible() { return S.XAxisVisible; }

void SetXLog(bool On) {
  S.XLog = On;
  L.LayoutDirty = true;
}
bool GetXLog() { return S.XLog; }
void SetXLogBase(int Base) { S.XLogBase = Base; }
int GetXLogBase() { return S.XLogBase; }
void SetXMinExp(int Exponent) {
  if (!(Exponent < S.XMaxExp)) {
    ErrorMessage("Min x exponent must be less than max x exponent");
    return;
  }
  S.XMinExp = Exponent;
}
int GetXMinExp() { return S.XMinExp; }
void SetXMaxExp(int Exponent) {
  if (!(Exponent > S.XMinExp)) {
    ErrorMessage("Max x exponent must be greater than min x exponent");
    return;
  }
  S.XMaxExp = Exponent;
}
int GetXMaxExp() { return S.XMaxExp; }

void SetYLog(bool On) {
  S.YLog = On;
  L.LayoutDirty = true;
}
bool GetYLog() { return S.YLog; }
void SetYLogBase(int Base) { S.YLogBase = Base; }
int GetYLogBase() { return S.YLogBase; }
void SetYMinExp(int Exponent) {
  if (Exponent < 0) {
    VeruMessage("Minimum y exponent must be a no negative number");
    return;
  }
  S.YMinExp = Exponent;
}
int GetYMinExp() { return S.YMinExp; }
void SetYMaxExp(int Exponent) {
  if (Exponent < 0) {
    VeruMessage("Maximum y exponent must be a no negative number");
    return;
  }
  S.YMaxExp = Exponent;
}
int GetYMaxExp() { return S.YMaxExp; }

void DrawXGrid() {
  if (!S.XGridVisible) return;
  PenColourScope pen(S.XGridColor);
  double yLow = graph_maths::LowEnd(YAxis());
  double yHigh = graph_maths::HighEnd(YAxis());
  if (!S.XLog) {
    graph_maths::ForEachStep(S.XMin, S.XRange, S.XGridStep, [&](double x) { Line(x, yLow, x, yHigh); });
  } else {
    graph_maths::ForEachLogGridValue(S.XLogBase, S.XMinExp, S.XMaxExp,
                                     [&](double x) { Line(x, yLow, x, yHigh); });
  }
}

void DrawYGrid() {
  if (!S.YGridVisible) return;
  PenColourScope pen(S.YGridColor);
  double xLow = graph_maths::LowEnd(XAxis());
  double xHigh = graph_maths::HighEnd(XAxis());
  if (!S.YLog) {
    graph_maths::ForEachStep(S.YMin, S.YRange, S.YGridStep, [&](double y) { Line(xLow, y, xHigh, y); });
  } else {
    graph_maths::ForEachLogGridValue(S.YLogBase, S.YMinExp, S.YMaxExp,
                                     [&](double y) { Line(xLow, y, xHigh, y); });
  }
}

void DrawYAxis() {
  if (!S.YAxisVisible) return;
  double yLow = graph_maths::LowEnd(YAxis());
  double yHigh = graph_maths::HighEnd(YAxis());
  PenColourScope pen(S.YAxisColor);
  if (!S.XLog) {
    Line(0, yLow, 0, yHigh);
  } else {
    graph_maths::ForEachExponent(S.XMinExp, S.XMaxExp, [&](int d) {
      double x = graph_maths::Power(S.XLogBase, d);
      Line(x, yLow, x, yHigh);
    });
  }
}

void DrawXAxis() {
  if (!S.XAxisVisible) return;
  double xLow = graph_maths::LowEnd(XAxis());
  double xHigh = graph_maths::HighEnd(XAxis());
  PenColourScope pen(S.XAxisColor);
  if (!S.YLog) {
    Line(xLow, 0, xHigh, 0);
  } else {
    graph_maths::ForEachExponent(S.YMinExp, S.YMaxExp, [&](int d) {
      double y = graph_maths::Power(S.YLogBase, d);
      Line(xLow, y, xHigh, y);
    });
  }
}

// ---- Titles and fonts ----

void SetTitleFont(const std::string& Name, int Size, TColor Color, TFontStyles Style) {
  S.TitleFontV = {Name, Size, Color, Style};
}
void SetTitle(const std::string& Text) {
  S.Title = Text;
  L.LayoutDirty = true;
}
std::string GetTitle() { return S.Title; }

void SetXTitleFont(const std::string& Name, int Size, TColor Color, TFontStyles Style) {
  S.XTitleFontV = {Name, Size > 14 ? 14 : Size, Color, Style};
}
void SetXTitle(const std::string& Text) {
  S.XTitle = graph_maths::LetterSpaced(Text);
  L.LayoutDirty = true;
}
std::string GetXTitle() { return S.XTitle; }

void SetYTitleFont(const std::string& Name, int Size, TColor Color, TFontStyles Style) {
  S.YTitleFontV = {Name, Size > 14 ? 14 : Size, Color, Style};
}
void SetYTitle(const std::string& Text) {
  S.YTitle = Text;
  L.LayoutDirty = true;
}
std::string GetYTitle() { return S.YTitle; }

void DrawTitle() {
  if (S.Title.empty() || !W.TitleLabel) return;
  forms::Label& t = *W.TitleLabel;
  const forms::Image& a = *W.AxesImage;
  t.SetBounds(a.Left() + 10, CheckedAdd(CheckedAdd(a.Top(), S.VMargin), 1), a.Width() - 19,
              CheckedSub(L.TitleHeight, 1));
  t.SetAutoSize(false);
  t.SetAlignment(forms::Alignment::Center);
  t.SetFont(FontOf(S.TitleFontV));
  t.SetCaption(S.Title);
  t.Repaint();
}

void DrawXTitle() {
  if (!W.XTitleLabel) return;
  if (!S.XTitle.empty()) {
    forms::Label& t = *W.XTitleLabel;
    int top = CheckedAdd(CheckedAdd(CheckedAdd(L.PlotBottom, L.XTickSpace), L.XNumberHeight), 1);
    t.SetBounds(L.PlotLeft, top, CheckedAdd(CheckedSub(L.PlotRight, L.PlotLeft), 1),
                CheckedAdd(L.XTitleHeight, 1));
    t.SetAutoSize(false);
    t.SetAlignment(forms::Alignment::Center);
    t.SetFont(FontOf(S.XTitleFontV));
    t.SetCaption(S.XTitle);
  }
  W.AxesImage->Repaint();
}

void DrawYTitle() {
  forms::Canvas* c = AxesCanvas();
  if (S.YTitle.empty() || !c) return;
  int xL = CheckedSub(CheckedSub(CheckedSub(L.PlotLeft, L.YTickSpace), L.YNumberWidth), L.YTitleWidth);
  int xR = CheckedAdd(xL, L.YTitleWidth);
  const forms::FontSpec kept = c->Font();
  c->SetFont(FontOf(S.YTitleFontV));
  std::vector<graph_maths::TextSize> sizes;
  for (char ch : S.YTitle) {
    forms::Extent e = c->TextExtent(std::string(1, ch));
    sizes.push_back({e.cx, e.cy});
  }
  TColor keptBrush = c->BrushColor();
  c->SetBrushColor(S.NumberBackColor);
  std::vector<Pt> at = graph_maths::PlaceYTitle(xL, xR, L.PlotTop, L.PlotBottom, sizes);
  for (size_t i = 0; i < at.size(); ++i) c->TextOut(at[i].x, at[i].y, std::string(1, S.YTitle[i]));
  c->SetBrushColor(keptBrush);
  c->SetFont(kept);
}

// ---- Ticks and number labels ----

void SetXTickLength(int Length) { S.XTickLength = Length > 10 ? 10 : Length; }
int GetXTickLength() { return S.XTickLength; }
void SetXTickColor(TColor Color) { S.XTickColor = Color; }
TColor GetXTickColor() { return S.XTickColor; }
void SetXEndTicks(bool On) {
  S.XEndTicks = On;
  L.LayoutDirty = true;
}
bool GetXEndTicks() { return S.XEndTicks; }
void SetXZeroTicks(bool On) {
  S.XZeroTicks = On;
  L.LayoutDirty = true;
}
bool GetXZeroTicks() { return S.XZeroTicks; }
void SetXStepTicks(bool On) {
  S.XStepTicks = On;
  L.LayoutDirty = true;
}
bool GetXStepTicks() { return S.XStepTicks; }
void SetYTickLength(int Length) { S.YTickLength = Length > 10 ? 10 : Length; }
int GetYTickLength() { return S.YTickLength; }
void SetYTickColor(TColor Color) { S.YTickColor = Color; }
TColor GetYTickColor() { return S.YTickColor; }
void SetYEndTicks(bool On) {
  S.YEndTicks = On;
  L.LayoutDirty = true;
}
bool GetYEndTicks() { return S.YEndTicks; }
void SetYZeroTicks(bool On) {
  S.YZeroTicks = On;
  L.LayoutDirty = true;
}
bool GetYZeroTicks() { return S.YZeroTicks; }
void SetYStepTicks(bool On) {
  S.YStepTicks = On;
  L.LayoutDirty = true;
}
bool GetYStepTicks() { return S.YStepTicks; }
void SetXDecimals(int Decimals) {
  S.XDecimals = Decimals;
  L.LayoutDirty = true;
}
int GetXDecimals() { return S.XDecimals; }
void SetXNumberColor(TColor Color) { S.XNumberColor = Color; }
TColor GetXNumberColor() { return S.XNumberColor; }
void SetXEndNumbers(bool On) {
  S.XEndNumbers = On;
  L.LayoutDirty = true;
}
bool GetXEndNumbers() { return S.XEndNumbers; }
void SetXZeroNumbers(bool On) {
  S.XZeroNumbers = On;
  L.LayoutDirty = true;
}
bool GetXZeroNumbers() { return S.XZeroNumbers; }
void SetXStepNumbers(bool On) {
  S.XStepNumbers = On;
  L.LayoutDirty = true;
}
bool GetXStepNumbers() { return S.XStepNumbers; }
void SetYDecimals(int Decimals) {
  S.YDecimals = Decimals > 3 ? 3 : Decimals < 0 ? 0 : Decimals;
  L.LayoutDirty = true;
}
int GetYDecimals() { return S.YDecimals; }
void SetYNumberColor(TColor Color) { S.YNumberColor = Color; }
void SetYEndNumbers(bool On) {
  S.YEndNumbers = On;
  L.LayoutDirty = true;
}
bool GetYEndNumbers() { return S.YEndNumbers; }
void SetYZeroNumbers(bool On) {
  S.YZeroNumbers = On;
  L.LayoutDirty = true;
}
bool GetYZeroNumbers() { return S.YZeroNumbers; }
void SetYStepNumbers(bool On) {
  S.YStepNumbers = On;
  L.LayoutDirty = true;
}
bool GetYStepNumbers() { return S.YStepNumbers; }

void DrawXStepTicks() { DrawTicks(MarkKind::Step, true); }
void DrawXZeroTicks() { DrawTicks(MarkKind::Zero, true); }
void DrawXEndTicks() { DrawTicks(MarkKind::End, true); }
void DrawYZeroTicks() { DrawTicks(MarkKind::Zero, false); }
void DrawYStepTicks() { DrawTicks(MarkKind::Step, false); }
void DrawYEndTicks() { DrawTicks(MarkKind::End, false); }
void DrawXStepNumbers() { DrawNumbers(MarkKind::Step, true); }
void DrawXZeroNumbers() { DrawNumbers(MarkKind::Zero, true); }
void DrawXEndNumbers() { DrawNumbers(MarkKind::End, true); }
void DrawYStepNumbers() { DrawNumbers(MarkKind::Step, false); }
void DrawYZeroNumbers() { DrawNumbers(MarkKind::Zero, false); }
void DrawYEndNumbers() { DrawNumbers(MarkKind::End, false); }

// ---- Redraw, defaults and animation frames ----

void GraphDefaults() {
  TColor numberBack = S.NumberBackColor;
  S = Settings{};
  S.NumberBackColor = numberBack;
  S.TitleFontV = {"times new roman", 12, 0x000000FF, forms::fsBold};
  S.Title = "Main title";
  S.XTitleFontV = {"arial", 10, 0x00FF0000, 0};
  S.XTitle = "x  a x i s";
  S.YTitleFontV = {"arial", 10, 0x00FF0000, 0};
  S.YTitle = "y axis";
}

void DrawGraph() {
  if (!W.HostPanel) return;
  if (!LayoutValid() || L.LayoutDirty) {
    SetHMargin(S.HMargin);
    SetVMargin(S.VMargin);
    L.LayoutDirty = false;
  }
  forms::Canvas& axes = W.AxesImage->GetCanvas();
  axes.SetCopyMode(forms::kCopySource);
  axes.Draw(W.AxesImage->Left() + 1, W.AxesImage->Top() + 1, okgraph3_used::FrameBitmap());
  L.GraphDrawn = true;
  ClearPlot();
  DrawXGrid();
  DrawYGrid();
  DrawYAxis();
  DrawXAxis();
  DrawTitle();
  DrawFrame();
  DrawXTitle();
  DrawYTitle();
  DrawXStepTicks();
  DrawXZeroTicks();
  DrawXEndTicks();
  DrawYZeroTicks();
  DrawYStepTicks();
  DrawYEndTicks();
  DrawXStepNumbers();
  DrawXZeroNumbers();
  DrawXEndNumbers();
  DrawYStepNumbers();
  DrawYZeroNumbers();
  DrawYEndNumbers();
  SaveCleanPlot();
  SavePlotCopy();
}

static void CopyPlotInto(forms::Bitmap& b) {
  if (!W.PlotImage) return;
  b.SetSize(W.PlotImage->Width(), W.PlotImage->Height());
  forms::Rect r{0, 0, W.PlotImage->ClientWidth(), W.PlotImage->ClientHeight()};
  b.GetCanvas().CopyRect(r, W.PlotImage->GetCanvas(), r);
}

void SaveCleanPlot() { CopyPlotInto(okgraph3_used::CleanBitmap()); }
void SavePlotCopy() { CopyPlotInto(okgraph3_used::PlotCopyBitmap()); }

void PrepareBackBitmap() {
  forms::Bitmap& back = okgraph3_used::BackBitmap();
  if (!S.BackFromPlot) {
    const forms::Bitmap& clean = okgraph3_used::CleanBitmap();
    back.SetSize(clean.Width(), clean.Height());
    back.GetCanvas().Draw(0, 0, clean);
  } else {
    CopyPlotInto(back);
  }
}

void DrawMarker(std::uint8_t Shape, int Size, TColor PenColor, double X, double Y, TColor BrushColor) {
  forms::Canvas& c = BackCanvas();
  TColor keptBrush = c.BrushColor();
  TColor keptPen = c.PenColor();
  c.SetBrushColor(BrushColor);
  c.SetPenColor(PenColor);
  try {
    if (GraphMoveTo(X, Y)) {
      Pt p = PlotPen();
      for (const graph_maths::Figure& f : graph_maths::MarkerFigures(Shape, Size, p.x, p.y)) {
        switch (f.kind) {
          case graph_maths::Figure::Ellipse:
            c.Ellipse(f.points[0].x, f.points[0].y, f.points[1].x, f.points[1].y);
            break;
          case graph_maths::Figure::Rectangle:
            c.Rectangle(f.points[0].x, f.points[0].y, f.points[1].x, f.points[1].y);
            break;
          case graph_maths::Figure::Polygon: {
            std::vector<forms::Point> pts;
            for (const Pt& q : f.points) pts.push_back({q.x, q.y});
            c.Polygon(pts);
            break;
          }
        }
      }
    }
  } catch (...) {
    c.SetBrushColor(keptBrush);
    c.SetPenColor(keptPen);
    throw;
  }
  c.SetBrushColor(keptBrush);
  c.SetPenColor(keptPen);
}

void VeruBackBitmap() {
  if (!W.PlotImage) return;
  forms::Rect r{0, 0, W.PlotImage->ClientWidth(), W.PlotImage->ClientHeight()};
  W.PlotImage->GetCanvas().CopyRect(r, BackCanvas(), r);
  W.PlotImage->Repaint();
}

// ---- Read-only views ----

const GraphLayout& CurrentLayout() { return L; }
const GraphWidgets& CurrentWidgets() { return W; }

}  // namespace okgraph3
