#include "wave_experiment/wave_graph.h"

#include "forms/core/graphics_types.h"
#include "toolkit/okgraph3.h"

namespace Unit1 {

void ConfigureWaveGraph(double xMin, double xMax, double yMin, double yMax) {
  using namespace okgraph3;
  GraphDefaults();
  SetXMax(xMax);
  SetXMin(xMin);
  SetYMax(yMax);
  SetYMin(yMin);
  SetBackColor(0xFFFFFF);
  SetPenColor(0x0000FF);
  SetFrameColor(0);
  SetFrameVisible(true);
  SetYAxisColor(0);
  SetYAxisVisible(true);
  SetXAxisColor(0);
  SetXAxisVisible(true);
  SetXGridColor(0xC0C0C0);
  SetXGridStep(45.0);
  SetXGridVisible(true);
  SetYGridColor(0xC0C0C0);
  SetYGridStep(5.0);
  SetYGridVisible(true);
  SetXLog(false);
  SetXLogBase(10);
  SetXMaxExp(3);
  SetXMinExp(1);
  SetYLog(false);
  SetYLogBase(10);
  SetYMaxExp(5);
  SetYMinExp(0);
  SetTitleFont("times new roman", 12, 0x0000FF, 0);
  SetTitle("");
  SetXTitleFont("ms sans serif", 8, 0, forms::fsBold);
  SetXTitle("Απόσταση x");
  SetYTitleFont("ms sans serif", 8, 0, forms::fsBold);
  SetYTitle("Απομάκρυνση ψ");
  SetXTickLength(5);
  SetXTickColor(0);
  SetXStepTicks(true);
  SetXZeroTicks(true);
  SetXEndTicks(true);
  SetYTickLength(5);
  SetYTickColor(0);
  SetYStepTicks(true);
  SetYZeroTicks(true);
  SetYEndTicks(true);
  SetXNumberColor(0);
  SetXStepNumbers(true);
  SetXZeroNumbers(true);
  SetXEndNumbers(false);
  SetYNumberColor(0);
  SetYStepNumbers(true);
  SetYZeroNumbers(true);
  SetYEndNumbers(true);
  SetXGridStep(10.0);
  SetYGridStep(10.0);
  SetClipping(true);
  SetBackFromPlot(false);
  SetXDecimals(0);
  SetYDecimals(0);
}

}  // namespace Unit1
