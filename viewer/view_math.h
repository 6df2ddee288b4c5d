// The viewer's view arithmetic: panning, zoom steps and the caption, as numbers in and
// numbers out.
#pragma once
#include <cstdint>
#include <string>

#include "viewer/bmp_decoder.h"

namespace view {

// Bitmap coordinates of the window's corner pixels and the zoom step (1 to 4, -1 to -4).
struct ViewState {
  int ViewLeft = 0;
  int ViewTop = 0;
  int ViewRight = 799;
  int ViewBottom = 599;
  int ZoomLevel = 1;
};

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

struct PixelFormatName {
  bmp::PixelFormat format;
  const char* text;
};
extern const PixelFormatName PixelFormatNames[9];

// The caption text of a pixel format, searched in table order.
std::string FormatName(bmp::PixelFormat format);

// "file (width,height,format)"
std::string MakeTitleBase(const std::string& fileName, int width, int height, bmp::PixelFormat format);
// TitleBase + " - [n:1]" or " - [1:n]".
std::string ZoomCaption(const std::string& titleBase, int zoomLevel);

// A drag with the left button from (lastX, lastY) to (x, y) over a bitmap of the given size:
// the picture follows the pointer along each axis where it is at least as big as the window.
void DragView(ViewState& v, int bitmapWidth, int bitmapHeight, int x, int y, int lastX, int lastY);

// The arrow keys (virtual-key codes 37 to 40) move the view by 50 pixels; false for other keys.
bool ArrowKeyView(ViewState& v, unsigned key, int bitmapWidth, int bitmapHeight);

// One zoom step: the new view and level, and whether the picture is resized (and to what).
struct ZoomPlan {
  ViewState view;
  bool resize = false;
  int newWidth = 0;
  int newHeight = 0;
};
ZoomPlan PlanZoomIn(const ViewState& v, int width, int height);
ZoomPlan PlanZoomOut(const ViewState& v, int width, int height);

}  // namespace view
