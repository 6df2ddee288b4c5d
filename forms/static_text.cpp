#include "forms/static_text.h"

#include "forms/paint.h"

namespace forms {

StaticText::StaticText(Control* parent) : Control(parent) {
  CreateHandle(L"STATIC", WS_VISIBLE | SS_LEFT, 0);
}

void StaticText::SetAlignment(Alignment a) {
  alignment_ = a;
  ApplyStyle();
}

void StaticText::SetBorderStyle(StaticBorder b) {
  border_ = b;
  ApplyStyle();
}

void StaticText::ApplyStyle() {
  LONG style = GetWindowLongW(Handle(), GWL_STYLE);
  style &= ~(SS_TYPEMASK | SS_SUNKEN | WS_BORDER);
  style |= alignment_ == Alignment::Center ? SS_CENTER : alignment_ == Alignment::Right ? SS_RIGHT : SS_LEFT;
  if (border_ == StaticBorder::Sunken) style |= SS_SUNKEN;
  if (border_ == StaticBorder::Single) style |= WS_BORDER;
  SetWindowLongW(Handle(), GWL_STYLE, style);
  // The platform turns SS_SUNKEN into the static edge only at creation.
  LONG ex = GetWindowLongW(Handle(), GWL_EXSTYLE) & ~WS_EX_STATICEDGE;
  if (border_ == StaticBorder::Sunken) ex |= WS_EX_STATICEDGE;
  SetWindowLongW(Handle(), GWL_EXSTYLE, ex);
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Invalidate();
}

HBRUSH StaticText::HandleCtlColor(HDC dc) {
  // The text takes the font's colour on the control's (or by default the face) colour.
  return FaceColors(dc, Font(), GetColor());
}

}  // namespace forms
