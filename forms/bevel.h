// A bevel: sunken or raised lines as a box, a double frame or one edge. Only its lines belong
// to the window (a window region), so it never covers what lies inside or under it, and
// clicks pass through to the parent.
#pragma once
#include "forms/control.h"

namespace forms {

enum class BevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class BevelStyle { Lowered, Raised };

class Bevel : public Control {
 public:
  explicit Bevel(Control* parent);

  void SetShape(BevelShape shape);
  BevelShape Shape() const { return shape_; }
  void SetStyle(BevelStyle style);
  BevelStyle Style() const { return style_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void UpdateRegion();
  void Paint(HDC dc);

  BevelShape shape_ = BevelShape::Box;
  BevelStyle style_ = BevelStyle::Lowered;
};

}  // namespace forms
