// A horizontal gauge showing a percentage: the done part in the fore colour, the rest in the
// back colour, the per cent written across the middle.
#pragma once
#include <functional>

#include "forms/control.h"

namespace forms {

class Gauge : public Control {
 public:
  explicit Gauge(Control* parent);

  // Kept within 0 to 100; the gauge repaints only when the value changes.
  void SetProgress(int percent);
  int Progress() const { return progress_; }
  void SetForeColor(Color c);
  Color ForeColor() const { return foreColor_; }
  void SetBackColor(Color c);
  void SetShowText(bool on);

  // After each change of the value.
  std::function<void(int percent)> onChange;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  void Draw(HDC dc, const RECT& all);
  int progress_ = 0;
  Color foreColor_ = clBlack;
  Color backColor_ = clWhite;
  bool showText_ = true;
};

}  // namespace forms
