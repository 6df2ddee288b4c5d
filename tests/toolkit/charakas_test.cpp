// The ruler on real panels: its set-up, drags by posted mouse messages (signed coordinates,
// beyond the ruler's edges), and one drag by the real mouse through the capture.
#include "toolkit/charakas.h"

#include <gtest/gtest.h>

#include "forms/application.h"
#include "forms/cursors.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/panel.h"
#include "gui_driver.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class Ruler : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().Initialize();
    form.SetBounds(40, 40, 640, 460);
    plot.SetBounds(8, 8, 577, 377);
    plot.SetBevelOuter(forms::BevelCut::None);
    ruler.SetColor(forms::clBlue);
    ruler.onMouseDown = [this](forms::MouseButton b, unsigned s, int x, int y) {
      charakas::CharakasMouseDown(&ruler, b, s, x, y);
    };
    ruler.onMouseMove = [this](unsigned s, int x, int y) { charakas::CharakasMouseMove(&ruler, s, x, y); };
    ruler.onMouseUp = [this](forms::MouseButton b, unsigned s, int x, int y) {
      charakas::CharakasMouseUp(&ruler, b, s, x, y);
    };
    ruler.onCaptureLost = [this] { charakas::CharakasCaptureLost(&ruler); };
    form.Show();
  }
  void TearDown() override { form.Hide(); }

  void Post(UINT msg, WPARAM wp, int x, int y) {
    PostMessageW(ruler.Handle(), msg, wp, At(x, y));
    forms::Application::Get().ProcessMessages();
  }

  forms::Form form;
  forms::Panel plot{&form};
  forms::Panel ruler{&form};
};

TEST_F(Ruler, HandlersBeforeInitDoNothingThenInitPlacesTheRulerInFront) {
  forms::Label image(&plot);
  image.SetBounds(0, 0, 577, 377);
  ruler.SetBounds(128, 64, 97, 25);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 4);
  Post(WM_MOUSEMOVE, MK_LBUTTON, 90, 4);
  EXPECT_FALSE(charakas::Dragging);
  EXPECT_EQ(ruler.Left(), 128);

  // Arguments that are no panels are ignored.
  charakas::InitCharakas(&image, &image, 40, 2);
  EXPECT_EQ(charakas::RulerParent, nullptr);
  EXPECT_EQ(charakas::RulerPanel, nullptr);

  charakas::InitCharakas(&plot, &ruler, 40, 2);
  EXPECT_EQ(charakas::RulerParent, &plot);
  EXPECT_EQ(charakas::RulerPanel, &ruler);
  EXPECT_EQ(GetParent(ruler.Handle()), plot.Handle());
  EXPECT_EQ(ruler.Left(), 96);
  EXPECT_EQ(ruler.Top(), 56);
  EXPECT_EQ(ruler.Width(), 97);
  EXPECT_EQ(ruler.Height(), 9);
  EXPECT_EQ(GetWindow(plot.Handle(), GW_CHILD), ruler.Handle()) << "the ruler is in front";
  EXPECT_EQ(charakas::RulerVMargin, 2);
  EXPECT_EQ(charakas::RulerMinWidth, 20);
}

TEST_F(Ruler, PostedDragStretchesAndClampsWithSignedCoordinates) {
  charakas::InitCharakas(&plot, &ruler, 40, 2);
  // The right end, dragged far beyond the ruler.
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 94, 4);
  EXPECT_TRUE(charakas::Dragging);
  EXPECT_EQ(GetCapture(), ruler.Handle());
  Post(WM_MOUSEMOVE, MK_LBUTTON, 2000, 4);
  EXPECT_EQ(ruler.Left() + ruler.Width(), 577 - 2);
  // Left of the ruler: a negative x shrinks it to the minimum width.
  Post(WM_MOUSEMOVE, MK_LBUTTON, -300, 4);
  EXPECT_EQ(ruler.Width(), 20);
  EXPECT_EQ(ruler.Left(), 96);
  Post(WM_LBUTTONUP, 0, -300, 4);
  EXPECT_FALSE(charakas::Dragging);
  EXPECT_NE(GetCapture(), ruler.Handle());
  // With the button up, moves change nothing.
  Post(WM_MOUSEMOVE, 0, 500, 4);
  EXPECT_EQ(ruler.Width(), 20);

  // The middle, above the parent: stops with Top = 2.
  ruler.SetWidth(97);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 4);
  Post(WM_MOUSEMOVE, MK_LBUTTON, 40, -500);
  EXPECT_EQ(ruler.Top(), 2);
  EXPECT_EQ(ruler.Left(), 86);
  // Another window takes the capture: the drag ends as by a release.
  SetCapture(form.Handle());
  forms::Application::Get().ProcessMessages();
  EXPECT_FALSE(charakas::Dragging);
  ReleaseCapture();
  Post(WM_MOUSEMOVE, MK_LBUTTON, 100, 100);
  EXPECT_EQ(ruler.Top(), 2);
}

TEST_F(Ruler, AnotherScreenCursorStartsNoDrag) {
  charakas::InitCharakas(&plot, &ruler, 40, 2);
  forms::SetScreenCursor(forms::crHourGlass);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 4);
  EXPECT_FALSE(charakas::Dragging);
  forms::SetScreenCursor(forms::crSizeWE);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 4);
  EXPECT_TRUE(charakas::Dragging);
  Post(WM_LBUTTONUP, 0, 50, 4);
  forms::SetScreenCursor(forms::crDefault);
}

// The real mouse: pressed on the right end and moved far outside the ruler, the moves still
// reach the ruler through the capture.
TEST_F(Ruler, RealMouseDragThroughTheCapture) {
  charakas::InitCharakas(&plot, &ruler, 40, 2);
  forms::Application::Get().ProcessMessages();
  POINT p{94, 4};
  ClientToScreen(ruler.Handle(), &p);
  auto send = [](DWORD flags, int x, int y) {
    EXPECT_TRUE(testing_support::SendMouse(flags, x, y))
        << "the mouse input to " << x << "," << y << " was not handled";
  };
  send(0, p.x, p.y);
  send(MOUSEEVENTF_LEFTDOWN, p.x, p.y);
  ASSERT_TRUE(charakas::Dragging);
  ASSERT_EQ(GetCapture(), ruler.Handle());
  int right = p.x + 60;
  send(0, right, p.y + 150);  // far below the ruler, still the right end's drag
  EXPECT_EQ(ruler.Width(), 97 + 60);
  send(MOUSEEVENTF_LEFTUP, right, p.y + 150);
  EXPECT_FALSE(charakas::Dragging);
  send(0, right + 50, p.y);
  EXPECT_EQ(ruler.Width(), 97 + 60);
}

}  // namespace
