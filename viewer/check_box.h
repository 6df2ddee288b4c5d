// Check box and radio button of the histogram window, kept with the viewer (see edit_box.h).
#pragma once
#include "forms/control.h"

namespace viewer {

class CheckBox : public forms::Control {
 public:
  explicit CheckBox(forms::Control* parent);
  bool Checked() const;
  // A change by the program does not click.
  void SetChecked(bool on);

 protected:
  CheckBox(forms::Control* parent, DWORD kind);
  void HandleCommand(WORD code) override;
};

class RadioButton : public CheckBox {
 public:
  explicit RadioButton(forms::Control* parent);
};

}  // namespace viewer
