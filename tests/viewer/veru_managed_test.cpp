// The viewer on a desktop that a window manager manages, as every user's desktop has one.
// The manager activates each window that appears, and Wine lets the keys follow the
// activation: the progress window of the histogram count must refuse it, or Esc typed during
// the count goes to a window where it does nothing. The keys go through the X server, as a
// user's do.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "child_process.h"
#include "file_bytes.h"
#include "scratch_folder.h"
#include "x_desktop.h"

using namespace testing_support;

namespace {

class UnderWindowManager : public ::testing::Test {
 protected:
  // The viewer started on a picture large enough that its count outlasts a key typed just
  // after F2 (a few tenths of a second here), at 1:1 and the window the manager made active.
  void StartOnALargePicture() {
    const int W = 8000, H = 6000;
    std::vector<std::uint8_t> bytes = Bmp24(W, H, [](int x, int y) {
      return (static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u) &
             0xFFFFFFu;
    });
    ASSERT_TRUE(WriteFileBytes(picture, std::string(bytes.begin(), bytes.end())));
    ASSERT_TRUE(program.Start(PathOnDriveZ(VERU_EXE), L"\"" + picture + L"\""));
    viewer = WaitForProcessWindow(program.Pid(), picture + L" (8000,6000,24-bit) - [1:1]", 60000);
    ASSERT_NE(viewer, nullptr);
    progress = ProcessWindowShownOrNot(program.Pid(), L"Viewer");
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ManagerActiveWindow() == XWindowOf(viewer); }, 5000))
        << "the window manager did not make the viewer active";
  }

  ScratchFolder folder{"veru_managed_"};
  std::wstring picture = folder.File(L"large.bmp");
  ChildProcess program;
  HWND viewer = nullptr;
  HWND progress = nullptr;
};

// F2 and, a tenth of a second later, Esc, both from the keyboard: the count is under way when
// Esc comes, and Esc ends the program there. A count that went on to its end would show the
// histograms window, which keeps the program running.
TEST_F(UnderWindowManager, EscTypedDuringTheHistogramCountEndsTheProgram) {
  StartOnALargePicture();
  if (HasFatalFailure()) return;
  // One command, so that no start of a program comes between the two keys; the window the
  // manager has active is read between them.
  std::string active =
      RunHostCommand("xdotool key F2 sleep 0.1; xprop -root _NET_ACTIVE_WINDOW; xdotool key Escape");
  bool histogramsShown = false;
  bool ended = WaitUntil(
      [&] {
        if (WaitForProcessWindow(program.Pid(), L"Histograms", 0)) histogramsShown = true;
        return program.Ended(0) || histogramsShown;
      },
      30000);
  EXPECT_FALSE(histogramsShown) << "the count ran to its end: Esc did not reach the viewer";
  ASSERT_TRUE(ended) << "Esc did not end the program";
  EXPECT_EQ(program.ExitCode(), 0u);
  auto windows = ParseWindowList(active);
  ASSERT_EQ(windows.size(), 1u) << active;
  EXPECT_NE(windows[0], XWindowOf(progress)) << "the progress window took the activation";
}

// The window manager's close of the progress window (its close box) cancels the count: no
// histograms, and the viewer goes on.
TEST_F(UnderWindowManager, ClosingTheProgressWindowCancelsTheCount) {
  StartOnALargePicture();
  if (HasFatalFailure()) return;
  // F2, and a tenth of a second later, with the count under way, what the close box does: the
  // manager asks the window captioned "Viewer" to close itself.
  RunHostCommand("xdotool key F2 sleep 0.1; wmctrl -F -c Viewer");
  bool histogramsShown = false;
  bool hidden = WaitUntil(
      [&] {
        if (WaitForProcessWindow(program.Pid(), L"Histograms", 0)) histogramsShown = true;
        return !IsWindowVisible(progress);
      },
      30000);
  ASSERT_TRUE(hidden) << "the progress window stayed";
  // A count that was not cancelled shows its charts as it ends, at once.
  Sleep(500);
  if (WaitForProcessWindow(program.Pid(), L"Histograms", 0)) histogramsShown = true;
  EXPECT_FALSE(histogramsShown) << "closing the progress window did not cancel the count";
  EXPECT_FALSE(program.Ended(0)) << "the viewer ended";
  EXPECT_TRUE(IsWindowVisible(viewer));
}

}  // namespace
