// The ruler of either experiment's main window as the window shows it while the real mouse
// stretches and shrinks it at its ends, as the student does.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/image.h"
#include "gui_driver.h"
#include "panel_pixels.h"
#include "pixel_capture.h"
#include "toolkit/charakas.h"
#include "toolkit/okgraph3.h"
#include "wave_experiment/Unit1.h"

namespace kelmora_test {

// How many pixels of `area` (in the plot panel) the window does not show as the plot picture.
inline int PlotPixelsWrong(RECT area) {
  forms::Image& plot = *okgraph3::CurrentWidgets().PlotImage;
  MapWindowPoints(okgraph3::GetPlotPanel()->Handle(), plot.Handle(), reinterpret_cast<POINT*>(&area), 2);
  const std::vector<COLORREF> seen = testing_support::WindowColors(plot.Handle(), area);
  int wrong = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      wrong += seen[static_cast<size_t>((y - area.top) * (area.right - area.left) + (x - area.left))] !=
               plot.Picture().Pixel(x, y);
  return wrong;
}

// Shows the ruler by its button and drags its ends with the real mouse, two pixels a move:
// after each drag the window shows the whole ruler, its colour from end to end inside its
// bevels, and the plot again where the ruler left it.
inline void DragTheRulerAndSeeItWhole(Unit1::TForm1& form) {
  SendMessageW(form.charakas_Button->Handle(), BM_CLICK, 0, 0);
  const forms::Panel& ruler = *form.charakas_Panel;
  ASSERT_TRUE(IsWindowVisible(ruler.Handle()));
  struct Drag {
    const char* what;
    bool rightEnd;
    int dx;
  };
  // None ends at a length of one wavelength in either program: the change of colour there
  // repaints the whole ruler and would hide what the drag alone left on it.
  const Drag drags[] = {
      {"the right end stretched", true, 70},
      {"the left end stretched", false, -30},
      {"the right end pulled back", true, -60},
  };
  for (const Drag& d : drags) {
    SCOPED_TRACE(d.what);
    const RECT before = testing_support::ChildBounds(ruler.Handle());
    // On the middle row, inside the end, which is as wide as the ruler is high.
    POINT at{d.rightEnd ? ruler.Width() - 3 : 4, ruler.Height() / 2};
    ClientToScreen(ruler.Handle(), &at);
    ASSERT_TRUE(testing_support::DragMouse(at, d.dx)) << "the drag's mouse input was not handled";
    const RECT after = testing_support::ChildBounds(ruler.Handle());
    if (d.rightEnd) {
      EXPECT_EQ(after.left, before.left);
      EXPECT_EQ(after.right, before.right + d.dx);
    } else {
      EXPECT_EQ(after.right, before.right);
      EXPECT_EQ(after.left, std::max<LONG>(before.left + d.dx, charakas::RulerLeftLimit));
      ASSERT_LT(after.left, before.left) << "the left end could not move";
    }
    EXPECT_TRUE(ruler.GetColor() == forms::clBlue || ruler.GetColor() == forms::clRed);
    std::string wrong;
    EXPECT_TRUE(testing_support::PumpUntil(
        [&] {
          wrong = testing_support::PanelMismatches(ruler);
          return wrong.empty();
        },
        1000))
        << wrong << "; the ruler reads " << form.distance_value_Label->Caption();
    if (after.right < before.right) {
      EXPECT_EQ(PlotPixelsWrong({after.right, after.top, before.right, after.bottom}), 0)
          << "where the ruler was";
    }
  }
}

}  // namespace kelmora_test
