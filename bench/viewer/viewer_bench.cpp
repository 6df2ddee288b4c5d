// The histogram count of a 4000 x 3000 24-bit picture as F2 runs it (with its message pumps,
// gauge and windows) against plain counting loops over the same pixels, and the zoom steps of
// the same picture with the memory they take. Run it under the tests' Wine settings and under
// Wine's defaults (windows managed), as a user runs the viewer.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "bmp_writer.h"
#include "forms/application.h"
#include "forms/core/text.h"
#include "tests/support/file_bytes.h"
#include "viewer/Histograms.h"
#include "viewer/Progress.h"
#include "viewer/extended_math.h"
#include "viewer/view.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

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

// Every pixel split and counted, the intensity in extended precision inline.
inline void CountOne(std::uint32_t p, view::HistogramBins (&bins)[4]) {
  int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
  ++bins[0][static_cast<size_t>(r)];
  ++bins[1][static_cast<size_t>(g)];
  ++bins[2][static_cast<size_t>(b)];
  long double v = 0.3L * r + 0.59L * g + 0.11L * b;
  long double rounded = (v + 9223372036854775808.0L) - 9223372036854775808.0L;
  ++bins[3][static_cast<size_t>(static_cast<double>(rounded))];
}

// Row by row: memory order.
void PlainRowLoop(const bmp::Image& img, view::HistogramBins (&bins)[4]) {
  view::ExtendedPrecision scope;
  for (auto& b : bins) b.fill(0);
  for (std::uint32_t p : img.pixels) CountOne(p, bins);
}

// Column by column: a step of a whole row between two pixels.
void PlainColumnLoop(const bmp::Image& img, view::HistogramBins (&bins)[4]) {
  view::ExtendedPrecision scope;
  for (auto& b : bins) b.fill(0);
  for (int x = 0; x < img.width; ++x) {
    for (int y = 0; y < img.height; ++y) CountOne(img.At(x, y), bins);
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
      return bmp::FromRgb((x * 255 / W + (h & 15)) & 255, (y * 255 / H + ((h >> 4) & 15)) & 255,
                          (x + y + (h >> 8)) & 255);
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

  // The gauge shows 100 once the count is all but done: what comes after is the windows' part
  // (the progress window hidden, the charts filled and shown).
  int gaugeSets = 0;
  Clock::time_point full;
  progress.HistogramProgress.onChange = [&](int percent) {
    ++gaugeSets;
    if (percent == 100) full = Clock::now();
  };
  const int kRuns = 5;
  double f2 = 1e9, f2Total = 0, counted = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    t0 = Clock::now();
    view::VeruHistograms();
    double t = Seconds(t0);
    f2 = std::min(f2, t);
    f2Total += t;
    counted = std::min(counted, std::chrono::duration<double>(full - t0).count());
    histograms.Hide();
    app.ProcessMessages();
  }

  const bmp::Image& img = *view::OriginalBitmap;
  view::HistogramBins columns[4], rows[4];
  double columnLoop = 1e9, rowLoop = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    t0 = Clock::now();
    PlainColumnLoop(img, columns);
    columnLoop = std::min(columnLoop, Seconds(t0));
    t0 = Clock::now();
    PlainRowLoop(img, rows);
    rowLoop = std::min(rowLoop, Seconds(t0));
  }
  bool same = true;
  const view::HistogramBins* f2Bins[] = {&view::RedCounts, &view::GreenCounts, &view::BlueCounts,
                                         &view::IntensityCounts};
  for (int i = 0; i < 4; ++i) same = same && rows[i] == *f2Bins[i] && columns[i] == *f2Bins[i];

  // The best of the runs for each, so that the ratio compares the code, not the machine's load.
  std::printf("F2, best of %d: %.3f s (mean %.3f s), %d gauge changes in all\n", kRuns, f2, f2Total / kRuns,
              gaugeSets);
  std::printf("F2 until the gauge shows 100: %.3f s  ratio to the row loop %.2f\n", counted,
              counted / rowLoop);
  std::printf("plain column loop (a row's stride):        %.3f s  ratio F2/plain %.2f\n", columnLoop,
              f2 / columnLoop);
  std::printf("plain row loop (memory order):             %.3f s  ratio F2/plain %.2f\n", rowLoop,
              f2 / rowLoop);
  std::printf("bins agree: %s\n", same ? "yes" : "NO");

  auto megabytes = [](const bmp::Image& i) { return i.pixels.size() * 4.0 / (1024.0 * 1024.0); };
  for (int step = 0; step < 3; ++step) {
    double before = NowMegabytes();
    t0 = Clock::now();
    view::ZoomIn();
    double t = Seconds(t0);
    // The new picture is made before the old one goes, so a step holds both for a moment.
    // (Wine reports no peak of its own: PeakPagefileUsage follows the current use.)
    std::printf(
        "zoom to level %d: %dx%d in %.3f s; in use %.0f -> %.0f MB, peak of the step %.0f MB"
        " (reported %.0f)\n",
        view::View.ZoomLevel, view::DisplayBitmap->width, view::DisplayBitmap->height, t, before,
        NowMegabytes(), before + megabytes(*view::DisplayBitmap), PeakMegabytes());
  }
  DeleteFileW(path.c_str());
  return 0;
}
