// A panel: a coloured container with an outer and an inner bevel and a centred caption.
#pragma once
#include <vector>

#include "forms/control.h"

namespace forms {

enum class BevelCut { None, Lowered, Raised };

class Panel : public Control {
 public:
  explicit Panel(Control* parent);

  void SetCaption(std::string_view caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  void SetBevelOuter(BevelCut cut);
  BevelCut BevelOuter() const { return outer_; }
  void SetBevelInner(BevelCut cut);
  BevelCut BevelInner() const { return inner_; }
  void SetBevelWidth(int width);
  int BevelWidth() const { return bevelWidth_; }
  void SetBorderWidth(int width);
  int BorderWidth() const { return borderWidth_; }

  // The area inside the bevels and the border, in client coordinates.
  RECT InnerRect() const;
  // The child fills the inner area and follows every later resize of the panel.
  void AlignClient(Control* child);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Realign();
  void Paint(HDC dc);

  BevelCut outer_ = BevelCut::Raised;
  BevelCut inner_ = BevelCut::None;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  std::vector<Control*> aligned_;
};

// Draws `width` nested one-pixel frames: top and left in `topLeft`, bottom and right in
// `bottomRight`; `r` comes back inside them.
void DrawFrame3D(HDC dc, RECT& r, Color topLeft, Color bottomRight, int width);

}  // namespace forms
