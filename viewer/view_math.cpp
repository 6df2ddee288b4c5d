#include "viewer/view_math.h"

#include <algorithm>
#include <cstdlib>

#include "forms/core/checked_arithmetic.h"
#include "viewer/extended_math.h"

namespace view {
namespace {

using forms::CheckedAdd;
using forms::CheckedSub;

constexpr long double kStep = 1.414213562L;
// The inverse of kStep itself, not 1 / sqrt(2), so that a zoom out undoes a zoom in.
constexpr long double kStepBack = 0.7071067813730950489L;

// One axis of a drag: toward lower coordinates the view moves up the bitmap, but never so
// far that the window's last pixel lies past the bitmap's edge plus one.
void DragAxis(int& low, int& high, int span, int extent, int to, int from) {
  int d = std::abs(CheckedSub(to, from));
  if (to < from) {
    low = CheckedAdd(low, d);
    high = CheckedAdd(low, span);
    if (extent < high) {
      low = CheckedSub(extent, span);
      high = CheckedAdd(low, span);
    }
  } else {
    low = std::max(CheckedSub(low, d), 0);
    high = CheckedAdd(low, span);
  }
}

void StepBack(int& low, int& high, int span) {
  low = std::max(CheckedSub(low, 50), 0);
  high = CheckedAdd(low, span);
}

void StepOn(int& low, int& high, int span, int extent) {
  low = CheckedAdd(low, 50);
  high = CheckedAdd(low, span);
  if (extent < high) {
    low = CheckedSub(extent, span);
    high = CheckedAdd(low, span);
  }
}

// A zoomed picture keeps at least one pixel each way, so that another step can follow.
int ZoomedSize(int size, long double factor) {
  return std::max(CheckedSub(RoundExtended(static_cast<long double>(size) * factor), 1), 1);
}

void FollowCorner(ViewState& v) {
  v.ViewRight = CheckedAdd(v.ViewLeft, kWindowWidth - 1);
  v.ViewBottom = CheckedAdd(v.ViewTop, kWindowHeight - 1);
}

}  // namespace

const PixelFormatName PixelFormatNames[9] = {
    {bmp::PixelFormat::DeviceDepth, "Device Depth"},
    {bmp::PixelFormat::Bit1, "1-bit"},
    {bmp::PixelFormat::Bit4, "4-bit"},
    {bmp::PixelFormat::Bit8, "8-bit"},
    {bmp::PixelFormat::Bit15, "15-bit"},
    {bmp::PixelFormat::Bit16, "16-bit"},
    {bmp::PixelFormat::Bit24, "24-bit"},
    {bmp::PixelFormat::Bit32, "32-bit"},
    {bmp::PixelFormat::Custom, "Custom..."},
};

std::string FormatName(bmp::PixelFormat format) {
  for (const PixelFormatName& row : PixelFormatNames) {
    if (row.format == format) return row.text;
  }
  return "";
}

std::string MakeTitleBase(const std::string& fileName, int width, int height, bmp::PixelFormat format) {
  return fileName + " (" + std::to_string(width) + "," + std::to_string(height) + "," + FormatName(format) +
         ")";
}

std::string ZoomCaption(const std::string& titleBase, int zoomLevel) {
  if (zoomLevel >= 1) return titleBase + " - [" + std::to_string(zoomLevel) + ":1]";
  return titleBase + " - [1:" + std::to_string(std::abs(zoomLevel)) + "]";
}

void DragView(ViewState& v, int bitmapWidth, int bitmapHeight, int x, int y, int lastX, int lastY) {
  if (bitmapWidth >= kWindowWidth) {
    DragAxis(v.ViewLeft, v.ViewRight, kWindowWidth - 1, bitmapWidth, x, lastX);
  }
  if (bitmapHeight >= kWindowHeight) {
    DragAxis(v.ViewTop, v.ViewBottom, kWindowHeight - 1, bitmapHeight, y, lastY);
  }
}

bool ArrowKeyView(ViewState& v, unsigned key, int bitmapWidth, int bitmapHeight) {
  switch (key) {
    case 37:
      StepBack(v.ViewLeft, v.ViewRight, kWindowWidth - 1);
      return true;
    case 38:
      StepBack(v.ViewTop, v.ViewBottom, kWindowHeight - 1);
      return true;
    case 39:
      StepOn(v.ViewLeft, v.ViewRight, kWindowWidth - 1, bitmapWidth);
      return true;
    case 40:
      StepOn(v.ViewTop, v.ViewBottom, kWindowHeight - 1, bitmapHeight);
      return true;
  }
  return false;
}

ZoomPlan PlanZoomIn(const ViewState& v, int width, int height) {
  ExtendedPrecision scope;
  ZoomPlan plan;
  plan.view = v;
  ViewState& n = plan.view;
  n.ZoomLevel = CheckedAdd(n.ZoomLevel, 1);
  if (n.ZoomLevel == 0) n.ZoomLevel = 2;
  if (n.ZoomLevel > 4) {
    n.ZoomLevel = 4;
    return plan;
  }
  n.ViewLeft = CheckedAdd(n.ViewLeft, RoundExtended(static_cast<long double>(n.ViewLeft) * 0.5L * kStep));
  n.ViewTop = CheckedAdd(n.ViewTop, RoundExtended(static_cast<long double>(n.ViewTop) * 0.5L * kStep));
  FollowCorner(n);
  plan.resize = true;
  plan.newWidth = ZoomedSize(width, kStep);
  plan.newHeight = ZoomedSize(height, kStep);
  return plan;
}

ZoomPlan PlanZoomOut(const ViewState& v, int width, int height) {
  ExtendedPrecision scope;
  ZoomPlan plan;
  plan.view = v;
  ViewState& n = plan.view;
  n.ZoomLevel = CheckedSub(n.ZoomLevel, 1);
  if (n.ZoomLevel == 0) n.ZoomLevel = -2;
  if (n.ZoomLevel < -4) {
    n.ZoomLevel = -4;
    return plan;
  }
  n.ViewLeft = CheckedSub(n.ViewLeft, RoundExtended(static_cast<long double>(n.ViewLeft) * 0.5L));
  n.ViewTop = CheckedSub(n.ViewTop, RoundExtended(static_cast<long double>(n.ViewTop) * 0.5L));
  FollowCorner(n);
  plan.resize = true;
  plan.newWidth = ZoomedSize(width, kStepBack);
  plan.newHeight = ZoomedSize(height, kStepBack);
  return plan;
}

}  // namespace view
