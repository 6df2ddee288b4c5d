// The histogram count of a 4000 x 3000 24-bit picture as F2 runs it (a column at a time with a
// message pump and a gauge update after each) against plain counting loops over the same
// pixels, and the zoom steps of the same picture with the memory they take.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bmp_writer.h"
#include "forms/application.h"
#include "forms/text.h"
#include "tests/support/file_bytes.h"
#include "viewer/Histograms.h"
#include "viewer/Progress.h"
#include "viewer/extended_math.h"
#include "viewer/view.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
  return pmc.PeakPagefileUsage / (1024.0 * 1024.0);
}

double NowMegabytes() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
  return pmc.PagefileUsage / (1024.0 * 1024.0);
}

// Row by row, every pixel split and counted, the intensity in extended precision inline.
void PlainRowLoop(const bmp::Image& img, view::HistogramBins (&bins)[4]) {
  view::ExtendedPrecision scope;
  for (auto& b : bins) b.fill(0);
  for (std::uint32_t p : img.pixels) {
    int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    ++bins[0][static_cast<size_t>(r)];
    ++bins[1][static_cast<size_t>(g)];
    ++bins[2][static_cast<size_t>(b)];
    long double v = 0.3L * r + 0.59L * g + 0.11L * b;
    long double rounded = (v + 9223372036854775808.0L) - 9223372036854775808.0L;
    ++bins[3][static_cast<size_t>(static_cast<double>(rounded))];
  }
}

}  // namespace

int main() {
  const int W = 4000, H = 3000;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + L"veru_bench.bmp";
  {
    std::vector<std::uint8_t> bytes = testing_support::Bmp24(W, H, [](int x, int y) {
      std::uint32_t h = static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u;
      return bmp::FromRgb((x * 255 / W + (h & 15)) & 255, (y * 255 / H + ((h >> 4) & 15)) & 255, (x + y + (h >> 8)) & 255);
    });
    testing_support::WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
  }
  auto& app = forms::Application::Get();
  app.Initialize();
  app.SetTitle("Vistrel");
  auto t0 = Clock::now();
  view::TViewerForm viewer({forms::Narrow(path)});
  Histograms::THistograms_Form histograms;
  Progress::THistogramProgressForm progress;
  std::printf("load %dx%d 24-bit: %.3f s, %.0f MB in use\n", W, H, Seconds(t0), NowMegabytes());
  viewer.Show();
  app.ProcessMessages();

  int gaugeUpdates = 0;
  progress.HistogramProgress.onChange = [&](int) { ++gaugeUpdates; };
  t0 = Clock::now();
  view::VeruHistograms();
  double f2 = Seconds(t0);
  histograms.Hide();
  app.ProcessMessages();

  const bmp::Image& img = *view::OriginalBitmap;
  view::HistogramBins columns[4] = {};
  t0 = Clock::now();
  for (int x = 0; x < img.width; ++x) view::CountColumn(img, x, columns[0], columns[1], columns[2], columns[3]);
  double columnLoop = Seconds(t0);
  view::HistogramBins rows[4];
  t0 = Clock::now();
  PlainRowLoop(img, rows);
  double rowLoop = Seconds(t0);
  bool same = rows[0] == view::RedCounts && rows[3] == view::IntensityCounts && columns[3] == view::IntensityCounts;

  std::printf("F2 count with %d pumps and %d gauge changes: %.3f s\n", img.width, gaugeUpdates, f2);
  std::printf("plain column loop (same order, no pumps):  %.3f s  ratio F2/plain %.2f\n", columnLoop, f2 / columnLoop);
  std::printf("plain row loop (memory order):             %.3f s  ratio F2/plain %.2f\n", rowLoop, f2 / rowLoop);
  std::printf("bins agree: %s\n", same ? "yes" : "NO");

  auto megabytes = [](const bmp::Image& i) { return i.pixels.size() * 4.0 / (1024.0 * 1024.0); };
  for (int step = 0; step < 3; ++step) {
    double before = NowMegabytes();
    t0 = Clock::now();
    view::ZoomIn();
    double t = Seconds(t0);
    // The new picture is made before the old one goes, so a step holds both for a moment.
    // (Wine reports no peak of its own: PeakPagefileUsage follows the current use.)
    std::printf("zoom to level %d: %dx%d in %.3f s; in use %.0f -> %.0f MB, peak of the step %.0f MB"
                " (reported %.0f)\n",
                view::View.ZoomLevel, view::DisplayBitmap->width, view::DisplayBitmap->height, t, before,
                NowMegabytes(), before + megabytes(*view::DisplayBitmap), PeakMegabytes());
  }
  DeleteFileW(path.c_str());
  return 0;
}
