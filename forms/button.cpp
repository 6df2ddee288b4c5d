#include "forms/button.h"

#include "forms/form.h"
#include "forms/gdi_cache.h"
#include "forms/core/message_service.h"
#include "forms/platform/owned_handles.h"
#include "forms/core/text.h"

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

BitBtn::~BitBtn() = default;

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
  glyph_.reset(glyph);
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
  bool isDefault = focused || (form && form->defaultButton == this &&
                               !dynamic_cast<Button*>(Control::FromHandle(GetFocus())));
  if (isDefault) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  std::wstring text = Widen(Text());
  SelectionGuard font(dc, CachedFont(Font()));
  RECT measure{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
  int textW = measure.right, textH = measure.bottom;
  int glyphW = 0, glyphH = 0;
  BITMAP bm{};
  if (glyph_ && GetObjectW(glyph_.get(), sizeof(bm), &bm)) {
    glyphW = bm.bmWidth / numGlyphs_;
    glyphH = bm.bmHeight;
  }
  int spacing = (glyphW && textW) ? 4 : 0;
  int total = glyphW + spacing + textW;
  int x = r.left + (r.right - r.left - total) / 2 + (pressed ? 1 : 0);
  int cy = r.top + (r.bottom - r.top) / 2 + (pressed ? 1 : 0);
  if (glyphW) {
    UniqueMemoryDC mem(CreateCompatibleDC(dc));
    SelectionGuard selected(mem.get(), glyph_.get());
    int index = (disabled && numGlyphs_ > 1) ? 1 : 0;
    // The glyph's bottom-left pixel is its transparent colour, as in the toolkit's glyphs.
    TransparentBlt(dc, x, cy - glyphH / 2, glyphW, glyphH, mem.get(), index * glyphW, 0, glyphW, glyphH,
                   GetPixel(mem.get(), 0, glyphH - 1));
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
  UniqueGdiObject<HBITMAP> bmp(
      CreateDIBSection(WindowDC(nullptr).get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDC mem(CreateCompatibleDC(nullptr));
  {
    SelectionGuard selected(mem.get(), bmp.get());
    RECT all{0, 0, size * 2, size};
    // Olive is the transparent colour: no mark uses it.
    UniqueGdiObject<HBRUSH> back(CreateSolidBrush(RGB(128, 128, 0)));
    FillRect(mem.get(), &all, back.get());
    for (int half = 0; half < 2; ++half) {
      UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, half == 0 ? color : RGB(128, 128, 128)));
      SelectionGuard penSelected(mem.get(), pen.get());
      int ox = half * size;
      if (mark == 'v') {
        MoveToEx(mem.get(), ox + 3, 8, nullptr);
        LineTo(mem.get(), ox + 6, 12);
        LineTo(mem.get(), ox + 13, 3);
      } else if (mark == 'x') {
        MoveToEx(mem.get(), ox + 4, 4, nullptr);
        LineTo(mem.get(), ox + 12, 12);
        MoveToEx(mem.get(), ox + 12, 4, nullptr);
        LineTo(mem.get(), ox + 4, 12);
      }
    }
  }
  return bmp.release();
}

}  // namespace forms
