// What a check box and a radio button share: a platform button of their kind with a caption,
// a check mark and the face colours.
#pragma once
#include <string>
#include <string_view>

#include "forms/control.h"

namespace forms {

class CheckButton : public Control {
 public:
  void SetCaption(std::string_view caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  bool Checked() const;

 protected:
  CheckButton(Control* parent, DWORD kind);
  // Sets the mark only: no click, no other button touched.
  void SetCheckMark(bool on);
  HBRUSH HandleCtlColor(HDC dc) override;
};

}  // namespace forms
