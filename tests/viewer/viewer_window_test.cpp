#include <gtest/gtest.h>

#include <atomic>

#include "gui_driver.h"
#include "viewer_fixture.h"

using testing_support::MessageRecorder;
using testing_support::ViewerTest;

namespace {

std::uint32_t Pattern(int x, int y) {
  return bmp::FromRgb(x & 255, y & 255, ((x >> 8) * 60 + (y >> 8) * 90) & 255);
}

struct ArgsCase {
  const char* name;
  std::vector<std::string> args;  // "$pic" the picture, "$missing" a file that is not there,
                                  // "$junk" a file that is no picture, "$dir" the folder
  bool ends;                      // set-up ends the program
  const char* message;            // the one message of set-up, or null
  bool noFrame, greek;
  int exitCode;  // what the program returns
};

class ViewerCommandLine : public ViewerTest {};

TEST_F(ViewerCommandLine, ArgumentsDecideFrameLanguageAndEnd) {
  const ArgsCase cases[] = {
      {"no argument", {}, true, nullptr, false, false, 0},
      {"picture off gr", {"$pic", "off", "gr"}, false, nullptr, true, true, 0},
      {"picture gr: gr only counts third", {"$pic", "gr"}, false, nullptr, false, false, 0},
      {"picture OFF: upper case does not count", {"$pic", "OFF"}, false, nullptr, false, false, 0},
      {"picture x GR", {"$pic", "x", "GR"}, false, nullptr, false, false, 0},  // 5
      {"picture off", {"$pic", "off"}, false, nullptr, true, false, 0},
      {"picture x gr", {"$pic", "x", "gr"}, false, nullptr, false, true, 0},
      {"missing file", {"$missing"}, true, "Could not find image file!", false, false, 1},
      {"missing file in Greek mode",
       {"$missing", "x", "gr"},
       true,
       "Could not find image file!",
       false,
       true,
       1},
      {"a file that is no picture", {"$junk"}, true, "Could not load image file!", false, false, 1},  // 10
      {"a truncated picture", {"$cut"}, true, "Could not load image file!", false, false, 1},
      {"a folder", {"$dir"}, true, "Could not load image file!", false, false, 1},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const ArgsCase& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.name);
    std::string pic = WritePicture(40, 30, Pattern);
    std::vector<std::uint8_t> junk(300, 'x');
    std::string junkPath = WriteFile(L"junk.bmp", junk);
    std::vector<std::uint8_t> cut = testing_support::Bmp24(40, 30, Pattern);
    cut.resize(cut.size() / 2);
    std::string cutPath = WriteFile(L"cut.bmp", cut);
    std::vector<std::string> args;
    for (const std::string& a : c.args) {
      args.push_back(a == "$pic"       ? pic
                     : a == "$missing" ? Folder() + "none.bmp"
                     : a == "$junk"    ? junkPath
                     : a == "$cut"     ? cutPath
                     : a == "$dir"     ? Folder().substr(0, Folder().size() - 1)
                                       : a);
    }
    MessageRecorder rec;
    Open(args);
    EXPECT_EQ(forms::Application::Get().Terminated(), c.ends);
    EXPECT_EQ(IsWindowVisible(ViewerHwnd()) != FALSE, !c.ends);
    EXPECT_EQ(view::ExitCode, c.exitCode);
    if (c.message) {
      ASSERT_EQ(rec.Count(), 1u);
      EXPECT_EQ(rec.messages[0].text, c.message);
      EXPECT_EQ(rec.messages[0].type, forms::MsgDlgType::Error);
      EXPECT_EQ(rec.messages[0].buttons, forms::mbOK);
    } else {
      EXPECT_EQ(rec.Count(), 0u);
    }
    if (!c.ends) {
      LONG style = GetWindowLongW(ViewerHwnd(), GWL_STYLE);
      EXPECT_EQ((style & WS_CAPTION) == 0, c.noFrame);
      EXPECT_EQ(viewer->ClientWidth(), 800);
      EXPECT_EQ(viewer->ClientHeight(), 600);
      EXPECT_EQ(view::NoFrame, c.noFrame);
      EXPECT_EQ(view::GreekMode, c.greek);
      EXPECT_EQ(viewer->Caption(), pic + " (40,30,24-bit) - [1:1]");
      Key(VK_F1);
      ASSERT_EQ(rec.Count(), 1u);
      EXPECT_EQ(rec.messages[0].text, c.greek ? view::HelpGreek : view::HelpEnglish);
      EXPECT_EQ(rec.messages[0].type, forms::MsgDlgType::Information);
      EXPECT_EQ(rec.messages[0].buttons, forms::mbOK);
    }
    progress.reset();
    histograms.reset();
    viewer.reset();
    forms::Application::Get().ResetTerminated();
  }
}

TEST_F(ViewerCommandLine, HelpTextsLineByLine) {
  EXPECT_EQ(std::string(view::HelpEnglish),
            "Vistrel v1\r\r\rkeys:\r    +/- to zoom in/out\r    F1 to get help\r"
            "    F2 to view image histograms\r\rClick and Drag image to view other portions of it.");
  // The Greek text as UTF-8, so that the check does not go through the code page it tests.
  const char8_t greek[] =
      u8"Vistrel ε1\r\r\rπλήκτρα λειτουργίας:\r    +/- για zoom in/out\r    F1 για βοήθεια\r"
      u8"    F2 για εμφάνιση ιστογραμμάτων\r\rΠατήστε και κινήστε το mouse για να κινηθείτε στην εικόνα.";
  EXPECT_EQ(forms::ToUtf8(view::HelpGreek), std::string(reinterpret_cast<const char*>(greek)));
}

TEST_F(ViewerCommandLine, CaptionNamesThePixelFormat) {
  testing_support::BmpLayout s;
  s.width = 9;
  s.height = 4;
  s.bitCount = 8;
  s.palette = {0x102030, 0xFFFFFF};
  s.data =
      testing_support::PackRows(9, 4, 8, false, [](int x, int) { return static_cast<std::uint32_t>(x & 1); });
  std::string path = WriteFile(L"eight.bmp", testing_support::WriteBmp(s));
  MessageRecorder rec;
  Open({path});
  EXPECT_EQ(viewer->Caption(), path + " (9,4,8-bit) - [1:1]");
}

// The help box as the platform shows it, in both languages, closed by its OK button.
TEST_F(ViewerCommandLine, F1ShowsTheRealHelpBox) {
  for (bool greek : {false, true}) {
    SCOPED_TRACE(greek ? "Greek" : "English");
    std::string pic = WritePicture(20, 20, Pattern);
    if (greek) {
      Open({pic, "x", "gr"});
    } else {
      Open({pic});
    }
    std::atomic<bool> sawText{false};
    std::wstring expected = forms::Widen(greek ? view::HelpGreek : view::HelpEnglish);
    testing_support::Driver driver([&] {
      HWND box = testing_support::WaitForTopWindow(L"Information");
      if (!box) return;
      sawText = testing_support::FindChildByText(box, expected) != nullptr;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    unsigned key = VK_F1;
    viewer->FormKeyDown(key, 0);  // returns when the box is closed
    driver.Join();
    EXPECT_TRUE(sawText);
    progress.reset();
    histograms.reset();
    viewer.reset();
  }
}

TEST_F(ViewerCommandLine, MissingFileShowsTheRealErrorBox) {
  std::atomic<bool> sawText{false};
  testing_support::Driver driver([&] {
    HWND box = testing_support::WaitForTopWindow(L"Error");
    if (!box) return;
    sawText = testing_support::FindChildByText(box, L"Could not find image file!") != nullptr;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  Open({Folder() + "nothing.bmp"});
  driver.Join();
  EXPECT_TRUE(sawText);
  EXPECT_TRUE(forms::Application::Get().Terminated());
}

class ViewerKeys : public ViewerTest {};

TEST_F(ViewerKeys, EscAndRightButtonFreeThePicturesAndEnd) {
  struct Case {
    const char* name;
    UINT msg;  // WM_KEYDOWN for a key, else a mouse message
    WPARAM code;
    bool ends;
  };
  // clang-format off
  const Case cases[] = {
      {"Esc", WM_KEYDOWN, VK_ESCAPE, true},
      {"right button up", WM_RBUTTONUP, 0, true},
      {"left button up", WM_LBUTTONUP, 0, false},
      {"right button down", WM_RBUTTONDOWN, MK_RBUTTON, false},
      {"a letter", WM_KEYDOWN, 'A', false},  // 5
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.name);
    MessageRecorder rec;
    Open({WritePicture(30, 20, Pattern)});
    if (c.msg == WM_KEYDOWN) {
      Key(static_cast<UINT>(c.code));
    } else {
      Mouse(c.msg, c.code, 10, 10);
    }
    EXPECT_EQ(forms::Application::Get().Terminated(), c.ends);
    EXPECT_EQ(view::DisplayBitmap == nullptr, c.ends);
    EXPECT_EQ(view::OriginalBitmap == nullptr, c.ends);
    // Keys after the end find no picture and do nothing.
    Key(VK_RIGHT);
    Key(VK_ADD);
    EXPECT_EQ(rec.Count(), 0u);
    progress.reset();
    histograms.reset();
    viewer.reset();
    forms::Application::Get().ResetTerminated();
  }
}

TEST_F(ViewerKeys, ZoomStepsResizeAndRecaption) {
  MessageRecorder rec;
  std::string pic = WritePicture(640, 480, Pattern);
  Open({pic});
  const std::string base = pic + " (640,480,24-bit)";
  struct Step {
    UINT key;
    int width, height, level;
    const char* suffix;
  };
  // clang-format off
  const Step steps[] = {
      {VK_ADD, 904, 678, 2, " - [2:1]"},
      {VK_ADD, 1277, 958, 3, " - [3:1]"},
      {VK_SUBTRACT, 902, 676, 2, " - [2:1]"},
      {VK_SUBTRACT, 637, 477, 1, " - [1:1]"},
      {VK_SUBTRACT, 449, 336, -2, " - [1:2]"},  // 5
  };
  // clang-format on
  for (size_t row = 0; row < std::size(steps); ++row) {
    const Step& s = steps[row];
    Key(s.key);
    ASSERT_TRUE(view::DisplayBitmap) << "row " << row;
    EXPECT_EQ(view::DisplayBitmap->width, s.width) << "row " << row;
    EXPECT_EQ(view::DisplayBitmap->height, s.height) << "row " << row;
    EXPECT_EQ(view::View.ZoomLevel, s.level) << "row " << row;
    EXPECT_EQ(viewer->Caption(), base + s.suffix) << "row " << row;
    // Every zoom is drawn from the loaded picture, which stays as it was.
    EXPECT_EQ(view::OriginalBitmap->width, 640) << "row " << row;
  }
}

TEST_F(ViewerKeys, AZoomWithoutMemoryKeepsEverything) {
  MessageRecorder rec;
  std::string pic = WritePicture(100, 80, Pattern);
  Open({pic});
  unsigned right = VK_RIGHT;
  viewer->FormKeyDown(right, 0);
  view::ViewState before = view::View;
  bmp::Image canvasBefore = viewer->ViewerImage.Canvas();
  view::MaxZoomPixels = 100 * 80;  // the next step (140 x 112) does not fit
  Key(VK_ADD);
  EXPECT_EQ(view::View.ZoomLevel, 1);
  EXPECT_EQ(view::View.ViewLeft, before.ViewLeft);
  EXPECT_EQ(view::DisplayBitmap->width, 100);
  EXPECT_EQ(viewer->Caption(), pic + " (100,80,24-bit) - [1:1]");
  EXPECT_EQ(viewer->ViewerImage.Canvas().pixels, canvasBefore.pixels);
  // Zooming out still fits.
  Key(VK_SUBTRACT);
  EXPECT_EQ(view::View.ZoomLevel, -2);
  EXPECT_EQ(view::DisplayBitmap->width, 70);
  view::MaxZoomPixels = std::size_t{256} << 20;
}

}  // namespace
