#include "forms/radiobutton.h"

#include "forms/paint.h"

namespace forms {

// Not an automatic radio button: the platform would group by WS_GROUP across every control of
// the parent, where the toolkit groups the radio buttons of one parent.
RadioButton::RadioButton(Control* parent) : Control(parent) {
  CreateHandle(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON, 0);
}

void RadioButton::UncheckSiblings() {
  if (!Parent()) return;
  for (Control* c : Parent()->Children()) {
    if (c != this) {
      if (auto* r = dynamic_cast<RadioButton*>(c)) {
        SendMessageW(r->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
      }
    }
  }
}

void RadioButton::SetChecked(bool on) {
  SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  if (on) UncheckSiblings();
}

bool RadioButton::Checked() const {
  return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RadioButton::HandleCommand(WORD code) {
  if (code != BN_CLICKED) return;
  SetChecked(true);
  if (onClick) onClick();
}

HBRUSH RadioButton::HandleCtlColor(HDC dc) {
  return FaceColors(dc, Font(), GetColor());
}

}  // namespace forms
