// A one-line edit box for the histogram window's read-outs. The viewer keeps its own so as
// not to depend on the experiments' edit control.
#pragma once
#include "forms/control.h"

namespace viewer {

class EditBox : public forms::Control {
 public:
  explicit EditBox(forms::Control* parent);
  void SetReadOnly(bool on);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  HBRUSH HandleCtlColor(HDC dc) override;
};

}  // namespace viewer
