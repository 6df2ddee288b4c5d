// A drawing surface over a device context: pen with a kept position, brush, font, opaque
// text, shapes and block copies. Pens and brushes of width one are the device context's own
// (DC_PEN, DC_BRUSH), so a loop that changes colour thousands of times creates no GDI object.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/core/graphics_types.h"

namespace forms {

class Bitmap;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Extent {
  int cx = 0;
  int cy = 0;
};

enum class BrushStyle { Solid, Clear };
enum class PenStyle { Solid, Dash, Dot, Clear };

// Source copy, the default copy mode of every canvas.
constexpr DWORD kCopySource = SRCCOPY;

// One drawing call as a recording canvas keeps it, with the colours and font in force.
struct CanvasCall {
  enum Kind { MoveTo, LineTo, Rectangle, Ellipse, Polygon, FillRect, TextOut, Draw, CopyRect, StretchDraw };
  Kind kind = MoveTo;
  // MoveTo, LineTo, TextOut, Draw: the point; Rectangle, Ellipse, FillRect, StretchDraw: two
  // corners; Polygon: the vertices; CopyRect: destination corners, then source corners.
  std::vector<Point> points;
  std::string text;  // TextOut, code page 1253
  Color penColor = 0;
  Color brushColor = 0;
  BrushStyle brushStyle = BrushStyle::Solid;
  FontSpec font;  // TextOut
};
using CanvasJournal = std::vector<CanvasCall>;

class Canvas {
 public:
  Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // The device context this canvas draws on (owned by its bitmap); the canvas applies its
  // pen, brush and font to it at once.
  void Attach(HDC dc);
  HDC Handle() const { return dc_; }

  void SetPenColor(Color c);
  Color PenColor() const { return penColor_; }
  void SetPenWidth(int width);
  int PenWidth() const { return penWidth_; }
  void SetPenStyle(PenStyle style);
  PenStyle GetPenStyle() const { return penStyle_; }
  void SetBrushColor(Color c);
  Color BrushColor() const { return brushColor_; }
  void SetBrushStyle(BrushStyle style);
  BrushStyle GetBrushStyle() const { return brushStyle_; }
  void SetFont(const FontSpec& font);
  const FontSpec& Font() const { return font_; }
  void SetCopyMode(DWORD rop) { copyMode_ = rop; }
  DWORD CopyMode() const { return copyMode_; }

  // The pen position stays where the last move or line left it, across calls.
  void MoveTo(int x, int y);
  // Draws from the pen position to (x, y), leaving out the end pixel.
  void LineTo(int x, int y);
  Point PenPos() const { return pen_; }

  // Outlined with the pen, filled with the brush; right and bottom edges excluded.
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  // Two points draw the segment with both end pixels.
  void Polygon(const std::vector<Point>& points);
  void FillRect(const Rect& r);

  // Text in the font and font colour; on a box of the brush colour unless the brush is clear.
  void TextOut(int x, int y, std::string_view text);
  Extent TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  // Block copies in the copy mode.
  void Draw(int x, int y, const Bitmap& source);
  void StretchDraw(const Rect& dest, const Bitmap& source);
  void CopyRect(const Rect& dest, const Canvas& source, const Rect& sourceRect);

  Color Pixel(int x, int y) const;

  // While a journal is set, every drawing call is also appended to it.
  void SetJournal(CanvasJournal* journal) { journal_ = journal; }
  CanvasJournal* Journal() const { return journal_; }

  // Runs after every drawing call (an image repaints itself through it).
  std::function<void()> onChange;

 private:
  void ApplyPen();
  void ApplyBrush();
  void ApplyFont();
  void Record(CanvasCall::Kind kind, std::vector<Point> points, std::string_view text = {});
  void Changed() {
    if (onChange) onChange();
  }

  HDC dc_ = nullptr;
  Color penColor_ = clBlack;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  Color brushColor_ = clWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  FontSpec font_;
  bool fontApplied_ = false;
  FontSpec appliedFont_;
  DWORD copyMode_ = kCopySource;
  Point pen_;
  CanvasJournal* journal_ = nullptr;
};

}  // namespace forms
