// The graph as the wave experiment configures it, drawn for real and written as a BMP file
// under the build folder, for a person to look at.
#include <gtest/gtest.h>

#include <cmath>

#include "forms/image.h"
#include "graph_host.h"
#include "message_recorder.h"
#include "toolkit/okgraph3_used.h"

#ifndef GRAPH_PICTURE_DIR
#define GRAPH_PICTURE_DIR "."
#endif

TEST(GraphPicture, WaveExperimentGraphReadsLikeAPhysicsGraph) {
  testing_support::MessageRecorder messages;
  graph_test::Host host;
  okgraph3::CreateGraph(host.panel.get());
  graph_test::ConfigureLikeWaveExperiment();
  okgraph3::FitGraph();
  okgraph3::DrawGraph();
  EXPECT_EQ(messages.Count(), 0u) << "the wave experiment's settings are never refused";
  forms::Bitmap shot;
  host.Capture(shot);
  graph_test::SaveBmp(shot, GRAPH_PICTURE_DIR "/wave_graph.bmp");
  // One animation frame on top, as the transverse mode draws it.
  okgraph3::PrepareBackBitmap();
  okgraph3::SetPenColor(0);
  auto y = [](double x) { return 30 * std::sin(6.283185307179586477 * (0.0125 - x / 11.83)); };
  okgraph3::BackMoveTo(0, y(0));
  for (int i = 1; i <= 200; ++i) okgraph3::BackLineTo(i / 2.0, y(i / 2.0));
  okgraph3::DrawMarker(0, 4, 0x0000FF, 0, y(0), 0xFF0000);
  for (int i = 1; i <= 9; ++i) okgraph3::DrawMarker(0, 4, 0xFF0000, 10 * i, y(10 * i), 0x0000FF);
  okgraph3::VeruBackBitmap();
  host.Capture(shot);
  graph_test::SaveBmp(shot, GRAPH_PICTURE_DIR "/wave_frame.bmp");
}
