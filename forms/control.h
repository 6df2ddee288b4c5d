// The base of every window of the forms layer: a small class owning its HWND.
// Creation happens in the constructor; every setter works before and after the window shows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/core/graphics_types.h"

namespace forms {

class Form;

// Shift state bits of mouse and key events.
enum ShiftBits : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};

enum class MouseButton { Left, Right, Middle };

unsigned CurrentShiftState();

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Handle() const { return hwnd_; }
  Control* Parent() const { return parent_; }
  Form* ParentForm() const;
  const std::vector<Control*>& Children() const { return children_; }
  static Control* FromHandle(HWND hwnd);

  std::string name;

  // Geometry in the parent's client coordinates (a form: the screen).
  void SetBounds(int left, int top, int width, int height);
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);
  int ClientWidth() const;
  int ClientHeight() const;

  // Caption or text, code page 1253.
  void SetText(std::string_view text);
  std::string Text() const;

  void SetVisible(bool visible);
  bool Visible() const;
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetEnabled(bool enabled);
  bool Enabled() const;

  void SetFont(const FontSpec& font);
  const FontSpec& Font() const { return font_; }
  void SetColor(Color color);
  Color GetColor() const { return color_; }

  void SetTabOrder(int order);
  int TabOrder() const { return tabOrder_; }
  void SetTabStop(bool on);
  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;

  void BringToFront();
  void SendToBack();
  void SetParent(Control* parent);
  void Invalidate();
  void Repaint();
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  void SetMouseCapture(bool on);
  bool HasMouseCapture() const;

  // Events; empty by default.
  std::function<void()> onClick;
  std::function<void()> onDblClick;
  std::function<void()> onEnter;
  std::function<void()> onExit;
  std::function<void(MouseButton, unsigned shift, int x, int y)> onMouseDown;
  std::function<void(MouseButton, unsigned shift, int x, int y)> onMouseUp;
  std::function<void(unsigned shift, int x, int y)> onMouseMove;
  std::function<void()> onCaptureLost;
  std::function<void(unsigned& key, unsigned shift)> onKeyDown;
  std::function<void(unsigned& key, unsigned shift)> onKeyUp;
  std::function<void(char& key)> onKeyPress;

 protected:
  explicit Control(Control* parent);
  void CreateHandle(const wchar_t* windowClass, DWORD style, DWORD exStyle);
  LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);

  // Messages of this window; the default handles the common events and reflection.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  // Notifications that the parent reflects back to the child that sent them.
  virtual void HandleCommand(WORD /*code*/) {}
  virtual LRESULT HandleNotify(NMHDR* /*hdr*/) { return 0; }
  virtual void HandleScroll(WORD /*code*/) {}
  virtual bool HandleDrawItem(DRAWITEMSTRUCT* /*item*/) { return false; }
  virtual HBRUSH HandleCtlColor(HDC dc);
  // Background of windows that paint their own.
  void FillBackground(HDC dc);
  bool OwnsColor() const { return colorSet_; }
  // Hand a WM_KEYDOWN/WM_KEYUP key or a WM_CHAR character to onKeyDown, onKeyUp or onKeyPress:
  // false when the handler swallowed it (set it to 0); else wp holds what the handler left.
  bool KeyDownEvent(WPARAM& wp);
  bool KeyUpEvent(WPARAM& wp);
  bool KeyPressEvent(WPARAM& wp);

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Reflect(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  void FocusMoved(bool gained, HWND other);

  HWND hwnd_ = nullptr;
  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  FontSpec font_;
  Color color_ = clBtnFace;
  bool colorSet_ = false;
  int tabOrder_ = -1;
  HCURSOR cursor_ = nullptr;
  bool destroying_ = false;
};

// Runs a handler body so that no exception leaves a window procedure: the application's
// general error report shows it and the program goes on with the next message.
template <typename F>
void Guarded(F&& f);

}  // namespace forms

#include "forms/application.h"

template <typename F>
void forms::Guarded(F&& f) {
  try {
    f();
  } catch (...) {
    Application::Get().HandleException();
  }
}
