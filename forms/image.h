// A picture control: its canvas draws on an off-screen bitmap of the control's own size, and
// the control repaints itself whenever that canvas is drawn on (Repaint shows it at once).
#pragma once
#include "forms/bitmap.h"
#include "forms/control.h"

namespace forms {

class Image : public Control {
 public:
  explicit Image(Control* parent);

  // The picture follows the control's client size, keeping its top-left part.
  Canvas& GetCanvas() { return picture_.GetCanvas(); }
  Bitmap& Picture() { return picture_; }
  const Bitmap& Picture() const { return picture_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PictureChanged();

  Bitmap picture_;
  // Set from the first drawing call until the next paint, so that a loop of thousands of
  // lines asks the window system for one repaint, not thousands.
  bool repaintAsked_ = false;
};

}  // namespace forms
