// A check box. onClick runs when the user toggles it.
#pragma once
#include "forms/check_button.h"

namespace forms {

class CheckBox : public CheckButton {
 public:
  explicit CheckBox(Control* parent);

  void SetChecked(bool on);

 protected:
  void HandleCommand(WORD code) override;
};

}  // namespace forms
