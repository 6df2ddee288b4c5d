// A one-line edit box. Enter and exit come from the base class (focus moving inside the form);
// with a key-press handler, Esc goes to the handler rather than to the form's cancel.
#pragma once
#include <functional>

#include "forms/control.h"

namespace forms {

class Edit : public Control {
 public:
  explicit Edit(Control* parent);

  void SelectAll();
  void SetMaxLength(int n);
  void SetReadOnly(bool on);

  // The text changed (typed or set).
  std::function<void()> onChange;

 protected:
  void HandleCommand(WORD code) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace forms
