#include "forms/cursors.h"

namespace forms {
namespace {
int screenCursor = crDefault;
}

HCURSOR CursorHandle(int id) {
  const wchar_t* name = IDC_ARROW;
  switch (id) {
    case crNone:
      return nullptr;
    case crCross:
      name = IDC_CROSS;
      break;
    case crIBeam:
      name = IDC_IBEAM;
      break;
    case crSizeNESW:
      name = IDC_SIZENESW;
      break;
    case crSizeNS:
      name = IDC_SIZENS;
      break;
    case crSizeNWSE:
      name = IDC_SIZENWSE;
      break;
    case crSizeWE:
      name = IDC_SIZEWE;
      break;
    case crUpArrow:
      name = IDC_UPARROW;
      break;
    case crHourGlass:
      name = IDC_WAIT;
      break;
    case crNo:
      name = IDC_NO;
      break;
    case crHandPoint:
      name = IDC_HAND;
      break;
    case crSizeAll:
      name = IDC_SIZEALL;
      break;
    default:
      break;
  }
  // Shared system cursors: loading one again returns the same handle and leaks nothing.
  return LoadCursorW(nullptr, name);
}

int ScreenCursor() { return screenCursor; }

void SetScreenCursor(int id) {
  screenCursor = id;
  if (id != crDefault) ::SetCursor(CursorHandle(id));
}

}  // namespace forms
