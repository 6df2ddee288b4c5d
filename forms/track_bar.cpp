#include "forms/track_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace forms {

TrackBar::TrackBar(Control* parent) : Control(parent) {
  CreateHandle(TRACKBAR_CLASSW, WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM, 0);
  Apply();
}

void TrackBar::Apply() {
  SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

void TrackBar::SetMin(std::int32_t v) {
  if (v > max_) return;
  min_ = v;
  position_ = std::clamp(position_, min_, max_);
  Apply();
}

void TrackBar::SetMax(std::int32_t v) {
  if (v < min_) return;
  max_ = v;
  position_ = std::clamp(position_, min_, max_);
  Apply();
}

void TrackBar::SetFrequency(std::int32_t v) {
  frequency_ = v;
  SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(v), 0);
}

void TrackBar::SetPosition(std::int32_t v) {
  position_ = std::clamp(v, min_, max_);
  SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

void TrackBar::SetThumbLength(int pixels) {
  SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) | TBS_FIXEDLENGTH);
  SendMessageW(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(pixels), 0);
}

void TrackBar::SetTickMarks(TickMarks t) {
  LONG style = GetWindowLongW(Handle(), GWL_STYLE) & ~(TBS_TOP | TBS_BOTTOM | TBS_BOTH);
  style |= t == TickMarks::Both ? TBS_BOTH : t == TickMarks::TopLeft ? TBS_TOP : TBS_BOTTOM;
  SetWindowLongW(Handle(), GWL_STYLE, style);
  Invalidate();
}

void TrackBar::SetPageSize(std::int32_t v) { SendMessageW(Handle(), TBM_SETPAGESIZE, 0, v); }
void TrackBar::SetLineSize(std::int32_t v) { SendMessageW(Handle(), TBM_SETLINESIZE, 0, v); }

void TrackBar::HandleScroll(WORD /*code*/) {
  // Only the user moves the thumb by scroll notifications; TBM_SETPOS sends none.
  auto pos = static_cast<std::int32_t>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
  if (pos == position_) return;
  position_ = pos;
  if (onChange) onChange();
}

}  // namespace forms
