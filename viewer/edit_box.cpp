#include "viewer/edit_box.h"

#include "forms/gdi_cache.h"

namespace viewer {

EditBox::EditBox(forms::Control* parent) : Control(parent) {
  CreateHandle(L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
}

void EditBox::SetReadOnly(bool on) { SendMessageW(Handle(), EM_SETREADONLY, on ? TRUE : FALSE, 0); }

HBRUSH EditBox::HandleCtlColor(HDC dc) {
  // A read-only edit asks for the static colours; it keeps the colour it was given.
  if (!OwnsColor()) return nullptr;
  SetTextColor(dc, forms::ToColorRef(Font().color == forms::clWindowText ? forms::clBlack : Font().color));
  SetBkColor(dc, forms::ToColorRef(GetColor()));
  return forms::CachedBrush(GetColor());
}

LRESULT EditBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE && onKeyPress) {
    // The dialog manager would turn Esc into the form's cancel; a key-press handler sees it.
    auto* m = reinterpret_cast<MSG*>(lp);
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE) {
      return Control::WndProc(msg, wp, lp) | DLGC_WANTMESSAGE;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace viewer
