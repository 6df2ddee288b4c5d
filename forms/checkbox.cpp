#include "forms/checkbox.h"

#include "forms/paint.h"

namespace forms {

CheckBox::CheckBox(Control* parent) : Control(parent) {
  CreateHandle(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0);
}

void CheckBox::SetChecked(bool on) {
  SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const {
  return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::HandleCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

HBRUSH CheckBox::HandleCtlColor(HDC dc) {
  return FaceColors(dc, Font(), GetColor());
}

}  // namespace forms
