#include "forms/canvas.h"

#include "forms/bitmap.h"
#include "forms/gdi_cache.h"
#include "forms/core/text.h"

namespace forms {

void Canvas::Attach(HDC dc) {
  dc_ = dc;
  fontApplied_ = false;
  if (!dc_) return;
  ApplyPen();
  ApplyBrush();
  ApplyFont();
  MoveToEx(dc_, pen_.x, pen_.y, nullptr);
}

void Canvas::ApplyPen() {
  if (!dc_) return;
  if (penStyle_ == PenStyle::Clear) {
    SelectObject(dc_, GetStockObject(NULL_PEN));
  } else if (penStyle_ == PenStyle::Solid && penWidth_ <= 1) {
    SelectObject(dc_, GetStockObject(DC_PEN));
    SetDCPenColor(dc_, ToColorRef(penColor_));
  } else {
    int style = penStyle_ == PenStyle::Dash ? PS_DASH : penStyle_ == PenStyle::Dot ? PS_DOT : PS_SOLID;
    SelectObject(dc_, CachedPen(penColor_, penWidth_, style));
  }
}

void Canvas::ApplyBrush() {
  if (!dc_) return;
  if (brushStyle_ == BrushStyle::Clear) {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
  } else {
    SelectObject(dc_, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc_, ToColorRef(brushColor_));
  }
}

void Canvas::ApplyFont() {
  if (!dc_) return;
  if (fontApplied_ && appliedFont_.SameFace(font_)) return;
  SelectObject(dc_, CachedFont(font_));
  appliedFont_ = font_;
  fontApplied_ = true;
}

void Canvas::SetPenColor(Color c) {
  if (c == penColor_) return;
  penColor_ = c;
  if (dc_ && penStyle_ == PenStyle::Solid && penWidth_ <= 1) {
    SetDCPenColor(dc_, ToColorRef(c));
  } else {
    ApplyPen();
  }
}

void Canvas::SetPenWidth(int width) {
  penWidth_ = width;
  ApplyPen();
}

void Canvas::SetPenStyle(PenStyle style) {
  penStyle_ = style;
  ApplyPen();
}

void Canvas::SetBrushColor(Color c) {
  brushColor_ = c;
  if (dc_ && brushStyle_ == BrushStyle::Solid) SetDCBrushColor(dc_, ToColorRef(c));
}

void Canvas::SetBrushStyle(BrushStyle style) {
  brushStyle_ = style;
  ApplyBrush();
}

void Canvas::SetFont(const FontSpec& font) {
  font_ = font;
  ApplyFont();
}

void Canvas::Record(CanvasCall::Kind kind, std::vector<Point> points, std::string_view text) {
  if (!journal_) return;
  CanvasCall call;
  call.kind = kind;
  call.points = std::move(points);
  call.text = std::string(text);
  call.penColor = penColor_;
  call.brushColor = brushColor_;
  call.brushStyle = brushStyle_;
  call.font = font_;
  journal_->push_back(std::move(call));
}

void Canvas::MoveTo(int x, int y) {
  Record(CanvasCall::MoveTo, {{x, y}});
  pen_ = {x, y};
  if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void Canvas::LineTo(int x, int y) {
  Record(CanvasCall::LineTo, {{x, y}});
  pen_ = {x, y};
  if (dc_) ::LineTo(dc_, x, y);
  Changed();
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
  Record(CanvasCall::Rectangle, {{left, top}, {right, bottom}});
  if (dc_) ::Rectangle(dc_, left, top, right, bottom);
  Changed();
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  Record(CanvasCall::Ellipse, {{left, top}, {right, bottom}});
  if (dc_) ::Ellipse(dc_, left, top, right, bottom);
  Changed();
}

void Canvas::Polygon(const std::vector<Point>& points) {
  Record(CanvasCall::Polygon, points);
  if (dc_ && points.size() >= 2) {
    std::vector<POINT> p;
    p.reserve(points.size());
    for (const Point& q : points) p.push_back({q.x, q.y});
    ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
  }
  Changed();
}

void Canvas::FillRect(const Rect& r) {
  Record(CanvasCall::FillRect, {{r.left, r.top}, {r.right, r.bottom}});
  if (dc_ && brushStyle_ == BrushStyle::Solid) {
    RECT rc{r.left, r.top, r.right, r.bottom};
    ::FillRect(dc_, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  Changed();
}

void Canvas::TextOut(int x, int y, std::string_view text) {
  Record(CanvasCall::TextOut, {{x, y}}, text);
  if (dc_) {
    ApplyFont();
    SetTextColor(dc_, ToColorRef(font_.color));
    if (brushStyle_ == BrushStyle::Solid) {
      SetBkMode(dc_, OPAQUE);
      SetBkColor(dc_, ToColorRef(brushColor_));
    } else {
      SetBkMode(dc_, TRANSPARENT);
    }
    std::wstring w = Widen(text);
    ::TextOutW(dc_, x, y, w.c_str(), static_cast<int>(w.size()));
  }
  Changed();
}

Extent Canvas::TextExtent(std::string_view text) {
  if (!dc_) return {};
  ApplyFont();
  std::wstring w = Widen(text);
  SIZE s{0, 0};
  GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &s);
  return {s.cx, s.cy};
}

void Canvas::Draw(int x, int y, const Bitmap& source) {
  Record(CanvasCall::Draw, {{x, y}});
  if (dc_ && !source.Empty()) {
    BitBlt(dc_, x, y, source.Width(), source.Height(), source.DC(), 0, 0, copyMode_);
  }
  Changed();
}

void Canvas::StretchDraw(const Rect& dest, const Bitmap& source) {
  Record(CanvasCall::StretchDraw, {{dest.left, dest.top}, {dest.right, dest.bottom}});
  if (dc_ && !source.Empty()) {
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), source.DC(), 0, 0, source.Width(),
               source.Height(), copyMode_);
  }
  Changed();
}

void Canvas::CopyRect(const Rect& dest, const Canvas& source, const Rect& sourceRect) {
  Record(CanvasCall::CopyRect, {{dest.left, dest.top},
                                {dest.right, dest.bottom},
                                {sourceRect.left, sourceRect.top},
                                {sourceRect.right, sourceRect.bottom}});
  if (dc_ && source.dc_) {
    if (dest.Width() == sourceRect.Width() && dest.Height() == sourceRect.Height()) {
      BitBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), source.dc_, sourceRect.left,
             sourceRect.top, copyMode_);
    } else {
      SetStretchBltMode(dc_, COLORONCOLOR);
      StretchBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), source.dc_, sourceRect.left,
                 sourceRect.top, sourceRect.Width(), sourceRect.Height(), copyMode_);
    }
  }
  Changed();
}

Color Canvas::Pixel(int x, int y) const {
  if (!dc_) return clNone;
  COLORREF c = GetPixel(dc_, x, y);
  if (c == CLR_INVALID) return clNone;
  return static_cast<Color>(c & 0x00FFFFFF);
}

}  // namespace forms
