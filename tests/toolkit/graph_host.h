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
#include "wave_experiment/wave_graph.h"

namespace graph_test {

// The graph configured the way the wave experiment configures it.
inline void ConfigureLikeWaveExperiment() { Unit1::ConfigureWaveGraph(-10, 100, -50, 50); }

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
