#include "forms/button.h"

#include "forms/form.h"
#include "forms/gdi_cache.h"
#include "forms/message_service.h"
#include "forms/text.h"

namespace forms {

Button::Button(Control* parent) : Button(parent, BS_PUSHBUTTON) {}

Button::Button(Control* parent, DWORD extraStyle) : Control(parent) {
  CreateHandle(L"BUTTON", WS_VISIBLE | WS_TABSTOP | extraStyle, 0);
}

void Button::SetDefault(bool on) {
  Form* f = ParentForm();
  if (!f) return;
  if (on) {
    f->defaultButton = this;
  } else if (f->defaultButton == this) {
    f->defaultButton = nullptr;
  }
  Invalidate();
}

void Button::SetCancel(bool on) {
  Form* f = ParentForm();
  if (!f) return;
  if (on) {
    f->cancelButton = this;
  } else if (f->cancelButton == this) {
    f->cancelButton = nullptr;
  }
}

void Button::Click() {
  if (modalResult != 0) {
    if (Form* f = ParentForm()) f->SetModalResult(modalResult);
  }
  if (onClick) onClick();
}

void Button::HandleCommand(WORD code) {
  if (code == BN_CLICKED) Click();
}

BitBtn::BitBtn(Control* parent) : Button(parent, BS_OWNERDRAW) {}

BitBtn::~BitBtn() {
  if (glyph_) DeleteObject(glyph_);
}

void BitBtn::SetKind(BitBtnKind kind) {
  kind_ = kind;
  switch (kind) {
    case BitBtnKind::OK:
      SetCaption("OK");
      modalResult = mrOk;
      SetDefault(true);
      SetGlyph(MakeMarkGlyph('v', RGB(0, 128, 0)), 2);
      break;
    case BitBtnKind::Cancel:
      SetCaption("Cancel");
      modalResult = mrCancel;
      SetCancel(true);
      SetGlyph(MakeMarkGlyph('x', RGB(192, 0, 0)), 2);
      break;
    case BitBtnKind::Yes:
      SetCaption("&Yes");
      modalResult = mrYes;
      SetDefault(true);
      SetGlyph(MakeMarkGlyph('v', RGB(0, 128, 0)), 2);
      break;
    case BitBtnKind::No:
      SetCaption("&No");
      modalResult = mrNo;
      SetCancel(true);
      SetGlyph(MakeMarkGlyph('x', RGB(192, 0, 0)), 2);
      break;
    case BitBtnKind::Custom:
      break;
  }
}

void BitBtn::SetGlyph(HBITMAP glyph, int numGlyphs) {
  if (glyph_) DeleteObject(glyph_);
  glyph_ = glyph;
  numGlyphs_ = numGlyphs < 1 ? 1 : numGlyphs;
  Invalidate();
}

LRESULT BitBtn::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  // The dialog manager would turn the owner-drawn button into a plain one.
  if (msg == BM_SETSTYLE) return 0;
  return Button::WndProc(msg, wp, lp);
}

bool BitBtn::HandleDrawItem(DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  RECT r = item->rcItem;
  bool pressed = (item->itemState & ODS_SELECTED) != 0;
  bool disabled = (item->itemState & ODS_DISABLED) != 0;
  bool focused = (item->itemState & ODS_FOCUS) != 0;
  Form* form = ParentForm();
  bool isDefault = focused || (form && form->defaultButton == this && !dynamic_cast<Button*>(Control::FromHandle(GetFocus())));
  if (isDefault) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  std::wstring text = Widen(Text());
  HFONT oldFont = static_cast<HFONT>(SelectObject(dc, CachedFont(Font())));
  RECT measure{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
  int textW = measure.right, textH = measure.bottom;
  int glyphW = 0, glyphH = 0;
  BITMAP bm{};
  if (glyph_ && GetObjectW(glyph_, sizeof(bm), &bm)) {
    glyphW = bm.bmWidth / numGlyphs_;
    glyphH = bm.bmHeight;
  }
  int spacing = (glyphW && textW) ? 4 : 0;
  int total = glyphW + spacing + textW;
  int x = r.left + (r.right - r.left - total) / 2 + (pressed ? 1 : 0);
  int cy = r.top + (r.bottom - r.top) / 2 + (pressed ? 1 : 0);
  if (glyphW) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, glyph_);
    int index = (disabled && numGlyphs_ > 1) ? 1 : 0;
    // The glyph's bottom-left pixel is its transparent colour, as in the toolkit's glyphs.
    TransparentBlt(dc, x, cy - glyphH / 2, glyphW, glyphH, mem, index * glyphW, 0, glyphW, glyphH,
                   GetPixel(mem, 0, glyphH - 1));
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  RECT tr{x + glyphW + spacing, cy - textH / 2, x + glyphW + spacing + textW, cy - textH / 2 + textH};
  SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    OffsetRect(&tr, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.c_str(), -1, &tr, DT_SINGLELINE);
    OffsetRect(&tr, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, ToColorRef(Font().color == clWindowText ? clBtnText : Font().color));
  }
  DrawTextW(dc, text.c_str(), -1, &tr, DT_SINGLELINE);
  if (focused) {
    RECT fr = r;
    InflateRect(&fr, -4, -4);
    DrawFocusRect(dc, &fr);
  }
  SelectObject(dc, oldFont);
  return true;
}

HBITMAP MakeMarkGlyph(char mark, COLORREF color) {
  const int size = 16;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = size * 2;
  bi.bmiHeader.biHeight = size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, size * 2, size};
  // Olive is the transparent colour: no mark uses it.
  HBRUSH back = CreateSolidBrush(RGB(128, 128, 0));
  FillRect(mem, &all, back);
  DeleteObject(back);
  for (int half = 0; half < 2; ++half) {
    HPEN pen = CreatePen(PS_SOLID, 2, half == 0 ? color : RGB(128, 128, 128));
    HGDIOBJ op = SelectObject(mem, pen);
    int ox = half * size;
    if (mark == 'v') {
      MoveToEx(mem, ox + 3, 8, nullptr);
      LineTo(mem, ox + 6, 12);
      LineTo(mem, ox + 13, 3);
    } else if (mark == 'x') {
      MoveToEx(mem, ox + 4, 4, nullptr);
      LineTo(mem, ox + 12, 12);
      MoveToEx(mem, ox + 12, 4, nullptr);
      LineTo(mem, ox + 4, 12);
    }
    SelectObject(mem, op);
    DeleteObject(pen);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  return bmp;
}

}  // namespace forms
