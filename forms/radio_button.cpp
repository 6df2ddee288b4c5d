#include "forms/radio_button.h"

namespace forms {

// Not an automatic radio button: the platform would group by WS_GROUP across every control of
// the parent, where the toolkit groups the radio buttons of one parent.
RadioButton::RadioButton(Control* parent) : CheckButton(parent, BS_RADIOBUTTON) {}

void RadioButton::UncheckSiblings() {
  if (!Parent()) return;
  for (Control* c : Parent()->Children()) {
    if (c != this) {
      if (auto* r = dynamic_cast<RadioButton*>(c)) r->SetCheckMark(false);
    }
  }
}

void RadioButton::SetChecked(bool on) {
  SetCheckMark(on);
  if (on) UncheckSiblings();
}

void RadioButton::HandleCommand(WORD code) {
  if (code != BN_CLICKED) return;
  SetChecked(true);
  if (onClick) onClick();
}

}  // namespace forms
