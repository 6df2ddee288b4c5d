// The painting steps every owner-painted control shares: answering WM_PAINT, and drawing off
// screen so that a control repainted many times a second never flickers.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "forms/core/graphics_types.h"

namespace forms {

// Answers the painting messages of a control that paints the whole of itself: WM_ERASEBKGND
// (nothing to erase), WM_PAINT through paint and, with printClient, WM_PRINTCLIENT on the DC it
// brings. nullopt for any other message.
std::optional<LRESULT> PaintMessage(HWND window, UINT msg, WPARAM wp, const std::function<void(HDC)>& paint,
                                    bool printClient = false);

// paint draws into a bitmap the size of the window's client area (passed as client), which is
// then copied onto target in one step.
void PaintOffScreen(HWND window, HDC target, const std::function<void(HDC dc, const RECT& client)>& paint);

// The colours a button-like child (static text, check box, radio button) answers WM_CTLCOLOR*
// with: the font's colour, or button text for the default, on the control's colour.
HBRUSH FaceColors(HDC dc, const FontSpec& font, Color back);

}  // namespace forms
