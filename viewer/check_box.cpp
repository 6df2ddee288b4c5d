#include "viewer/check_box.h"

namespace viewer {

CheckBox::CheckBox(forms::Control* parent) : CheckBox(parent, BS_AUTOCHECKBOX) {}

CheckBox::CheckBox(forms::Control* parent, DWORD kind) : Control(parent) {
  CreateHandle(L"BUTTON", WS_VISIBLE | WS_TABSTOP | kind, 0);
}

bool CheckBox::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool on) {
  SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::HandleCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

RadioButton::RadioButton(forms::Control* parent) : CheckBox(parent, BS_AUTORADIOBUTTON) {}

}  // namespace viewer
