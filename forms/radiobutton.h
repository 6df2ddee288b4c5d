// A radio button. The radio buttons of one parent are one group: checking one (by the user or
// the program) unchecks the others. onClick runs when the user chooses it.
#pragma once
#include "forms/control.h"

namespace forms {

class RadioButton : public Control {
 public:
  explicit RadioButton(Control* parent);

  void SetCaption(std::string_view caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  void SetChecked(bool on);
  bool Checked() const;

 protected:
  void HandleCommand(WORD code) override;
  HBRUSH HandleCtlColor(HDC dc) override;

 private:
  void UncheckSiblings();
};

}  // namespace forms
