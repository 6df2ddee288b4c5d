// Push buttons and glyph buttons. A button with a modal result closes its modal form.
#pragma once
#include "forms/control.h"
#include "forms/platform/owned_handles.h"

namespace forms {

enum class BitBtnKind { Custom, OK, Cancel, Yes, No };

class Button : public Control {
 public:
  explicit Button(Control* parent);

  void SetCaption(std::string_view caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  // Makes this the form's default (Enter) or cancel (Esc) button.
  void SetDefault(bool on);
  void SetCancel(bool on);
  int modalResult = 0;

  // The click of a user or of the program: modal result first, then onClick.
  void Click();

 protected:
  Button(Control* parent, DWORD extraStyle);
  void HandleCommand(WORD code) override;
};

// A button with a glyph of two images side by side (normal, disabled) left of its caption.
class BitBtn : public Button {
 public:
  explicit BitBtn(Control* parent);
  ~BitBtn() override;

  // Sets caption, modal result and default/cancel role of the kind, as the toolkit does.
  void SetKind(BitBtnKind kind);
  BitBtnKind Kind() const { return kind_; }
  // Takes ownership of the bitmap.
  void SetGlyph(HBITMAP glyph, int numGlyphs);
  bool HasGlyph() const { return static_cast<bool>(glyph_); }

 protected:
  bool HandleDrawItem(DRAWITEMSTRUCT* item) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  BitBtnKind kind_ = BitBtnKind::Custom;
  UniqueGdiObject<HBITMAP> glyph_;
  int numGlyphs_ = 1;
};

// A two-image glyph drawn from a mark ('v' tick, 'x' cross, '?' none): normal and greyed.
HBITMAP MakeMarkGlyph(char mark, COLORREF color);

}  // namespace forms
