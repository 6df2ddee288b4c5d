#include "viewer/image_box.h"

#include "forms/application.h"
#include "forms/paint.h"
#include "viewer/image_ops.h"

namespace viewer {

ImageBox::ImageBox(forms::Control* parent, int width, int height)
    : Control(parent), canvas_(bmp::MakeImage(width, height)) {
  CreateHandle(forms::kWindowClass, WS_VISIBLE, 0);
  SetBounds(0, 0, width, height);
}

void ImageBox::Paint(HDC dc) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = canvas_.width;
  bi.bmiHeader.biHeight = -canvas_.height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(canvas_.width), static_cast<DWORD>(canvas_.height), 0, 0, 0,
                    static_cast<UINT>(canvas_.height), canvas_.pixels.data(), &bi, DIB_RGB_COLORS);
}

LRESULT ImageBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto r = forms::PaintMessage(
          Handle(), msg, wp, [this](HDC dc) { Paint(dc); }, /*printClient=*/true))
    return *r;
  switch (msg) {
    case WM_LBUTTONDOWN:
      // A drag goes on when the pointer leaves the window, as with any picture control.
      SetCapture(Handle());
      break;
    case WM_LBUTTONUP: {
      LRESULT r = Control::WndProc(msg, wp, lp);
      if (GetCapture() == Handle()) ReleaseCapture();
      return r;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace viewer
