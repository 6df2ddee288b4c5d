#include "forms/check_box.h"

namespace forms {

CheckBox::CheckBox(Control* parent) : CheckButton(parent, BS_AUTOCHECKBOX) {}

void CheckBox::SetChecked(bool on) { SetCheckMark(on); }

void CheckBox::HandleCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

}  // namespace forms
