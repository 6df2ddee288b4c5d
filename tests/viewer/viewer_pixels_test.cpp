// What the screen shows of the picture after pans and zooms, read back from the window.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "viewer_fixture.h"

using testing_support::MessageRecorder;
using testing_support::ViewerTest;

namespace {

std::uint32_t Pattern(int x, int y) {
  return bmp::FromRgb(x & 255, y & 255, ((x >> 8) * 60 + (y >> 8) * 90 + 7) & 255);
}

// Every pixel of the window against `expected`; the message names the first few that differ.
::testing::AssertionResult ScreenIs(const bmp::Image& screen,
                                    const std::function<std::uint32_t(int, int)>& expected) {
  int bad = 0;
  std::ostringstream first;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      std::uint32_t want = expected(x, y), got = screen.At(x, y);
      if (want != got && bad++ < 5)
        first << " (" << x << "," << y << ") got " << std::hex << got << " want " << want << std::dec;
    }
  }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ:" << first.str();
}

class ViewerPixels : public ViewerTest {
 protected:
  void ExpectScreenIsTheBackBuffer() {
    EXPECT_EQ(Screen().pixels, viewer->ViewerImage.Canvas().pixels) << "the window shows its own picture";
  }
};

TEST_F(ViewerPixels, DraggingPansThePictureWithThePointer) {
  MessageRecorder rec;
  Open({WritePicture(1000, 700, Pattern)});
  EXPECT_TRUE(ScreenIs(Screen(), [](int x, int y) { return Pattern(x, y); }));

  Mouse(WM_MOUSEMOVE, 0, 400, 300);
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 400, 300);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, 250, 260);
  EXPECT_EQ(view::View.ViewLeft, 150);
  EXPECT_EQ(view::View.ViewTop, 40);
  EXPECT_TRUE(ScreenIs(Screen(), [](int x, int y) { return Pattern(x + 150, y + 40); }));

  // Past the right edge (the pointer left the window, the drag goes on): the view stops at
  // width - 799, and the window's last column, just right of the picture, keeps what it showed.
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, -50, 260);
  EXPECT_EQ(view::View.ViewLeft, 201);
  EXPECT_TRUE(ScreenIs(
      Screen(), [](int x, int y) { return x < 799 ? Pattern(x + 201, y + 40) : Pattern(949, y + 40); }));
  Mouse(WM_LBUTTONUP, 0, -50, 260);
  // Without the button the pointer moves nothing.
  Mouse(WM_MOUSEMOVE, 0, 300, 100);
  EXPECT_EQ(view::View.ViewLeft, 201);
  EXPECT_EQ(view::View.ViewTop, 40);
  ExpectScreenIsTheBackBuffer();
}

TEST_F(ViewerPixels, ArrowsMoveASmallPictureAndLeaveTheBandBehind) {
  MessageRecorder rec;
  Open({WritePicture(640, 480, Pattern)});
  auto start = [](int x, int y) { return x < 640 && y < 480 ? Pattern(x, y) : 0u; };
  EXPECT_TRUE(ScreenIs(Screen(), start));

  Key(VK_RIGHT);
  EXPECT_EQ(view::View.ViewLeft, -159);
  // Drawn 159 pixels in, the last column on window column 798; the band to its left keeps
  // the first draw and only the first draw cleared the rest.
  auto moved = [&](int x, int y) {
    return x >= 159 && x < 799 && y < 480 ? Pattern(x - 159, y) : start(x, y);
  };
  EXPECT_TRUE(ScreenIs(Screen(), moved));

  Key(VK_LEFT);
  EXPECT_EQ(view::View.ViewLeft, 0);
  EXPECT_TRUE(
      ScreenIs(Screen(), [&](int x, int y) { return x < 640 && y < 480 ? Pattern(x, y) : moved(x, y); }));

  Key(VK_DOWN);
  EXPECT_EQ(view::View.ViewTop, -119);
  ExpectScreenIsTheBackBuffer();
}

TEST_F(ViewerPixels, AZoomStepClearsAndDrawsTheResizedPicture) {
  MessageRecorder rec;
  Open({WritePicture(640, 480, Pattern)});
  Key(VK_RIGHT);
  Key(VK_ADD);  // 904 x 678, ViewLeft -159 + Round(-112.43) = -271
  ASSERT_EQ(view::View.ViewLeft, -271);
  const bmp::Image zoomed = *view::DisplayBitmap;
  EXPECT_TRUE(ScreenIs(Screen(), [&](int x, int y) {
    int px = x - 271;
    return px >= 0 && px < zoomed.width && y < zoomed.height ? zoomed.At(px, y) : 0u;
  }));
  // The zoomed picture is the loaded one stretched: its corners are the loaded corners.
  EXPECT_EQ(zoomed.At(0, 0), Pattern(0, 0));
  EXPECT_EQ(zoomed.At(903, 677), Pattern(639, 479));
  EXPECT_EQ(zoomed.At(452, 339), Pattern(320, 240));

  Key(VK_LEFT);
  Key(VK_SUBTRACT);  // back at [1:1], one pixel less each way than loaded
  const bmp::Image back = *view::DisplayBitmap;
  ASSERT_EQ(back.width, 638);
  ASSERT_EQ(back.height, 478);
  EXPECT_TRUE(ScreenIs(Screen(),
                       [&](int x, int y) { return x < back.width && y < back.height ? back.At(x, y) : 0u; }));
  ExpectScreenIsTheBackBuffer();
}

}  // namespace
