// A radio button. The radio buttons of one parent are one group: checking one (by the user or
// the program) unchecks the others. onClick runs when the user chooses it.
#pragma once
#include "forms/check_button.h"

namespace forms {

class RadioButton : public CheckButton {
 public:
  explicit RadioButton(Control* parent);

  void SetChecked(bool on);

 protected:
  void HandleCommand(WORD code) override;

 private:
  void UncheckSiblings();
};

}  // namespace forms
