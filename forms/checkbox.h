// A check box. onClick runs when the user toggles it.
#pragma once
#include "forms/control.h"

namespace forms {

class CheckBox : public Control {
 public:
  explicit CheckBox(Control* parent);

  void SetCaption(std::string_view caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  void SetChecked(bool on);
  bool Checked() const;

 protected:
  void HandleCommand(WORD code) override;
  HBRUSH HandleCtlColor(HDC dc) override;
};

}  // namespace forms
