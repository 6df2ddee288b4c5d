// The drawing half of the forms layer: bitmaps, the canvas, images, panels and bevels, read
// back pixel by pixel.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "forms/application.h"
#include "forms/bevel.h"
#include "forms/bitmap.h"
#include "forms/button.h"
#include "forms/canvas.h"
#include "forms/chart.h"
#include "forms/form.h"
#include "forms/gauge.h"
#include "forms/gdi_cache.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/panel.h"
#include "forms/static_text.h"
#include "forms/string_grid.h"
#include "forms/core/text.h"
#include "gdi_probe.h"
#include "panel_pixels.h"
#include "pixel_capture.h"

namespace {

using forms::Bitmap;
using forms::Canvas;
using forms::Color;

// Pixels of a bitmap that are not `back`, as their bounding box.
forms::Rect InkBox(const Bitmap& b, Color back) {
  forms::Rect box{b.Width(), b.Height(), -1, -1};
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (b.Pixel(x, y) == back) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box;
}

std::string BoxText(const forms::Rect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

using testing_support::FreshGdiSlot;
using testing_support::GdiObjects;

TEST(BitmapTest, NewPixelsAreWhiteAndResizeKeepsTheTopLeft) {
  Bitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Pixel(0, 0), forms::clNone);
  b.SetSize(20, 10);
  EXPECT_EQ(b.Pixel(0, 0), forms::clWhite);
  EXPECT_EQ(b.Pixel(19, 9), forms::clWhite);
  EXPECT_EQ(b.Pixel(20, 9), forms::clNone);
  b.GetCanvas().SetBrushColor(0x123456);
  b.GetCanvas().FillRect({0, 0, 20, 10});
  EXPECT_EQ(b.Pixel(5, 5), 0x123456u) << "colours are exact in a 32-bit picture";
  b.SetSize(30, 5);
  EXPECT_EQ(b.Pixel(19, 4), 0x123456u);
  EXPECT_EQ(b.Pixel(20, 4), forms::clWhite);
  b.SetSize(0, 5);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Bits(), nullptr);
}

TEST(CanvasTest, PenKeepsItsPositionAndLinesLeaveOutTheirEnd) {
  Bitmap b;
  b.SetSize(20, 20);
  Canvas& c = b.GetCanvas();
  c.SetPenColor(forms::clRed);
  c.MoveTo(2, 5);
  c.LineTo(10, 5);
  EXPECT_EQ(c.PenPos(), (forms::Point{10, 5}));
  c.SetPenColor(forms::clBlue);  // a colour change does not move the pen
  c.LineTo(10, 15);
  EXPECT_EQ(b.Pixel(2, 5), forms::clRed);
  EXPECT_EQ(b.Pixel(9, 5), forms::clRed);
  EXPECT_EQ(b.Pixel(10, 5), forms::clBlue) << "the second line starts where the first ended";
  EXPECT_EQ(b.Pixel(10, 14), forms::clBlue);
  EXPECT_EQ(b.Pixel(10, 15), forms::clWhite) << "a line leaves out its end pixel";
}

TEST(CanvasTest, ShapesCoverTheirBoxesOutlinedAndFilled) {
  struct Case {
    const char* name;
    int kind;  // 0 ellipse, 1 rectangle, 2 triangle, 3 two-point polygon
    forms::Rect box;
  };
  const Case cases[] = {
      {"ellipse", 0, {6, 6, 15, 15}},
      {"rectangle", 1, {6, 6, 15, 15}},
      {"triangle", 2, {4, 2, 17, 15}},
      {"two-point polygon", 3, {10, 6, 11, 15}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Bitmap b;
    b.SetSize(21, 21);
    Canvas& c = b.GetCanvas();
    c.SetPenColor(forms::clRed);
    c.SetBrushColor(forms::clBlue);
    switch (k.kind) {
      case 0:
        c.Ellipse(6, 6, 15, 15);
        break;
      case 1:
        c.Rectangle(6, 6, 15, 15);
        break;
      case 2:
        c.Polygon({{4, 14}, {10, 2}, {16, 14}});
        break;
      case 3:
        c.Polygon({{10, 14}, {10, 6}});
        break;
    }
    forms::Rect box = InkBox(b, forms::clWhite);
    EXPECT_EQ(box, k.box) << "ink " << BoxText(box) << ", expected " << BoxText(k.box);
    if (k.kind != 3) {
      EXPECT_EQ(b.Pixel(10, 11), forms::clBlue) << "filled with the brush";
      EXPECT_EQ(b.Pixel(10, 14), forms::clRed) << "outlined with the pen";
    } else {
      EXPECT_EQ(b.Pixel(10, 6), forms::clRed) << "both end pixels";
      EXPECT_EQ(b.Pixel(10, 14), forms::clRed);
    }
  }
}

TEST(CanvasTest, TextIsOpaqueOnTheBrushAndMeasuresItsInk) {
  Bitmap b;
  b.SetSize(200, 40);
  Canvas& c = b.GetCanvas();
  forms::FontSpec f;
  f.name = "times new roman";
  f.height = forms::FontSpec::HeightOfPoints(10);
  f.color = forms::clRed;
  c.SetFont(f);
  c.SetBrushColor(forms::clYellow);
  forms::Extent e = c.TextExtent("Ταχύτητα 12");
  ASSERT_GT(e.cx, 0);
  ASSERT_GT(e.cy, 0);
  c.TextOut(10, 5, "Ταχύτητα 12");
  forms::Rect box = InkBox(b, forms::clWhite);
  EXPECT_EQ(box, (forms::Rect{10, 5, 10 + e.cx, 5 + e.cy})) << BoxText(box);
  bool red = false;
  for (int x = 10; x < 10 + e.cx; ++x)
    for (int y = 5; y < 5 + e.cy; ++y) red = red || b.Pixel(x, y) == forms::clRed;
  EXPECT_TRUE(red) << "the glyphs are in the font colour";
  EXPECT_EQ(b.Pixel(10, 5), forms::clYellow) << "the box is the brush colour";
  c.SetBrushStyle(forms::BrushStyle::Clear);
  c.TextOut(10, 25, "1");
  EXPECT_EQ(b.Pixel(10, 25), forms::clWhite) << "a clear brush paints no box";
}

TEST(CanvasTest, CopiesDrawStretchAndCopyRectangles) {
  Bitmap src;
  src.SetSize(4, 4);
  src.GetCanvas().SetBrushColor(forms::clGreen);
  src.GetCanvas().FillRect({0, 0, 4, 4});
  src.GetCanvas().SetBrushColor(forms::clRed);
  src.GetCanvas().FillRect({0, 0, 2, 2});
  Bitmap dst;
  dst.SetSize(20, 20);
  Canvas& c = dst.GetCanvas();
  c.Draw(1, 1, src);
  EXPECT_EQ(dst.Pixel(1, 1), forms::clRed);
  EXPECT_EQ(dst.Pixel(4, 4), forms::clGreen);
  EXPECT_EQ(dst.Pixel(5, 5), forms::clWhite);
  c.StretchDraw({10, 10, 18, 18}, src);
  EXPECT_EQ(dst.Pixel(13, 13), forms::clRed);
  EXPECT_EQ(dst.Pixel(14, 14), forms::clGreen);
  EXPECT_EQ(dst.Pixel(17, 17), forms::clGreen);
  c.CopyRect({0, 10, 2, 12}, src.GetCanvas(), {2, 2, 4, 4});
  EXPECT_EQ(dst.Pixel(0, 10), forms::clGreen);
  EXPECT_EQ(dst.Pixel(0, 12), forms::clWhite);
  Bitmap copy;
  copy.SetSize(20, 20);
  copy.GetCanvas().Draw(0, 0, dst);
  EXPECT_TRUE(copy.SameBits(dst));
  copy.GetCanvas().SetPenColor(forms::clBlack);
  copy.GetCanvas().MoveTo(19, 0);
  copy.GetCanvas().LineTo(19, 1);
  EXPECT_FALSE(copy.SameBits(dst));
}

TEST(CanvasTest, JournalRecordsCallsWithTheirColoursAndFont) {
  Bitmap b;
  b.SetSize(50, 50);
  Canvas& c = b.GetCanvas();
  forms::CanvasJournal journal;
  c.SetJournal(&journal);
  c.SetPenColor(forms::clRed);
  c.MoveTo(1, 2);
  c.LineTo(3, 4);
  c.SetBrushColor(forms::clAqua);
  c.TextOut(5, 6, "ψ");
  c.Polygon({{1, 1}, {2, 2}});
  c.SetJournal(nullptr);
  c.LineTo(0, 0);
  ASSERT_EQ(journal.size(), 4u);
  EXPECT_EQ(journal[0].kind, forms::CanvasCall::MoveTo);
  EXPECT_EQ(journal[1].kind, forms::CanvasCall::LineTo);
  EXPECT_EQ(journal[1].points[0], (forms::Point{3, 4}));
  EXPECT_EQ(journal[1].penColor, forms::clRed);
  EXPECT_EQ(journal[2].kind, forms::CanvasCall::TextOut);
  EXPECT_EQ(journal[2].text, "ψ");
  EXPECT_EQ(journal[2].brushColor, forms::clAqua);
  EXPECT_EQ(journal[3].points.size(), 2u);
  EXPECT_EQ(b.Pixel(2, 3), forms::clRed) << "a recording canvas still draws";
}

TEST(CanvasTest, TenThousandFramesOfColourChangesLeakNoGdiObject) {
  Bitmap b;
  b.SetSize(100, 100);
  Bitmap clean;
  clean.SetSize(100, 100);
  Canvas& c = b.GetCanvas();
  auto frame = [&](int i) {
    c.Draw(0, 0, clean);
    for (int k = 0; k < 8; ++k) {
      c.SetPenColor(static_cast<Color>((i * 31 + k) & 0xFF));
      c.SetBrushColor(static_cast<Color>(k << 8));
      c.Ellipse(k, k, k + 9, k + 9);
      c.LineTo(k * 3, 99 - k);
    }
    forms::FontSpec f = c.Font();
    f.height = 10 + i % 3;
    c.SetFont(f);
    c.TextOut(1, 1, "5");
  };
  for (int i = 0; i < 3; ++i) frame(i);  // every font of the loop is in the cache now
  DWORD before = GdiObjects();
  unsigned slotBefore = FreshGdiSlot();
  for (int i = 3; i < 10003; ++i) frame(i);
  EXPECT_EQ(GdiObjects(), before);
  EXPECT_EQ(FreshGdiSlot(), slotBefore);
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().Initialize();
    form_.SetBorderStyle(forms::BorderStyle::None);
    form_.SetBounds(0, 0, 300, 200);
    form_.Show();
    forms::Application::Get().ProcessMessages();
  }
  // The colour that reached the screen at a point of a window.
  static Color ScreenPixel(HWND w, int x, int y) {
    HDC dc = GetDC(w);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c & 0x00FFFFFF;
  }
  forms::Form form_;
};

TEST_F(WindowTest, ImageRepaintsItselfWhenItsCanvasIsDrawnOn) {
  forms::Image image(&form_);
  image.SetBounds(10, 10, 50, 40);
  EXPECT_EQ(image.Picture().Width(), 50) << "the picture takes the image's size";
  EXPECT_EQ(image.Picture().Height(), 40);
  forms::Application::Get().ProcessMessages();
  EXPECT_EQ(ScreenPixel(image.Handle(), 5, 5), forms::clWhite);
  image.GetCanvas().SetBrushColor(forms::clNavy);
  image.GetCanvas().FillRect({0, 0, 50, 40});
  forms::Application::Get().ProcessMessages();
  EXPECT_EQ(ScreenPixel(image.Handle(), 5, 5), forms::clNavy) << "drawing asked for a repaint";
  // Repaint shows the picture at once, without waiting for the message loop.
  image.GetCanvas().SetBrushColor(forms::clMaroon);
  image.GetCanvas().FillRect({0, 0, 50, 40});
  image.Repaint();
  EXPECT_EQ(ScreenPixel(image.Handle(), 5, 5), forms::clMaroon);
  image.SetBounds(10, 10, 60, 40);
  EXPECT_EQ(image.Picture().Width(), 60);
  EXPECT_EQ(image.Picture().Pixel(49, 0), forms::clMaroon) << "resizing keeps the picture";
}

TEST_F(WindowTest, PanelFramesItsBevelsAndAlignsItsClientChild) {
  struct Case {
    forms::BevelCut outer, inner;
    int width;
    Color corner;  // top-left pixel
    int inset;
  };
  const Case cases[] = {
      {forms::BevelCut::None, forms::BevelCut::None, 1, 0x00FF00, 0},
      {forms::BevelCut::Raised, forms::BevelCut::None, 1, 0, 1},
      {forms::BevelCut::Lowered, forms::BevelCut::Raised, 2, 0, 4},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const Case& k = cases[row];
    forms::Panel panel(&form_);
    panel.SetColor(0x00FF00);
    panel.SetBounds(5, 5, 100, 80);
    panel.SetBevelOuter(k.outer);
    panel.SetBevelInner(k.inner);
    panel.SetBevelWidth(k.width);
    forms::Image image(&panel);
    panel.AlignClient(&image);
    EXPECT_EQ(image.Left(), k.inset);
    EXPECT_EQ(image.Width(), 100 - 2 * k.inset);
    panel.SetBounds(5, 5, 120, 90);
    EXPECT_EQ(image.Width(), 120 - 2 * k.inset) << "the client child follows the panel";
    EXPECT_EQ(image.Height(), 90 - 2 * k.inset);
    image.Hide();
    panel.Repaint();
    Color corner = ScreenPixel(panel.Handle(), 0, 0);
    if (k.outer == forms::BevelCut::None) {
      EXPECT_EQ(corner, k.corner);
    } else {
      Color expected =
          forms::ToColorRef(k.outer == forms::BevelCut::Raised ? forms::clBtnHighlight : forms::clBtnShadow);
      EXPECT_EQ(corner, expected);
    }
    EXPECT_EQ(ScreenPixel(panel.Handle(), 60, 45), 0x00FF00u);
  }
}

TEST_F(WindowTest, BevelDrawsOnlyItsLinesAndLetsClicksThrough) {
  forms::Image under(&form_);
  under.SetBounds(20, 20, 100, 60);
  under.GetCanvas().SetBrushColor(forms::clTeal);
  under.GetCanvas().FillRect({0, 0, 100, 60});
  forms::Bevel bevel(&form_);
  bevel.SetBounds(19, 19, 102, 62);
  bevel.BringToFront();
  int clicks = 0;
  under.onMouseDown = [&](forms::MouseButton, unsigned, int, int) { ++clicks; };
  forms::Application::Get().ProcessMessages();
  UpdateWindow(form_.Handle());
  EXPECT_EQ(ScreenPixel(form_.Handle(), 60, 50), forms::clTeal) << "the inside is not covered";
  EXPECT_EQ(ScreenPixel(form_.Handle(), 19, 19), GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF);
  EXPECT_EQ(ScreenPixel(form_.Handle(), 120, 80), GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF);
  POINT p{60, 50};
  ClientToScreen(form_.Handle(), &p);
  EXPECT_EQ(WindowFromPoint(p), under.Handle());
}

// How the program changes a control's bounds, a little at a time as a drag does: each step adds
// these to the left, top, width and height.
struct BoundsStep {
  const char* what;
  int left, top, width, height;
};
const BoundsStep kBoundsSteps[] = {
    {"stretched right and down", 0, 0, 2, 2},
    {"stretched at its left end", -2, 0, 2, 0},
    {"shrunk", 0, 0, -2, -1},
    {"moved", 2, 2, 0, 0},
};
constexpr int kSteps = 12;

// A panel drawn like the ruler, changed by the program step by step: after every step the
// screen shows its bevels at its new edges and its colour over all it gained.
TEST_F(WindowTest, APanelResizedByTheProgramShowsItsBevelsAtItsNewEdges) {
  for (const BoundsStep& step : kBoundsSteps) {
    SCOPED_TRACE(step.what);
    forms::Panel panel(&form_);
    panel.SetColor(forms::clBlue);
    panel.SetBevelInner(forms::BevelCut::Raised);
    panel.SetBounds(60, 40, 97, 25);
    forms::Application::Get().ProcessMessages();
    ASSERT_EQ(testing_support::PanelMismatches(panel), "") << "before the change";
    for (int i = 1; i <= kSteps; ++i) {
      panel.SetBounds(panel.Left() + step.left, panel.Top() + step.top, panel.Width() + step.width,
                      panel.Height() + step.height);
      forms::Application::Get().ProcessMessages();
      std::string wrong = testing_support::PanelMismatches(panel);
      if (!wrong.empty()) {
        ADD_FAILURE() << wrong << " after step " << i;
        break;
      }
    }
  }
}

// Every control of the forms layer, changed by the program step by step, shows on the screen
// what a repaint of it and of what lies around it shows: nothing of its old look stays behind.
TEST_F(WindowTest, EveryControlChangedByTheProgramShowsWhatARepaintShows) {
  using Make = std::function<std::unique_ptr<forms::Control>(forms::Form&)>;
  struct Case {
    const char* what;
    Make make;
  };
  auto panel = [](forms::Form& f) {
    auto p = std::make_unique<forms::Panel>(&f);
    p->SetBevelOuter(forms::BevelCut::Lowered);
    p->SetBorderWidth(2);
    p->SetBevelInner(forms::BevelCut::Raised);
    p->SetColor(forms::clYellow);
    p->SetCaption("Πάνελ");
    return p;
  };
  auto bevel = [](forms::BevelShape shape) {
    return [shape](forms::Form& f) {
      auto b = std::make_unique<forms::Bevel>(&f);
      b->SetShape(shape);
      return b;
    };
  };
  auto label = [](forms::Alignment a, bool layoutCentre) {
    return [a, layoutCentre](forms::Form& f) {
      auto l = std::make_unique<forms::Label>(&f);
      l->SetColor(forms::clAqua);
      l->SetAlignment(a);
      l->SetLayoutCenter(layoutCentre);
      l->SetCaption("Ετικέτα");
      return l;
    };
  };
  auto staticText = [](forms::Form& f) {
    auto t = std::make_unique<forms::StaticText>(&f);
    t->SetColor(forms::clAqua);
    t->SetAlignment(forms::Alignment::Center);
    t->SetBorderStyle(forms::StaticBorder::Sunken);
    t->SetCaption("Κείμενο");
    return t;
  };
  auto gauge = [](forms::Form& f) {
    auto g = std::make_unique<forms::Gauge>(&f);
    g->SetForeColor(forms::clNavy);
    g->SetProgress(50);
    return g;
  };
  auto chart = [](forms::Form& f) {
    auto c = std::make_unique<forms::Chart>(&f);
    c->AddTitleLine("Τίτλος");
    forms::AreaSeries& s = c->AddSeries();
    for (double y : {3.0, 1.0, 4.0, 1.0, 5.0}) s.AddY(y);
    return c;
  };
  auto image = [](forms::Form& f) {
    auto i = std::make_unique<forms::Image>(&f);
    i->GetCanvas().SetBrushColor(forms::clTeal);
    i->GetCanvas().FillRect({0, 0, 40, 20});
    return i;
  };
  auto grid = [](forms::Form& f) { return std::make_unique<forms::StringGrid>(&f); };
  auto button = [](forms::Form& f) {
    auto b = std::make_unique<forms::Button>(&f);
    b->SetCaption("Κουμπί");
    return b;
  };
  const Case cases[] = {
      {"panel", panel},
      {"bevel box", bevel(forms::BevelShape::Box)},
      {"bevel frame", bevel(forms::BevelShape::Frame)},
      {"bevel right line", bevel(forms::BevelShape::RightLine)},
      {"bevel bottom line", bevel(forms::BevelShape::BottomLine)},
      {"label, left", label(forms::Alignment::Left, false)},  // 5
      {"label, centred", label(forms::Alignment::Center, false)},
      {"label, right", label(forms::Alignment::Right, false)},
      {"label, centred up and down", label(forms::Alignment::Left, true)},
      {"static text, centred and sunken", staticText},
      {"gauge", gauge},  // 10
      {"chart", chart},
      {"image", image},
      {"string grid", grid},
      {"button", button},
  };
  const RECT start{60, 50, 60 + 120, 50 + 60};
  for (const Case& k : cases) {
    for (const BoundsStep& step : kBoundsSteps) {
      SCOPED_TRACE(std::string(k.what) + ", " + step.what);
      std::unique_ptr<forms::Control> c = k.make(form_);
      c->SetBounds(start.left, start.top, start.right - start.left, start.bottom - start.top);
      forms::Application::Get().ProcessMessages();
      for (int i = 1; i <= kSteps; ++i) {
        c->SetBounds(c->Left() + step.left, c->Top() + step.top, c->Width() + step.width,
                     c->Height() + step.height);
        forms::Application::Get().ProcessMessages();
      }
      // Both places the control took, and a little around them.
      RECT area{std::min<LONG>(start.left, c->Left()) - 4, std::min<LONG>(start.top, c->Top()) - 4,
                std::max<LONG>(start.right, c->Left() + c->Width()) + 4,
                std::max<LONG>(start.bottom, c->Top() + c->Height()) + 4};
      const std::vector<COLORREF> seen = testing_support::WindowColors(form_.Handle(), area);
      RedrawWindow(form_.Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      const std::vector<COLORREF> whole = testing_support::WindowColors(form_.Handle(), area);
      int wrong = 0, firstX = -1, firstY = -1;
      const int w = area.right - area.left;
      for (size_t p = 0; p < seen.size(); ++p) {
        if (seen[p] == whole[p]) continue;
        if (wrong++ == 0) firstX = static_cast<int>(p) % w, firstY = static_cast<int>(p) / w;
      }
      EXPECT_EQ(wrong, 0) << "pixels differ from the repainted look, the first at (" << firstX << ","
                          << firstY << ") of the area around the control";
    }
  }
}

}  // namespace
