// The program itself, started with its command line as a user starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "bmp_writer.h"
#include "child_process.h"
#include "file_bytes.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "scratch_folder.h"

namespace {

using testing_support::WaitForProcessWindow;

// A key pressed and let go on the keyboard: the platform hands it to the focus of the
// foreground window, whichever window that is.
void RealKey(WORD vk) {
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

// True when `upper` lies above `lower` in the z-order of the top-level windows.
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == upper) return true;
  }
  return false;
}

// The program's thread held still while the test looks at its windows; let go at the latest
// when the test ends, so that the program can take what was sent to it meanwhile.
class HeldThread {
 public:
  explicit HeldThread(DWORD id) : thread_(OpenThread(THREAD_SUSPEND_RESUME, FALSE, id)) {}
  ~HeldThread() {
    Release();
    if (thread_) CloseHandle(thread_);
  }
  bool Hold() { return thread_ && !held_ && (held_ = SuspendThread(thread_) != static_cast<DWORD>(-1)); }
  void Release() {
    if (held_) ResumeThread(thread_);
    held_ = false;
  }

 private:
  HANDLE thread_;
  bool held_ = false;
};

class VeruProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::uint8_t> bytes =
        testing_support::Bmp24(64, 48, [](int x, int y) { return bmp_pixel(x, y); });
    testing_support::WriteFileBytes(picture_, std::string(bytes.begin(), bytes.end()));
  }
  void TearDown() override { program_.End(); }
  static std::uint32_t bmp_pixel(int x, int y) {
    return static_cast<std::uint32_t>((x * 4) << 16 | (y * 5) << 8 | 40);
  }

  void Start(const std::wstring& args) {
    ASSERT_TRUE(program_.Start(testing_support::PathOnDriveZ(VERU_EXE), args))
        << "cannot start " << forms::Narrow(program_.CommandLine());
  }
  // The exit code once the program ends, or -1 when it is still running after the timeout.
  long Ended(DWORD timeoutMs = 10000) {
    if (!program_.Ended(timeoutMs)) return -1;
    return static_cast<long>(program_.ExitCode());
  }

  // The viewer's window on the test picture, at 1:1.
  HWND ViewerWindow() const {
    return WaitForProcessWindow(program_.Pid(), picture_ + L" (64,48,24-bit) - [1:1]");
  }

  const testing_support::ScratchFolder folder_{"veru_program_"};
  const std::wstring picture_ = folder_.File(L"picture.bmp");
  testing_support::ChildProcess program_;
};

TEST_F(VeruProgram, WithoutAnArgumentItEndsAtOnceWithoutAWindow) {
  Start(L"");
  EXPECT_EQ(Ended(), 0);
  EXPECT_EQ(WaitForProcessWindow(program_.Pid(), nullptr, 0), nullptr);
}

// A picture that cannot be shown is told, and once the message is closed the program ends
// with a code a script can test; the normal ends below give 0.
TEST_F(VeruProgram, APictureThatCannotBeShownIsToldAndEndsWithCode1) {
  struct Case {
    const char* name;
    const wchar_t* suffix;  // added to the test picture's path
    const wchar_t* text;
  };
  const Case cases[] = {
      {"a missing file", L".none", L"Could not find image file!"},
      {"a file that holds no picture", L".txt", L"Could not load image file!"},
  };
  ASSERT_TRUE(testing_support::WriteFileBytes(picture_ + L".txt", std::string(300, 'x')));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(L"\"" + picture_ + c.suffix + L"\" x gr");
    const std::wstring caption = L"Error";
    HWND box = WaitForProcessWindow(program_.Pid(), &caption);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(testing_support::FindChildByText(box, c.text), nullptr);
    EXPECT_EQ(Ended(200), -1) << "the program waits for the box";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Ended(), 1);
    program_.End();
  }
}

TEST_F(VeruProgram, BorderlessGreekViewerShowsGreekHelpAndEndsOnEsc) {
  Start(L"\"" + picture_ + L"\" off gr");
  HWND viewer = ViewerWindow();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(GetWindowLongW(viewer, GWL_STYLE) & WS_CAPTION, 0);
  RECT client;
  GetClientRect(viewer, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);

  PostMessageW(viewer, WM_KEYDOWN, VK_F1, 1);
  const std::wstring info = L"Information";
  HWND box = WaitForProcessWindow(program_.Pid(), &info);
  ASSERT_NE(box, nullptr);
  // A wide literal: the box must show the Greek letters, whatever the code page of the process.
  EXPECT_NE(
      testing_support::FindChildByText(
          box,
          L"Vistrel ε1\r\r\rπλήκτρα λειτουργίας:\r    +/- για zoom in/out\r    F1 για βοήθεια\r"
          L"    F2 για εμφάνιση ιστογραμμάτων\r\rΠατήστε και κινήστε το mouse για να κινηθείτε στην εικόνα."),
      nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);

  PostMessageW(viewer, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(Ended(), 0);
}

TEST_F(VeruProgram, FramedViewerEndsOnARightButtonRelease) {
  Start(L"\"" + picture_ + L"\"");
  HWND viewer = ViewerWindow();
  ASSERT_NE(viewer, nullptr);
  EXPECT_NE(GetWindowLongW(viewer, GWL_STYLE) & WS_CAPTION, 0);
  HWND image = GetWindow(viewer, GW_CHILD);
  ASSERT_NE(image, nullptr);
  PostMessageW(image, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
  EXPECT_EQ(Ended(300), -1) << "pressing is not yet releasing";
  PostMessageW(image, WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(Ended(), 0);
}

// Esc typed while the histograms are being counted ends the program there: the progress window
// shows over the viewer without taking the keyboard from it. The program is held still just
// after the progress window appears, with the count under way, so the key certainly comes
// while the count runs; it is handled at the count's next pump once the program goes on. A
// count that went on to its end would show the histograms window, and Esc would then only
// hide that.
TEST_F(VeruProgram, EscTypedDuringTheHistogramCountEndsTheProgramThere) {
  const int W = 8000, H = 6000;
  const std::wstring big = picture_ + L".big.bmp";
  {
    std::vector<std::uint8_t> bytes = testing_support::Bmp24(W, H, [](int x, int y) {
      return (static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u) &
             0xFFFFFFu;
    });
    ASSERT_TRUE(testing_support::WriteFileBytes(big, std::string(bytes.begin(), bytes.end())));
  }
  Start(L"\"" + big + L"\"");
  HWND viewer = WaitForProcessWindow(program_.Pid(), big + L" (8000,6000,24-bit) - [1:1]", 60000);
  ASSERT_NE(viewer, nullptr);
  HWND progress = testing_support::ProcessWindowShownOrNot(program_.Pid(), L"Viewer");
  ASSERT_NE(progress, nullptr);
  ASSERT_FALSE(IsWindowVisible(progress));
  const std::wstring histogramsCaption = L"Histograms";
  ASSERT_TRUE(testing_support::WaitUntil([&] { return GetForegroundWindow() == viewer; }, 5000))
      << "the viewer comes up in front";

  const DWORD thread = GetWindowThreadProcessId(viewer, nullptr);
  HeldThread held(thread);
  RealKey(VK_F2);
  ASSERT_TRUE(testing_support::WaitUntil([&] { return IsWindowVisible(progress) != FALSE; }, 20000, 0));
  // With the progress window up, only a pump of the count takes a message sent to the viewer:
  // once it is answered, the window has been fully shown and the count is under way.
  ASSERT_NE(SendMessageTimeoutW(viewer, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr), 0);
  ASSERT_TRUE(held.Hold());
  ASSERT_TRUE(IsWindowVisible(progress));
  ASSERT_EQ(WaitForProcessWindow(program_.Pid(), histogramsCaption, 0), nullptr)
      << "the count is not over yet";

  EXPECT_EQ(GetForegroundWindow(), viewer);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetGUIThreadInfo(thread, &info));
  EXPECT_EQ(info.hwndActive, viewer) << "the progress window took the activation";
  ASSERT_NE(info.hwndFocus, nullptr);
  EXPECT_EQ(GetAncestor(info.hwndFocus, GA_ROOT), viewer) << "the progress window took the keyboard focus";
  EXPECT_EQ(GetWindow(progress, GW_OWNER), viewer);
  EXPECT_TRUE(Above(progress, viewer)) << "the progress window is under the viewer";

  RealKey(VK_ESCAPE);
  held.Release();
  bool histogramsShown = false;
  bool ended = testing_support::WaitUntil(
      [&] {
        if (WaitForProcessWindow(program_.Pid(), histogramsCaption, 0)) histogramsShown = true;
        return program_.Ended(0);
      },
      30000);
  EXPECT_FALSE(histogramsShown) << "the count ran to its end";
  ASSERT_TRUE(ended) << "Esc did not end the program";
  EXPECT_EQ(program_.ExitCode(), 0u);
}

}  // namespace
