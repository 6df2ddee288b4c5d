// Fonts and brushes live as long as the program: a frame loop that asks for the same one
// thousands of times gets the same handle and never leaks one.
#pragma once
#include <windows.h>

#include "forms/core/graphics_types.h"

namespace forms {

COLORREF ToColorRef(Color c);
HFONT CachedFont(const FontSpec& spec);
HBRUSH CachedBrush(Color c);
HPEN CachedPen(Color c, int width = 1, int style = PS_SOLID);

}  // namespace forms
