#include "forms/check_button.h"

#include "forms/paint.h"

namespace forms {

CheckButton::CheckButton(Control* parent, DWORD kind) : Control(parent) {
  CreateHandle(L"BUTTON", WS_VISIBLE | WS_TABSTOP | kind, 0);
}

bool CheckButton::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckButton::SetCheckMark(bool on) {
  SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

HBRUSH CheckButton::HandleCtlColor(HDC dc) { return FaceColors(dc, Font(), GetColor()); }

}  // namespace forms
