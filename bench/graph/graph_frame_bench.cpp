// Frames per second of the animation frame the experiments draw: the clean copy, the
// 200-point waveform, ten particle markers and the copy onto the plot, each phase timed.
// Run under Wine with a display: wine graph_frame_bench.exe [frames]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "bench/support/bench_clock.h"
#include "graph_host.h"
#include "toolkit/okgraph3.h"

using bench_support::Now;

int main(int argc, char** argv) {
  int frames = argc > 1 ? std::atoi(argv[1]) : 3000;
  if (frames <= 0) frames = 3000;
  graph_test::Host host;
  okgraph3::CreateGraph(host.panel.get());
  graph_test::ConfigureLikeWaveExperiment();
  okgraph3::FitGraph();
  okgraph3::DrawGraph();
  okgraph3::SetPenColor(0);

  const double twoPi = 6.283185307179586477;
  const double frequency = 0.25, waveLength = 11.83;
  double phase[4] = {0, 0, 0, 0};
  const char* names[4] = {"clean copy", "200-point curve", "ten markers", "copy to plot"};
  double start = Now();
  for (int t = 1; t <= frames; ++t) {
    auto y = [&](double x) { return 30 * std::sin(twoPi * (t * frequency / 20 - x / waveLength)); };
    double t0 = Now();
    okgraph3::PrepareBackBitmap();
    double t1 = Now();
    okgraph3::BackMoveTo(0, y(0));
    for (int i = 1; i <= 200; ++i) okgraph3::BackLineTo(i / 2.0, y(i / 2.0));
    double t2 = Now();
    okgraph3::DrawMarker(0, 4, 0x0000FF, 0, y(0), 0xFF0000);
    for (int i = 1; i <= 9; ++i) okgraph3::DrawMarker(0, 4, 0xFF0000, 10 * i, y(10 * i), 0x0000FF);
    double t3 = Now();
    okgraph3::VeruBackBitmap();
    double t4 = Now();
    phase[0] += t1 - t0;
    phase[1] += t2 - t1;
    phase[2] += t3 - t2;
    phase[3] += t4 - t3;
    forms::Application::Get().ProcessMessages();
  }
  double total = Now() - start;
  double compose = phase[0] + phase[1] + phase[2] + phase[3];
  std::printf("graph frame benchmark: %d frames of a %dx%d plot\n", frames,
              okgraph3::CurrentLayout().PlotWidth + 1, okgraph3::CurrentLayout().PlotHeight + 1);
  for (int i = 0; i < 4; ++i) std::printf("  %-16s %8.1f us/frame\n", names[i], phase[i] / frames * 1e6);
  std::printf("  frames per second: %.0f (composition and copy), %.0f (with the message pump)\n",
              frames / compose, frames / total);
  return 0;
}
