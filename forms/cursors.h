// Cursor identifiers as the toolkit numbers them, the platform cursor of each, and the
// application-wide screen cursor that overrides every control's own while it is not crDefault.
#pragma once
#include <windows.h>

namespace forms {

enum CursorId : int {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crUpArrow = -10,
  crHourGlass = -11,
  crDrag = -12,
  crNo = -18,
  crHandPoint = -21,
  crSizeAll = -22,
};

// The platform cursor of an identifier (crDefault: the arrow).
HCURSOR CursorHandle(int id);

// The screen's current cursor (crDefault unless the program set another).
int ScreenCursor();
void SetScreenCursor(int id);

}  // namespace forms
