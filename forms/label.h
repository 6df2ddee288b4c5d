// A caption painted by the forms layer: alignment, word wrap, colour and auto size.
#pragma once
#include "forms/control.h"

namespace forms {

enum class Alignment { Left, Right, Center };

class Label : public Control {
 public:
  explicit Label(Control* parent);

  void SetCaption(std::string_view caption);
  std::string Caption() const { return Text(); }
  void SetAlignment(Alignment a);
  void SetWordWrap(bool on);
  bool WordWrap() const { return wordWrap_; }
  // On: the label takes the size of its caption whenever the caption or font changes.
  void SetAutoSize(bool on);
  void SetTransparent(bool on);
  // Off: '&' is shown as it is rather than underlining the next letter.
  void SetShowAccelChar(bool on);
  void SetLayoutCenter(bool on);

  void AdjustSize();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  UINT DrawFlags() const;
  Alignment alignment_ = Alignment::Left;
  bool wordWrap_ = false;
  bool autoSize_ = false;
  bool transparent_ = false;
  bool showAccel_ = true;
  bool layoutCenter_ = false;
};

}  // namespace forms
