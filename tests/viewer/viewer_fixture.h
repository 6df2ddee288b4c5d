// The viewer's three windows made as the program makes them, over picture files that each
// test writes into its own temporary folder.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "forms/application.h"
#include "file_bytes.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "message_recorder.h"
#include "pixel_capture.h"
#include "scratch_folder.h"
#include "viewer/Histograms.h"
#include "viewer/Progress.h"
#include "viewer/view.h"

namespace testing_support {

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& app = forms::Application::Get();
    app.Initialize();
    app.SetTitle("Vistrel");
    app.ResetTerminated();
  }

  void TearDown() override {
    progress.reset();
    histograms.reset();
    viewer.reset();
    forms::Application::Get().ResetTerminated();
  }

  // The file's path as the command line gives it (code page 1253).
  std::string WriteFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    std::wstring path = folder_.File(name);
    testing_support::WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
    ++filesWritten_;
    return forms::Narrow(path);
  }
  std::string WritePicture(int width, int height, const std::function<std::uint32_t(int, int)>& pixel) {
    return WriteFile(L"p" + std::to_wstring(filesWritten_) + L".bmp", Bmp24(width, height, pixel));
  }
  // With its closing backslash, as the command line names a file in it.
  std::string Folder() const { return forms::Narrow(folder_.WidePath() + L"\\"); }

  // Creates the windows in the program's order and shows the viewer unless set-up ended it.
  void Open(std::vector<std::string> args) {
    viewer = std::make_unique<view::TViewerForm>(std::move(args));
    histograms = std::make_unique<Histograms::THistograms_Form>();
    progress = std::make_unique<Progress::THistogramProgressForm>();
    if (!forms::Application::Get().Terminated()) viewer->Show();
    Pump();
  }

  static void Pump() {
    for (int i = 0; i < 3; ++i) {
      forms::Application::Get().ProcessMessages();
      Sleep(1);
    }
  }

  HWND ViewerHwnd() const { return viewer->Handle(); }
  void Key(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    Pump();
  }
  void Key(UINT vk) { Key(ViewerHwnd(), vk); }
  void Mouse(UINT msg, WPARAM buttons, int x, int y) {
    PostMessageW(viewer->ViewerImage.Handle(), msg, buttons, MAKELPARAM(x, y));
    Pump();
  }

  // The picture control as the screen shows it (0x00RRGGBB rows).
  bmp::Image Screen() const {
    HWND w = viewer->ViewerImage.Handle();
    RECT r;
    GetClientRect(w, &r);
    bmp::Image img;
    img.width = r.right;
    img.height = r.bottom;
    testing_support::PixelCapture capture(r.right, r.bottom);
    HDC screen = GetDC(w);
    BitBlt(capture.DC(), 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(w, screen);
    img.pixels = capture.Pixels();
    for (std::uint32_t& p : img.pixels) p &= 0x00FFFFFFu;
    return img;
  }

  // Pumps until `done` or a timeout; false on the timeout.
  static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    return testing_support::PumpUntil(done, timeoutMs);
  }

  std::unique_ptr<view::TViewerForm> viewer;
  std::unique_ptr<Histograms::THistograms_Form> histograms;
  std::unique_ptr<Progress::THistogramProgressForm> progress;

 private:
  ScratchFolder folder_{"veru_test_"};
  int filesWritten_ = 0;
};

}  // namespace testing_support
