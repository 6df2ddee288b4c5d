// The painting steps every owner-painted control shares: answering WM_PAINT, and drawing off
// screen so that a control repainted many times a second never flickers.
#pragma once
#include <windows.h>

#include <functional>

#include "forms/graphics_types.h"

namespace forms {

// Answers WM_PAINT of the window: paint draws on the paint DC between BeginPaint and EndPaint.
LRESULT PaintWindow(HWND window, const std::function<void(HDC)>& paint);

// paint draws into a bitmap the size of the window's client area (passed as client), which is
// then copied onto target in one step.
void PaintOffScreen(HWND window, HDC target, const std::function<void(HDC dc, const RECT& client)>& paint);

// The colours a button-like child (static text, check box, radio button) answers WM_CTLCOLOR*
// with: the font's colour, or button text for the default, on the control's colour.
HBRUSH FaceColors(HDC dc, const FontSpec& font, Color back);

}  // namespace forms
