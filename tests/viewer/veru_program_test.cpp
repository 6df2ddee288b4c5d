// The program itself, started with its command line as a user starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "bmp_writer.h"
#include "child_process.h"
#include "file_bytes.h"
#include "forms/text.h"
#include "gui_driver.h"

namespace {

using testing_support::WaitForProcessWindow;

class VeruProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    picture_ = std::wstring(temp) + L"veru_program_" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
    std::vector<std::uint8_t> bytes = testing_support::Bmp24(64, 48, [](int x, int y) { return bmp_pixel(x, y); });
    testing_support::WriteFileBytes(picture_, std::string(bytes.begin(), bytes.end()));
  }
  void TearDown() override {
    program_.End();
    DeleteFileW(picture_.c_str());
  }
  static std::uint32_t bmp_pixel(int x, int y) { return static_cast<std::uint32_t>((x * 4) << 16 | (y * 5) << 8 | 40); }

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
  HWND ViewerWindow() const { return WaitForProcessWindow(program_.Pid(), picture_ + L" (64,48,24-bit) - [1:1]"); }

  std::wstring picture_;
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
  struct Junk {
    std::wstring path;
    ~Junk() { DeleteFileW(path.c_str()); }
  } junk{picture_ + L".txt"};
  ASSERT_TRUE(testing_support::WriteFileBytes(junk.path, std::string(300, 'x')));
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
  EXPECT_NE(testing_support::FindChildByText(
                box, L"Vistrel ε1\r\r\rπλήκτρα λειτουργίας:\r    +/- για zoom in/out\r    F1 για βοήθεια\r"
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

}  // namespace
