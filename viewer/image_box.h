// The viewer's picture control: an off-screen 32-bit picture of its own size that the viewer
// draws on and the window shows. What is drawn stays until drawn over.
#pragma once
#include "forms/control.h"
#include "viewer/bmp_decoder.h"

namespace viewer {

class ImageBox : public forms::Control {
 public:
  ImageBox(forms::Control* parent, int width, int height);

  // Top-down 0x00RRGGBB rows, the size given at creation.
  bmp::Image& Canvas() { return canvas_; }
  const bmp::Image& Canvas() const { return canvas_; }
  // The colour that fills, as 0x00BBGGRR.
  forms::Color brushColor = forms::clBlack;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  bmp::Image canvas_;
};

}  // namespace viewer
