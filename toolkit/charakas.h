// The ruler: a thin panel that the student drags over the graph and stretches at either end
// to measure a wavelength. One ruler per program, in unit-level variables. The program
// forwards the ruler panel's mouse events here and reads the panel's width afterwards.
#pragma once
#include <cstdint>

#include "forms/control.h"
#include "forms/panel.h"
#include "toolkit/charakas_drag.h"

namespace charakas {

// RulerState.
extern forms::Panel* RulerParent;  // the panel the ruler moves on
extern forms::Panel* RulerPanel;   // the ruler
extern std::int32_t DownX, DownY;
extern bool Dragging;
extern std::int32_t RulerLeftLimit;
extern std::int32_t RulerRightMargin;
extern std::int32_t RulerVMargin;   // 2, set once by CharakasDefaults
extern std::int32_t RulerMinWidth;  // 20, set once by CharakasDefaults

// Puts Ruler on Parent at (96, 56), 97 x 9, in front, with its limits. Each argument is taken
// only when it is a panel.
void InitCharakas(forms::Control* Parent, forms::Control* Ruler, std::int32_t LeftLimit,
                  std::int32_t RightMargin);

// A press starts a drag (and captures the mouse) while the screen cursor is the default, the
// east-west sizing or the drag cursor. Coordinates are the ruler's own, signed.
void CharakasMouseDown(forms::Control* Sender, forms::MouseButton Button, unsigned Shift, std::int32_t X,
                       std::int32_t Y);
void CharakasMouseMove(forms::Control* Sender, unsigned Shift, std::int32_t X, std::int32_t Y);
void CharakasMouseUp(forms::Control* Sender, forms::MouseButton Button, unsigned Shift, std::int32_t X,
                     std::int32_t Y);
// The ruler lost the mouse capture (another window took it): the drag ends as by a release.
void CharakasCaptureLost(forms::Control* Sender);

}  // namespace charakas
