#include "forms/edit.h"

namespace forms {

Edit::Edit(Control* parent) : Control(parent) {
  CreateHandle(L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE);
}

void Edit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }
void Edit::SetMaxLength(int n) { SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(n), 0); }
void Edit::SetReadOnly(bool on) { SendMessageW(Handle(), EM_SETREADONLY, on ? TRUE : FALSE, 0); }

void Edit::HandleCommand(WORD code) {
  if (code == EN_CHANGE && onChange) onChange();
}

LRESULT Edit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE && onKeyPress) {
    // The dialog manager would turn Esc into the form's cancel; a key-press handler sees it.
    auto* m = reinterpret_cast<MSG*>(lp);
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE) {
      return Control::WndProc(msg, wp, lp) | DLGC_WANTMESSAGE;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
