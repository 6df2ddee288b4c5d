// The graph plotter of both experiment programs: one x-y graph per program on a panel, its
// settings as Set/Get pairs, the layout of the plot area, the data-to-pixel mapping (linear
// or logarithmic per axis, with clipping), the full redraw in its fixed order and the
// animation frames composed on the back bitmap.
//
// There is one plotter per program: all state is unit-level and every operation is a plain
// function. Data points are passed X before Y everywhere. The setters never draw: what they
// change shows at the next DrawGraph. Texts are code page 1253; colours 0x00BBGGRR; font
// sizes in points; font styles are forms::FontStyle bits.
#pragma once
#include <cstdint>
#include <string>

#include "forms/core/graphics_types.h"

namespace forms {
class Control;
class Panel;
class Bevel;
class Image;
class Label;
}  // namespace forms

namespace okgraph3 {

using TColor = forms::Color;
using TFontStyles = unsigned;

// ---- Creation and geometry ----

// Parent must be a panel (it becomes the host): the widgets are built on it. With anything
// else only the bitmaps and the defaults are set up. Called once per program.
void CreateGraph(forms::Control* Parent);
forms::Panel* GetPlotPanel();
// Sizes the graph to its host panel; shows the frame, the axes image and the title labels.
void FitGraph();
void ComputeLayout();
void PlacePlotPanel();
bool LayoutValid();

// ---- Ranges, margins, colours and switches ----

void SetHMargin(int Margin);
int GetHMargin();
void SetVMargin(int Margin);
int GetVMargin();
void SetXMin(double Value);
double GetXMin();
void SetXMax(double Value);
double GetXMax();
void SetYMin(double Value);
double GetYMin();
void SetYMax(double Value);
double GetYMax();
void SetBackColor(TColor Color);
TColor GetBackColor();
void SetPenColor(TColor Color);
TColor GetPenColor();
void SetFrameColor(TColor Color);
TColor GetFrameColor();
void SetFrameVisible(bool Visible);
void SetClipping(bool On);
bool GetClipping();
void SetBackFromPlot(bool On);

// ---- Drawing on the plot and on the back bitmap ----

void ClearPlot();
// False when the point is clipped (the pen does not move).
bool GraphMoveTo(double X, double Y);
bool GraphLineTo(double X, double Y);
bool BackMoveTo(double X, double Y);
// Draws in the pen colour and gives the back bitmap's pen its own colour back.
bool BackLineTo(double X, double Y);
// The pixel x of the plot pen: GraphMoveTo then GetPenX turns a data x into a pixel x.
int GetPenX();
void DrawFrame();
// The text of an axis number: fixed, 6 decimals, at least 9 wide, cut to Decimals.
std::string RealToLabel(int Decimals, double Value);

// ---- Grids, axis lines and logarithmic scales ----

void SetXGridColor(TColor Color);
TColor GetXGridColor();
void SetXGridStep(double Step);
double GetXGridStep();
void SetXGridVisible(bool Visible);
bool GetXGridVisible();
void SetYGridColor(TColor Color);
TColor GetYGridColor();
void SetYGridStep(double Step);
double GetYGridStep();
void SetYGridVisible(bool Visible);
bool GetYGridVisible();
void SetYAxisColor(TColor Color);
TColor GetYAxisColor();
void SetYAxisVisible(bool Visible);
bool GetYAxisVisible();
void SetXAxisColor(TColor Color);
TColor GetXAxisColor();
void SetXAxisVisible(bool Visible);
bool GetXAxisVisible();
void SetXLog(bool On);
bool GetXLog();
void SetXLogBase(int Base);
int GetXLogBase();
void SetXMinExp(int Exponent);
int GetXMinExp();
void SetXMaxExp(int Exponent);
int GetXMaxExp();
void SetYLog(bool On);
bool GetYLog();
void SetYLogBase(int Base);
int GetYLogBase();
void SetYMinExp(int Exponent);
int GetYMinExp();
void SetYMaxExp(int Exponent);
int GetYMaxExp();
void DrawXGrid();
void DrawYGrid();
void DrawYAxis();
void DrawXAxis();

// ---- Titles and fonts ----

void SetTitleFont(const std::string& Name, int Size, TColor Color, TFontStyles Style);
void SetTitle(const std::string& Text);
std::string GetTitle();
void SetXTitleFont(const std::string& Name, int Size, TColor Color, TFontStyles Style);
// Stores the text letter-spaced: every character followed by one space.
void SetXTitle(const std::string& Text);
std::string GetXTitle();
void SetYTitleFont(const std::string& Name, int Size, TColor Color, TFontStyles Style);
void SetYTitle(const std::string& Text);
std::string GetYTitle();
void DrawTitle();
void DrawXTitle();
void DrawYTitle();

// ---- Ticks and number labels ----

void SetXTickLength(int Length);
int GetXTickLength();
void SetXTickColor(TColor Color);
TColor GetXTickColor();
void SetXEndTicks(bool On);
bool GetXEndTicks();
void SetXZeroTicks(bool On);
bool GetXZeroTicks();
void SetXStepTicks(bool On);
bool GetXStepTicks();
void SetYTickLength(int Length);
int GetYTickLength();
void SetYTickColor(TColor Color);
TColor GetYTickColor();
void SetYEndTicks(bool On);
bool GetYEndTicks();
void SetYZeroTicks(bool On);
bool GetYZeroTicks();
void SetYStepTicks(bool On);
bool GetYStepTicks();
void SetXDecimals(int Decimals);
int GetXDecimals();
void SetXNumberColor(TColor Color);
TColor GetXNumberColor();
void SetXEndNumbers(bool On);
bool GetXEndNumbers();
void SetXZeroNumbers(bool On);
bool GetXZeroNumbers();
void SetXStepNumbers(bool On);
bool GetXStepNumbers();
void SetYDecimals(int Decimals);
int GetYDecimals();
void SetYNumberColor(TColor Color);
void SetYEndNumbers(bool On);
bool GetYEndNumbers();
void SetYZeroNumbers(bool On);
bool GetYZeroNumbers();
void SetYStepNumbers(bool On);
bool GetYStepNumbers();
void DrawXStepTicks();
void DrawXZeroTicks();
void DrawXEndTicks();
void DrawYZeroTicks();
void DrawYStepTicks();
void DrawYEndTicks();
void DrawXStepNumbers();
void DrawXZeroNumbers();
void DrawXEndNumbers();
void DrawYStepNumbers();
void DrawYZeroNumbers();
void DrawYEndNumbers();

// ---- Redraw, defaults and animation frames ----

// Every setting to its default; nothing is redrawn.
void GraphDefaults();
// The full redraw in its fixed order, ending with the clean copy of the empty graph.
void DrawGraph();
void SaveCleanPlot();
void SavePlotCopy();
// Starts a frame on the back bitmap from the clean graph (or the plot, with BackFromPlot).
void PrepareBackBitmap();
// Shape 0 circle, 1 square, 2 triangle, 3 plus, 4 diagonal cross; others draw nothing.
void DrawMarker(std::uint8_t Shape, int Size, TColor PenColor, double X, double Y, TColor BrushColor);
// Copies the back bitmap onto the plot and repaints the plot at once.
void VeruBackBitmap();

// ---- Read-only views for tests and diagnostics ----

struct GraphLayout {
  int PlotLeft = 0, PlotTop = 0, PlotRight = 0, PlotBottom = 0;
  int PlotWidth = 0, PlotHeight = 0;
  int TitleHeight = 0, XTitleHeight = 0, YTitleWidth = 0, YNumberWidth = 0;
  int YNumberHalfHeight = 0, XNumberHalfWidth = 0, XNumberHeight = 0;
  int XTickSpace = 0, YTickSpace = 0;
  bool LayoutDirty = false, PanelPlaced = false, LayoutDone = false, GraphDrawn = false;
};
const GraphLayout& CurrentLayout();

struct GraphWidgets {
  forms::Panel* HostPanel = nullptr;
  forms::Bevel* GraphBevel = nullptr;
  forms::Image* AxesImage = nullptr;
  forms::Panel* PlotPanel = nullptr;
  forms::Image* PlotImage = nullptr;
  forms::Label* TitleLabel = nullptr;
  forms::Label* XTitleLabel = nullptr;
};
const GraphWidgets& CurrentWidgets();

}  // namespace okgraph3
