// The animation loop under Wine: start, pause and resume where it stopped, paced frames, a
// start inside a running loop, an error that leaves the loop, closing the window while it
// runs, GDI objects over 10,000 frames, the ruler measuring one wavelength, and the ruler drawn
// whole as the real mouse stretches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "forms/image.h"
#include "forms/core/message_service.h"
#include "main_window_fixture.h"
#include "ruler_on_screen.h"
#include "toolkit/charakas.h"
#include "toolkit/okgraph3.h"

using namespace kelmora_test;
using testing_support::MessageRecorder;

namespace {

int CountColor(const forms::Bitmap& b, forms::Color c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c;
  return n;
}

const forms::Bitmap& Plot() { return okgraph3::CurrentWidgets().PlotImage->Picture(); }

class Animation : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    Start();
    Unlock();
    work = form->work_button->Handle();
  }
  HWND work = nullptr;
};

TEST_F(Animation, StartPauseAndResumeWhereItStopped) {
  MessageRecorder messages;
  bool exitWhileRunning = true;
  std::string captionWhileRunning;
  program.onFrame = [&](int n) {
    if (n == 3) {
      exitWhileRunning = form->exit_button->Enabled();
      captionWhileRunning = form->work_button->Caption();
    }
    if (n == 8) PostClick(work);
  };
  DWORD t0 = GetTickCount();
  Click(work);
  DWORD elapsed = GetTickCount() - t0;
  EXPECT_EQ(Unit1::TimeStep, 8) << "the frame of the pause click is completed";
  EXPECT_GE(elapsed, 300u) << "frames are paced at 20 a second";
  EXPECT_FALSE(exitWhileRunning);
  EXPECT_EQ(captionWhileRunning, "&Παύση");
  EXPECT_EQ(form->work_button->Caption(), "Έ&ναρξη");
  EXPECT_TRUE(form->exit_button->Enabled());
  EXPECT_TRUE(form->charakas_Button->Enabled());
  EXPECT_TRUE(form->calc_Button->Enabled());
  // The frame is on the plot: the curve in black, the particles in red and blue.
  EXPECT_GT(CountColor(Plot(), 0x000000), 200);
  EXPECT_GT(CountColor(Plot(), 0x0000FF), 20);
  EXPECT_GT(CountColor(Plot(), 0xFF0000), 20);

  program.frames = 0;
  program.onFrame = [&](int n) {
    if (n == 4) PostClick(work);
  };
  Click(work);
  EXPECT_EQ(Unit1::TimeStep, 12) << "the motion goes on from where it stopped";
  EXPECT_EQ(program.maxDepth, 1);
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(Animation, TheModeAndTheCurveAreReadEveryFrame) {
  MessageRecorder messages;
  int blackTransverse = 0;
  program.onFrame = [&](int n) {
    if (n == 2) blackTransverse = CountColor(Plot(), 0x000000);
    if (n == 2) PostClick(form->diamhkh_RadioButton->Handle());
    if (n == 4) PostClick(work);
  };
  Click(work);
  EXPECT_EQ(form->E_track_StaticText->Caption(), "Μέτρο ελαστικότητας (E)");
  EXPECT_EQ(form->d_track_StaticText->Caption(), "Πυκνότητα μέσου (d)");
  EXPECT_FALSE(form->showline_CheckBox->Enabled());
  // Longitudinal: no curve, the particles on the axis (the grid and axes stay black).
  int blackLongitudinal = CountColor(Plot(), 0x000000);
  EXPECT_LT(blackLongitudinal, blackTransverse);
  okgraph3::GraphMoveTo(0, 0);
  int axisRow = okgraph3::CurrentWidgets().PlotImage->GetCanvas().PenPos().y;
  int onAxis = 0, offAxis = 0;
  for (int y = 0; y < Plot().Height(); ++y)
    for (int x = 0; x < Plot().Width(); ++x)
      if (Plot().Pixel(x, y) == 0x0000FF) (std::abs(y - axisRow) <= 5 ? onAxis : offAxis)++;
  EXPECT_GT(onAxis, 20);
  EXPECT_EQ(offAxis, 0);

  Click(form->egkarsia_radiobutton->Handle());
  EXPECT_TRUE(form->showline_CheckBox->Enabled());
  EXPECT_EQ(form->E_track_StaticText->Caption(), "Δύναμη (F)");
  EXPECT_EQ(form->d_track_StaticText->Caption(), "Γραμμική πυκνότητα (μ)");
  EXPECT_EQ(messages.Count(), 0u);
}

// A pause and a start handled in the same frame: the running loop goes on, no second loop
// starts inside it.
TEST_F(Animation, AStartInsideTheRunningLoopStartsNoSecondLoop) {
  MessageRecorder messages;
  program.onFrame = [&](int n) {
    if (n == 3) {
      PostClick(work);
      PostClick(work);
    }
    if (n == 9) PostClick(work);
  };
  Click(work);
  EXPECT_EQ(program.maxDepth, 1);
  EXPECT_EQ(Unit1::TimeStep, 9);
  EXPECT_EQ(form->work_button->Caption(), "Έ&ναρξη");
  EXPECT_TRUE(form->exit_button->Enabled());
}

TEST_F(Animation, AnErrorLeavesTheWindowIdle) {
  MessageRecorder messages;
  Unit1::TimeStep = INT_MAX - 3;
  Click(work);
  EXPECT_EQ(Unit1::TimeStep, INT_MAX);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.messages[0].kind, forms::MessageKind::ErrorReport);
  EXPECT_EQ(messages.messages[0].text, "Integer overflow");
  EXPECT_EQ(form->work_button->Caption(), "Έ&ναρξη");
  EXPECT_TRUE(form->exit_button->Enabled());
  EXPECT_FALSE(form->Animating());
}

TEST_F(Animation, ClosingTheWindowWhileItRunsEndsTheProgramCleanly) {
  MessageRecorder messages;
  program.onFrame = [&](int n) {
    if (n == 5) PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  };
  // The questions form comes once more, inside the frame that handles the close.
  testing_support::Driver d([] {
    if (HWND w = testing_support::WaitForTopWindow(L"Πείραμα 2")) PostMessageW(w, WM_CLOSE, 0, 0);
  });
  // As the program runs: the start click comes through the message loop, which returns when
  // the program ends.
  PostClick(work);
  forms::Application::Get().Run(*form);
  d.Join();
  EXPECT_TRUE(forms::Application::Get().Terminated());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(Unit1::TimeStep, 5);
  EXPECT_FALSE(form->Animating());
  EXPECT_EQ(messages.Count(), 0u);
}

// How many GDI objects the process holds, as the platform's handle table shows it (Wine does
// not count them for GetGuiResources): enough fresh objects to use up every free slot reach
// one slot higher for every object that is still held.
unsigned GdiHighWater() {
  std::vector<HPEN> probes;
  unsigned high = 0;
  for (int i = 0; i < 3000; ++i) {
    HPEN p = CreatePen(PS_SOLID, 1 + i % 7, RGB(i % 251, 7, 9));
    if (!p) break;
    probes.push_back(p);
    high = std::max(high, static_cast<unsigned>(reinterpret_cast<UINT_PTR>(p) & 0xFFFF));
  }
  for (HPEN p : probes) DeleteObject(p);
  return high;
}

TEST_F(Animation, TenThousandFramesLeakNoGdiObject) {
  MessageRecorder messages;
  Unit1::FrameIntervalMs = 0;
  Click(form->charakas_Button->Handle());
  const int kFrames = 10000;
  unsigned shownBefore = 0, shownAfter = 0, hiddenFirst = 0, hiddenLast = 0;
  program.onFrame = [&](int n) {
    if (n == 100) shownBefore = GdiHighWater();
    // Off the screen for most frames, so that the test does not spend its time on the X
    // server's copies: every object a frame makes it makes either way.
    if (n == 200) ShowWindow(form->Handle(), SW_HIDE);
    if (n == 300) hiddenFirst = GdiHighWater();
    if (n == 300 + kFrames) hiddenLast = GdiHighWater();
    if (n == 400 + kFrames) ShowWindow(form->Handle(), SW_SHOWNA);
    if (n == 500 + kFrames) shownAfter = GdiHighWater();
    // Both kinds, with and without the curve: each once before the first count (what a
    // first use caches, a brush of a new colour, is no leak), then over and over.
    int phase = n < 100 ? n % 40 : n % 1000;
    int step = n < 100 ? 10 : 250;
    if (phase == step) PostClick(form->diamhkh_RadioButton->Handle());
    if (phase == 2 * step) PostClick(form->egkarsia_radiobutton->Handle());
    if (phase == 3 * step) PostClick(form->showline_CheckBox->Handle());
    if (n == 500 + kFrames) PostClick(work);
  };
  Click(work);
  EXPECT_EQ(program.frames, 500 + kFrames);
  EXPECT_EQ(hiddenLast, hiddenFirst) << "over " << kFrames << " frames";
  EXPECT_LE(shownAfter, shownBefore);
  EXPECT_EQ(messages.Count(), 0u);
}

// Stretched at its right end, the ruler turns red exactly at the wavelength in whole units
// (12 for the start values, lambda = 11.83) and reads the frequency 0.25 there.
TEST_F(Animation, TheRulerTurnsRedAtOneWavelength) {
  MessageRecorder messages;
  Click(form->charakas_Button->Handle());
  HWND ruler = form->charakas_Panel->Handle();
  ASSERT_TRUE(IsWindowVisible(ruler));
  EXPECT_TRUE(form->distance_value_Label->Visible());
  EXPECT_TRUE(form->time_value_Label->Visible());
  EXPECT_FALSE(form->time_value_Label->Caption().empty());
  auto at = [](int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); };
  int x = 94;
  PostMessageW(ruler, WM_LBUTTONDOWN, MK_LBUTTON, at(x, 4));
  Pump(10);
  while (Unit1::RulerUnits > 12 && x > 0) {
    PostMessageW(ruler, WM_MOUSEMOVE, MK_LBUTTON, at(--x, 4));
    forms::Application::Get().ProcessMessages();
    EXPECT_EQ(form->charakas_Panel->GetColor(), Unit1::RulerUnits == 12 ? 0x0000FFu : 0xFF0000u);
  }
  PostMessageW(ruler, WM_LBUTTONUP, 0, at(x, 4));
  Pump(10);
  EXPECT_EQ(Unit1::RulerUnits, 12);
  EXPECT_EQ(form->charakas_Panel->GetColor(), 0x0000FFu);
  EXPECT_EQ(form->distance_value_Label->Caption(), "12");
  EXPECT_EQ(form->time_value_Label->Caption(), "0.25");
  // One unit shorter: blue again.
  PostMessageW(ruler, WM_LBUTTONDOWN, MK_LBUTTON, at(form->charakas_Panel->Width() - 3, 4));
  for (int dx = 1; Unit1::RulerUnits == 12 && dx < 20; ++dx) {
    PostMessageW(ruler, WM_MOUSEMOVE, MK_LBUTTON, at(form->charakas_Panel->Width() - 3 - 1, 4));
    forms::Application::Get().ProcessMessages();
  }
  PostMessageW(ruler, WM_LBUTTONUP, 0, at(0, 4));
  Pump(10);
  EXPECT_EQ(Unit1::RulerUnits, 11);
  EXPECT_EQ(form->charakas_Panel->GetColor(), 0xFF0000u);
  EXPECT_EQ(form->distance_value_Label->Caption(), "11");
  // The ruler button hides it with its readouts.
  Click(form->charakas_Button->Handle());
  EXPECT_FALSE(IsWindowVisible(ruler));
  EXPECT_FALSE(form->distance_value_Label->Visible());
  EXPECT_EQ(messages.Count(), 0u);
}

// Stretched at either end and pulled back by the real mouse, the ruler shows whole after every
// drag, none of its old edges or of the unpainted strip it gained left on it.
TEST_F(Animation, TheRulerShowsWholeAsTheMouseStretchesIt) {
  MessageRecorder messages;
  DragTheRulerAndSeeItWhole(*form);
  EXPECT_EQ(messages.Count(), 0u);
}

}  // namespace
