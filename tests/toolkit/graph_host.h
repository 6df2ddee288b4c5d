// A host for the graph plotter as the experiment programs give it: a main window with the
// graph panel at its designed place, the graph configured the way the wave experiment
// configures it, and pictures of it written as BMP files.
#pragma once
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/bitmap.h"
#include "forms/form.h"
#include "forms/panel.h"
#include "toolkit/okgraph3.h"

namespace graph_test {

// The wave experiment's graph set-up, call for call.
inline void ConfigureLikeWaveExperiment() {
  using namespace okgraph3;
  GraphDefaults();
  SetXMax(100);
  SetXMin(-10);
  SetYMax(50);
  SetYMin(-50);
  SetBackColor(0xFFFFFF);
  SetPenColor(0x0000FF);
  SetFrameColor(0);
  SetFrameVisible(true);
  SetYAxisColor(0);
  SetYAxisVisible(true);
  SetXAxisColor(0);
  SetXAxisVisible(true);
  SetXGridColor(0xC0C0C0);
  SetXGridStep(45.0);
  SetXGridVisible(true);
  SetYGridColor(0xC0C0C0);
  SetYGridStep(5.0);
  SetYGridVisible(true);
  SetXLog(false);
  SetXLogBase(10);
  SetXMaxExp(3);
  SetXMinExp(1);
  SetYLog(false);
  SetYLogBase(10);
  SetYMaxExp(5);
  SetYMinExp(0);
  SetTitleFont("times new roman", 12, 0x0000FF, 0);
  SetTitle("");
  SetXTitleFont("ms sans serif", 8, 0, forms::fsBold);
  SetXTitle("Απόσταση x");
  SetYTitleFont("ms sans serif", 8, 0, forms::fsBold);
  SetYTitle("Απομάκρυνση ψ");
  SetXTickLength(5);
  SetXTickColor(0);
  SetXStepTicks(true);
  SetXZeroTicks(true);
  SetXEndTicks(true);
  SetYTickLength(5);
  SetYTickColor(0);
  SetYStepTicks(true);
  SetYZeroTicks(true);
  SetYEndTicks(true);
  SetXNumberColor(0);
  SetXStepNumbers(true);
  SetXZeroNumbers(true);
  SetXEndNumbers(false);
  SetYNumberColor(0);
  SetYStepNumbers(true);
  SetYZeroNumbers(true);
  SetYEndNumbers(true);
  SetXGridStep(10.0);
  SetYGridStep(10.0);
  SetClipping(true);
  SetBackFromPlot(false);
  SetXDecimals(0);
  SetYDecimals(0);
}

// A borderless window of the main window's client size holding the graph panel (Panel1).
class Host {
 public:
  explicit Host(int panelWidth = 593, int panelHeight = 393) {
    forms::Application::Get().Initialize();
    form.SetBorderStyle(forms::BorderStyle::None);
    form.SetBounds(0, 0, 792, 573);
    panel = std::make_unique<forms::Panel>(&form);
    panel->SetBounds(8, 96, panelWidth, panelHeight);
    form.Show();
    forms::Application::Get().ProcessMessages();
  }
  ~Host() { panel.reset(); }

  // Everything that reached the screen inside the graph panel.
  void Capture(forms::Bitmap& into) {
    forms::Application::Get().ProcessMessages();
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    into.SetSize(panel->Width(), panel->Height());
    HDC dc = GetDC(panel->Handle());
    BitBlt(into.DC(), 0, 0, panel->Width(), panel->Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(panel->Handle(), dc);
  }

  forms::Form form;
  std::unique_ptr<forms::Panel> panel;
};

// A 24-bit bottom-up BMP file of a bitmap.
inline void SaveBmp(const forms::Bitmap& b, const std::string& path) {
  const int w = b.Width(), h = b.Height();
  const int row = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(row * h);
  ih.biSize = sizeof(ih);
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biCompression = BI_RGB;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
  out.write(reinterpret_cast<const char*>(&ih), sizeof(ih));
  std::vector<char> line(static_cast<size_t>(row), 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      forms::Color c = b.Pixel(x, y);
      line[static_cast<size_t>(x) * 3 + 0] = static_cast<char>((c >> 16) & 0xFF);
      line[static_cast<size_t>(x) * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
      line[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(c & 0xFF);
    }
    out.write(line.data(), row);
  }
}

}  // namespace graph_test
