// A static text window: a caption with an optional sunken border, aligned in its box.
#pragma once
#include "forms/control.h"
#include "forms/label.h"

namespace forms {

enum class StaticBorder { None, Single, Sunken };

class StaticText : public Control {
 public:
  explicit StaticText(Control* parent);

  void SetCaption(std::string_view caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  void SetAlignment(Alignment a);
  Alignment GetAlignment() const { return alignment_; }
  void SetBorderStyle(StaticBorder b);
  StaticBorder GetBorderStyle() const { return border_; }

 protected:
  HBRUSH HandleCtlColor(HDC dc) override;

 private:
  void ApplyStyle();
  Alignment alignment_ = Alignment::Left;
  StaticBorder border_ = StaticBorder::None;
};

}  // namespace forms
