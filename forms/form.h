// Top-level forms: modeless and modal, with default and cancel buttons, tab order and
// mnemonics through the dialog manager.
#pragma once
#include <functional>
#include <string_view>

#include "forms/control.h"

namespace forms {

class Button;

enum class BorderStyle { Sizeable, Dialog, Single, None, ToolWindow };
enum class FormPosition { Designed, ScreenCenter };
enum class CloseAction { None, Hide, Free, Minimize };

class Form : public Control {
 public:
  Form();
  ~Form() override;

  void SetCaption(std::string_view caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  void SetBorderStyle(BorderStyle style);
  BorderStyle GetBorderStyle() const { return border_; }
  void SetClientSize(int width, int height);
  void SetPosition(FormPosition position) { position_ = position; }
  void SetMaximizeBox(bool on);
  void SetMinimizeBox(bool on);
  // An owned form stays above its owner and is hidden while the owner is minimised; null
  // makes it a window of its own again. A modal form that has none is owned by the window
  // it is shown from (ShowModal).
  void SetOwner(Form* owner);

  void Show();
  int ShowModal();
  void Close();
  bool Modal() const { return modal_; }
  void SetModalResult(int result) { modalResult_ = result; }
  int ModalResult() const { return modalResult_; }

  // Enter clicks the focused button, else the default button; Esc the cancel button.
  Button* defaultButton = nullptr;
  Button* cancelButton = nullptr;
  // The form sees key events before the focused control.
  bool keyPreview = false;
  // Tab, arrows, Enter, Esc and mnemonics work as in a dialog.
  bool dialogKeys = true;

  std::function<void()> onActivate;
  std::function<void()> onDeactivate;
  std::function<void()> onShow;
  std::function<void()> onResize;
  std::function<void(HDC)> onPaint;
  std::function<void(bool& canClose)> onCloseQuery;
  std::function<void(CloseAction& action)> onClose;

  // The control that gets the focus when the form is shown or re-activated.
  Control* activeControl = nullptr;

  // Key preview and dialog keys for a message the pump is about to dispatch.
  static bool PreTranslate(MSG& msg);
  bool ClickMnemonic(const MSG& msg);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PlaceOnScreen();
  void RaiseOwnedWindows();
  void FocusFirst();
  bool CloseQuery();
  Button* FocusedButton() const;
  void ClickCancel();

  BorderStyle border_ = BorderStyle::Sizeable;
  FormPosition position_ = FormPosition::Designed;
  bool modal_ = false;
  int modalResult_ = 0;
  bool shownOnce_ = false;
  HWND lastFocus_ = nullptr;
  // The owner is the window the last modal run was opened from, not one given by SetOwner.
  bool ownerLent_ = false;
};

// The screen the forms are centred on.
int ScreenWidth();
int ScreenHeight();

}  // namespace forms
