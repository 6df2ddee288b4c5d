#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <vector>

#include "child_process.h"
#include "column_count.h"
#include "gui_driver.h"
#include "photo_scene.h"
#include "viewer_fixture.h"

using testing_support::MessageRecorder;
using testing_support::ViewerTest;

namespace {

// Expected Greek texts as UTF-8, so that the checks do not go through the code page they test.
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

long long Sum(const view::HistogramBins& b) { return std::accumulate(b.begin(), b.end(), 0ll); }

struct Counts {
  view::HistogramBins red, green, blue, intensity;
  static Counts Now() {
    return {view::RedCounts, view::GreenCounts, view::BlueCounts, view::IntensityCounts};
  }
};

class HistogramsWindow : public ViewerTest {
 protected:
  // F2 as the user presses it, pumped until the histogram window shows.
  void PressF2AndWait() {
    Key(VK_F2);
    ASSERT_TRUE(PumpUntil([&] { return !view::HistogramsRunning() && histograms->Visible(); }));
  }
  std::vector<forms::AreaSeries*> AllSeries() {
    return {&histograms->Series1, &histograms->Series2, &histograms->Series3, &histograms->Series4};
  }
  std::vector<forms::Chart*> AllCharts() {
    return {&histograms->Chart1, &histograms->Chart2, &histograms->Chart3, &histograms->Chart4};
  }
  // A picture of a photograph's size, noise that fills every bin.
  std::string WriteLargePicture(int width = 4000, int height = 3000) {
    return WritePicture(width, height, [](int x, int y) {
      std::uint32_t h = static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u;
      h ^= h >> 15;
      return (h * 2246822519u) & 0xFFFFFFu;
    });
  }
};

// A click of the real mouse at a point of the screen: it goes through the platform's input
// queue, so it activates the window under it as a user's click does.
void RealClick(POINT at) {
  INPUT in[3] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    i.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, in, sizeof(INPUT));
}

// True when `upper` lies above `lower` in the z-order of the top-level windows.
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == upper) return true;
  }
  return false;
}

// A corner of the viewer's picture, on the screen, that `other` does not cover; from the
// last corner backwards when `fromTheEnd` (two clicks in one place would make a double click).
POINT ViewerPointOutside(HWND viewerImage, HWND other, bool fromTheEnd) {
  RECT covered = testing_support::WindowRectOf(other);
  std::vector<POINT> corners{{4, 4}, {795, 4}, {4, 595}, {795, 595}};
  if (fromTheEnd) std::reverse(corners.begin(), corners.end());
  for (POINT p : corners) {
    ClientToScreen(viewerImage, &p);
    if (!PtInRect(&covered, p)) return p;
  }
  ADD_FAILURE() << "the window covers the whole viewer";
  return {0, 0};
}

TEST_F(HistogramsWindow, BinsOfAPhotoAddUpToItsPixelsInUnitAndCharts) {
  MessageRecorder rec;
  const int W = 320, H = 210;
  testing_support::PhotoScene scene(W, H);
  Open({WritePicture(W, H, scene)});
  PressF2AndWait();
  EXPECT_FALSE(progress->Visible());
  const view::HistogramBins* unit[] = {&view::RedCounts, &view::GreenCounts, &view::BlueCounts,
                                       &view::IntensityCounts};
  const forms::Color colours[] = {0x0000FF, 0x008000, 0xFF0000, 0x000000};
  auto series = AllSeries();
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE("histogram " + std::to_string(i + 1));
    EXPECT_EQ(Sum(*unit[i]), W * H);
    ASSERT_EQ(series[i]->Count(), 256);
    for (int bin = 0; bin < 256; ++bin) {
      ASSERT_EQ(series[i]->YValue(bin), (*unit[i])[static_cast<size_t>(bin)]) << "bin " << bin;
      ASSERT_EQ(series[i]->ValueColor(bin), colours[i]) << "bin " << bin;
    }
    EXPECT_TRUE(series[i]->Active());
  }
  // Every pixel against the bins, counted here one pixel at a time.
  Counts want{};
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      std::uint32_t p = scene(x, y);
      int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      ++want.red[static_cast<size_t>(r)];
      ++want.green[static_cast<size_t>(g)];
      ++want.blue[static_cast<size_t>(b)];
      ++want.intensity[static_cast<size_t>(view::PixelIntensity(r, g, b))];
    }
  }
  EXPECT_EQ(view::RedCounts, want.red);
  EXPECT_EQ(view::GreenCounts, want.green);
  EXPECT_EQ(view::BlueCounts, want.blue);
  EXPECT_EQ(view::IntensityCounts, want.intensity);
}

TEST_F(HistogramsWindow, FlatPicturesFallInOneBin) {
  struct Case {
    const char* name;
    std::uint32_t pixel;
    int bin;
  };
  const Case cases[] = {{"grey 77", bmp::FromRgb(77, 77, 77), 77}, {"white", 0xFFFFFF, 255}, {"black", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageRecorder rec;
    Open({WritePicture(33, 17, [&](int, int) { return c.pixel; })});
    PressF2AndWait();
    for (const view::HistogramBins* b :
         {&view::RedCounts, &view::GreenCounts, &view::BlueCounts, &view::IntensityCounts}) {
      EXPECT_EQ((*b)[static_cast<size_t>(c.bin)], 33 * 17);
      EXPECT_EQ(Sum(*b), 33 * 17);
    }
    progress.reset();
    histograms.reset();
    viewer.reset();
  }
}

TEST_F(HistogramsWindow, GaugeRunsFromZeroToHundredAndStartsAgainAtZero) {
  MessageRecorder rec;
  Open({WritePicture(640, 3, [](int x, int) { return bmp::FromRgb(x & 255, 0, 0); })});
  std::vector<int> seen;
  bool visibleWhileCounting = false;
  progress->HistogramProgress.onChange = [&](int p) {
    seen.push_back(p);
    visibleWhileCounting = visibleWhileCounting || progress->Visible();
  };
  PressF2AndWait();
  EXPECT_EQ(progress->HistogramProgress.Progress(), 100);
  EXPECT_TRUE(visibleWhileCounting);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 100);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  // A second run starts again at 0.
  seen.clear();
  histograms->Hide();
  PressF2AndWait();
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), 0);
  EXPECT_EQ(seen.back(), 100);
  EXPECT_EQ(progress->Caption(), "Viewer");
  EXPECT_EQ(progress->Label1.Caption(), "Computing image histograms...");
}

// Red x, green 2x (only even bins), blue 255 - x: bin 17 holds 5, 0 and 5 pixels.
std::uint32_t Ramp(int x, int) { return bmp::FromRgb(x, (2 * x) & 255, 255 - x); }

TEST_F(HistogramsWindow, ClickingBin17ShowsItsIndexAndCount) {
  MessageRecorder rec;
  Open({WritePicture(256, 5, Ramp)});
  PressF2AndWait();
  const view::HistogramBins* unit[] = {&view::RedCounts, &view::GreenCounts, &view::BlueCounts,
                                       &view::IntensityCounts};
  auto charts = AllCharts();
  auto series = AllSeries();
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE("chart " + std::to_string(i + 1));
    histograms->Index.SetText("");
    histograms->Value.SetText("");
    POINT p = charts[i]->ValuePoint(*series[i], 17);
    PostMessageW(charts[i]->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y + 1));
    PostMessageW(charts[i]->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y + 1));
    Pump();
    EXPECT_EQ(histograms->Index.Text(), "17");
    EXPECT_EQ(histograms->Value.Text(), std::to_string((*unit[i])[17]));
  }
  EXPECT_EQ(histograms->Value.Text(), std::to_string(view::IntensityCounts[17]));
  EXPECT_EQ(view::GreenCounts[17], 0);
  // Outside the plot nothing changes.
  histograms->Index.SetText("x");
  PostMessageW(histograms->Chart1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  PostMessageW(histograms->Chart1.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  Pump();
  EXPECT_EQ(histograms->Index.Text(), "x");
}

// The chart as it paints itself, asked through the printing message.
std::vector<std::uint32_t> Painted(HWND chart) {
  RECT r;
  GetClientRect(chart, &r);
  testing_support::PixelCapture capture(r.right, r.bottom);
  SendMessageW(chart, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(capture.DC()), PRF_CLIENT);
  return capture.Pixels();
}

TEST_F(HistogramsWindow, StairsCheckBoxSwitchesAllFourCharts) {
  MessageRecorder rec;
  Open({WritePicture(200, 120, testing_support::PhotoScene(200, 120))});
  PressF2AndWait();
  std::vector<std::vector<std::uint32_t>> areas;
  for (forms::Chart* c : AllCharts()) areas.push_back(Painted(c->Handle()));
  for (bool on : {true, false}) {
    SCOPED_TRACE(on ? "checked" : "unchecked");
    testing_support::ClickChild(histograms->CheckBox1.Handle());
    Pump();
    EXPECT_EQ(histograms->CheckBox1.Checked(), on);
    auto charts = AllCharts();
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(charts[i]->Series(0).Stairs(), on) << "chart " << i + 1;
      EXPECT_EQ(Painted(charts[i]->Handle()) == areas[i], !on)
          << "chart " << i + 1 << " drawn as " << (on ? "stairs" : "areas");
    }
  }
  // The setting outlives a new count.
  testing_support::ClickChild(histograms->CheckBox1.Handle());
  Pump();
  histograms->Hide();
  PressF2AndWait();
  for (forms::AreaSeries* s : AllSeries()) EXPECT_TRUE(s->Stairs());
  EXPECT_TRUE(histograms->CheckBox1.Checked());
}

TEST_F(HistogramsWindow, DraggingARectangleZoomsAndDraggingBackUndoes) {
  MessageRecorder rec;
  Open({WritePicture(256, 4, Ramp)});
  PressF2AndWait();
  forms::Chart& chart = histograms->Chart1;
  RECT plot = chart.PlotRect();
  POINT before = chart.ValuePoint(histograms->Series1, 100);
  auto drag = [&](POINT from, POINT to) {
    PostMessageW(chart.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    PostMessageW(chart.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageW(chart.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Pump();
  };
  // From bin 64 to bin 192, right and down: the bins between spread over the whole plot.
  POINT a = chart.ValuePoint(histograms->Series1, 64), b = chart.ValuePoint(histograms->Series1, 192);
  drag({a.x, plot.top + 2}, {b.x, plot.bottom - 2});
  EXPECT_TRUE(chart.Zoomed());
  // The zoomed axes' labels may take another width, and the plot with them.
  RECT zoomedPlot = chart.PlotRect();
  POINT zoomed = chart.ValuePoint(histograms->Series1, 100);
  EXPECT_LT(std::abs(zoomed.x - (zoomedPlot.left + (zoomedPlot.right - 1 - zoomedPlot.left) * 36 / 128)), 3);
  drag({b.x, plot.bottom - 2}, {a.x, plot.top + 2});
  EXPECT_FALSE(chart.Zoomed());
  EXPECT_EQ(chart.ValuePoint(histograms->Series1, 100).x, before.x);
}

TEST_F(HistogramsWindow, EscHidesFromTheEditsAndTheWindowButNotFromOK) {
  struct Case {
    const char* name;
    int target;  // 0 the window, 1 Index, 2 Value, 3 the OK button, 4 the check box
    UINT key;
    bool hides;
  };
  // clang-format off
  const Case cases[] = {
      {"Esc on the window", 0, VK_ESCAPE, true},
      {"Esc in Index", 1, VK_ESCAPE, true},
      {"Esc in Value", 2, VK_ESCAPE, true},
      {"Esc on OK", 3, VK_ESCAPE, false},
      {"Esc on the check box", 4, VK_ESCAPE, false},  // 5
      {"a letter in Index", 1, 'A', false},
      {"Enter in Index clicks OK", 1, VK_RETURN, true},
  };
  // clang-format on
  MessageRecorder rec;
  Open({WritePicture(20, 20, Ramp)});
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.name);
    histograms->Show();
    Pump();
    HWND targets[] = {histograms->Handle(), histograms->Index.Handle(), histograms->Value.Handle(),
                      histograms->BitBtn1.Handle(), histograms->CheckBox1.Handle()};
    SetFocus(targets[c.target]);
    Key(targets[c.target], c.key);
    EXPECT_EQ(!histograms->Visible(), c.hides);
    EXPECT_FALSE(forms::Application::Get().Terminated()) << "the histograms never end the program";
  }
  histograms->Show();
  testing_support::ClickChild(histograms->BitBtn1.Handle());
  Pump();
  EXPECT_FALSE(histograms->Visible()) << "OK hides";
}

TEST_F(HistogramsWindow, GreekModeCaptionsBothWindows) {
  MessageRecorder rec;
  Open({WritePicture(30, 20, Ramp), "off", "gr"});
  int label1Right = histograms->Label1.Left() + histograms->Label1.Width();
  PressF2AndWait();
  EXPECT_EQ(forms::ToUtf8(progress->Caption()), U8(u8"Υπολογισμός"));
  EXPECT_EQ(forms::ToUtf8(progress->Label1.Caption()), U8(u8"Υπολογισμός ιστογραμμάτων εικόνας..."));
  EXPECT_EQ(forms::ToUtf8(histograms->Caption()), U8(u8"Χρωματικά Ιστογράμματα Εικόνας"));
  EXPECT_EQ(forms::ToUtf8(histograms->Label1.Caption()), U8(u8"Θέση"));
  EXPECT_EQ(forms::ToUtf8(histograms->Label2.Caption()), U8(u8"Τιμή"));
  EXPECT_EQ(forms::ToUtf8(histograms->CheckBox1.Text()), U8(u8"Βηματική"));
  EXPECT_EQ(histograms->Label1.Left() + histograms->Label1.Width(), label1Right) << "right-aligned";
  const std::pair<forms::Chart*, std::string> titles[] = {{&histograms->Chart1, U8(u8"Κόκκινο")},
                                                          {&histograms->Chart2, U8(u8"Πράσινο")},
                                                          {&histograms->Chart3, U8(u8"Μπλε")},
                                                          {&histograms->Chart4, U8(u8"Φωτεινότητα")}};
  for (const auto& [chart, title] : titles) {
    ASSERT_EQ(chart->TitleLines().size(), 1u);
    EXPECT_EQ(forms::ToUtf8(chart->TitleLines()[0]), title);
  }
  EXPECT_EQ(histograms->RadioButton1.Text(), "Area Graph");
  EXPECT_EQ(histograms->RadioButton2.Text(), "Line graph");
  EXPECT_EQ(histograms->BitBtn1.Text(), "OK");
}

TEST_F(HistogramsWindow, EnglishDesign) {
  MessageRecorder rec;
  Open({WritePicture(30, 20, Ramp)});
  PressF2AndWait();
  EXPECT_EQ(histograms->Caption(), "Histograms");
  EXPECT_EQ(histograms->ClientWidth(), 767);
  EXPECT_EQ(histograms->ClientHeight(), 492);
  const std::pair<forms::Chart*, const char*> titles[] = {{&histograms->Chart1, "Red Histogram"},
                                                          {&histograms->Chart2, "Green Histogram"},
                                                          {&histograms->Chart3, "Blue Histogram"},
                                                          {&histograms->Chart4, "Intensity Histogram"}};
  for (const auto& [chart, title] : titles) {
    ASSERT_EQ(chart->TitleLines().size(), 1u);
    EXPECT_EQ(chart->TitleLines()[0], title);
  }
  EXPECT_EQ(histograms->Series2.SeriesColor(), 0x408000u);
  EXPECT_TRUE(histograms->RadioButton1.Checked());
  EXPECT_FALSE(histograms->RadioButton1.Enabled());
  EXPECT_FALSE(histograms->RadioButton2.Enabled());
  EXPECT_EQ(GetFocus(), histograms->BitBtn1.Handle()) << "OK is the active control";
  EXPECT_TRUE(viewer->Visible()) << "the viewer stays beside the histograms";
  EXPECT_EQ(progress->ClientWidth(), 241);
  EXPECT_EQ(progress->ClientHeight(), 89);
  EXPECT_EQ(GetWindowLongW(progress->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
}

// Keys handled inside the count's pump.
TEST_F(HistogramsWindow, ASecondF2DuringTheCountDoesNothing) {
  MessageRecorder rec;
  Open({WritePicture(300, 40, Ramp)});
  PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
  PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
  ASSERT_TRUE(PumpUntil([&] { return !view::HistogramsRunning() && histograms->Visible(); }));
  Pump();
  for (const view::HistogramBins* b :
       {&view::RedCounts, &view::GreenCounts, &view::BlueCounts, &view::IntensityCounts}) {
    EXPECT_EQ(Sum(*b), 300 * 40) << "counted once, not restarted or doubled";
  }
}

TEST_F(HistogramsWindow, TheSameHistogramsAfterAZoom) {
  MessageRecorder rec;
  testing_support::PhotoScene scene(150, 90);
  Open({WritePicture(150, 90, scene)});
  PressF2AndWait();
  Counts first = Counts::Now();
  histograms->Hide();
  Key(VK_ADD);
  Key(VK_ADD);
  PressF2AndWait();
  Counts second = Counts::Now();
  EXPECT_EQ(first.red, second.red);
  EXPECT_EQ(first.intensity, second.intensity);
}

// Ending the program in the middle of a count: the count stops at its next pump, nothing
// reads the freed pictures, and the message loop returns. The picture takes the count several
// pump intervals.
TEST_F(HistogramsWindow, EndingDuringTheCountStopsItCleanly) {
  struct Case {
    const char* name;
    UINT msg;
    WPARAM wp;
    bool freed;
  };
  const Case cases[] = {
      {"closing the window", WM_CLOSE, 0, false},
      {"Esc", WM_KEYDOWN, VK_ESCAPE, true},
      {"right button", WM_RBUTTONUP, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageRecorder rec;
    Open({WriteLargePicture()});
    PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
    HWND to = c.msg == WM_RBUTTONUP ? viewer->ViewerImage.Handle() : ViewerHwnd();
    PostMessageW(to, c.msg, c.wp, MAKELPARAM(5, 5));
    forms::Application::Get().Run(*viewer);  // returns once the program ends
    EXPECT_TRUE(forms::Application::Get().Terminated());
    EXPECT_FALSE(view::HistogramsRunning());
    EXPECT_FALSE(histograms->Visible());
    EXPECT_FALSE(progress->Visible());
    EXPECT_LT(Sum(view::RedCounts), 4000 * 3000) << "stopped before the end";
    EXPECT_EQ(view::OriginalBitmap == nullptr, c.freed);
    EXPECT_EQ(rec.Count(), 0u) << "no error report";
    progress.reset();
    histograms.reset();
    viewer.reset();
    forms::Application::Get().ResetTerminated();
  }
}

// The count goes through the picture in memory order (fast on a large one); the bins are those
// of a count column by column, and the gauge climbs to 100 in steps, each one a value it showed before.
TEST_F(HistogramsWindow, ALargePictureCountsInStepsToTheBinsOfTheColumnOrder) {
  MessageRecorder rec;
  Open({WriteLargePicture()});
  const bmp::Image& picture = *view::OriginalBitmap;
  std::vector<int> seen;
  progress->HistogramProgress.onChange = [&](int p) { seen.push_back(p); };
  LARGE_INTEGER f, start, end;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&start);
  PressF2AndWait();
  QueryPerformanceCounter(&end);
  double ms = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);

  const viewer_test::Bins want = viewer_test::CountByColumns(picture);
  EXPECT_EQ(view::RedCounts, want.red);
  EXPECT_EQ(view::GreenCounts, want.green);
  EXPECT_EQ(view::BlueCounts, want.blue);
  EXPECT_EQ(view::IntensityCounts, want.intensity);
  EXPECT_EQ(histograms->Series4.YValue(128), want.intensity[128]);

  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 100);
  EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end(), std::greater_equal<int>()) == seen.end())
      << "the gauge only climbs";
  // A count that lasts several pump intervals shows where it has come on the way.
  if (ms > 100) {
    EXPECT_GE(seen.size(), 2u) << "F2 took " << ms << " ms";
  }
}

// A click posted to the viewer while the count runs is handled within 100 ms. The clicks come
// from a second thread, each at a moment that falls anywhere between two of the count's pumps,
// so the delays measured are the ones a user's clicks meet; only clicks answered by a pump
// before the count's last one are taken (the last pump would answer any count's clicks).
// The figure checked is the median over many clicks, and the bound is five pump intervals:
// a machine busy with other work delays a few clicks, not half of them, while a count that
// pumped too rarely delays them all.
TEST_F(HistogramsWindow, ClicksOnTheViewerAreHandledWithin100MsDuringTheCount) {
  MessageRecorder rec;
  Open({WriteLargePicture()});
  constexpr int kWanted = 12, kMaxClicks = 80;
  struct Click {
    LONGLONG postedAt = 0, handledAt = 0;
    bool beforeTheLastPump = false;
  };
  std::vector<Click> clicks(kMaxClicks);
  std::atomic<int> handled{-1};
  std::atomic<int> inTheCount{0};
  std::atomic<bool> driverDone{false};
  auto original = viewer->ViewerImage.onMouseUp;
  viewer->ViewerImage.onMouseUp = [&](forms::MouseButton b, unsigned shift, int x, int y) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    Click& c = clicks.at(static_cast<size_t>(x));
    c.handledAt = now.QuadPart;
    c.beforeTheLastPump = view::HistogramsRunning() && progress->HistogramProgress.Progress() < 100;
    if (c.beforeTheLastPump) ++inTheCount;
    handled = x;
    original(b, shift, x, y);
  };
  HWND image = viewer->ViewerImage.Handle(), progressWindow = progress->Handle();
  testing_support::Driver driver([&] {
    for (int i = 0; i < kMaxClicks && inTheCount < kWanted; ++i) {
      if (!testing_support::WaitUntil([&] { return IsWindowVisible(progressWindow) != FALSE; }, 10000, 1))
        break;
      Sleep(static_cast<DWORD>(1 + (i * 7) % 23));  // wanders over the pump interval
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      clicks[static_cast<size_t>(i)].postedAt = now.QuadPart;
      PostMessageW(image, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(i, 1));
      PostMessageW(image, WM_LBUTTONUP, 0, MAKELPARAM(i, 1));
      if (!testing_support::WaitUntil([&] { return handled == i; }, 5000, 1)) break;
    }
    driverDone = true;
  });
  for (int run = 0; run < 40 && !driverDone; ++run) {
    PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
    ASSERT_TRUE(PumpUntil([&] { return histograms->Visible() && !view::HistogramsRunning(); }, 10000));
    histograms->Hide();
  }
  driver.Join();
  ASSERT_TRUE(PumpUntil([&] { return driverDone.load(); }));
  viewer->ViewerImage.onMouseUp = original;

  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  std::vector<double> ms;
  for (const Click& c : clicks) {
    if (c.beforeTheLastPump)
      ms.push_back(static_cast<double>(c.handledAt - c.postedAt) * 1000.0 / static_cast<double>(f.QuadPart));
  }
  ASSERT_GE(ms.size(), static_cast<size_t>(kWanted)) << "clicks answered by the count's own pumps";
  std::sort(ms.begin(), ms.end());
  double median = ms[ms.size() / 2];
  EXPECT_LT(median, 100.0) << "median of " << ms.size() << " clicks; slowest " << ms.back() << " ms";
  EXPECT_EQ(rec.Count(), 0u);
}

// Keys handled inside the count's pumps do their work there, and the count goes on unharmed.
TEST_F(HistogramsWindow, ZoomingAndPanningDuringTheCountLeaveItsBins) {
  MessageRecorder rec;
  const int W = 2000, H = 1500;
  Open({WriteLargePicture(W, H)});
  PressF2AndWait();
  Counts before = Counts::Now();
  histograms->Hide();
  std::vector<std::pair<unsigned, bool>> keys;  // the key and whether the count was running
  viewer->onKeyDown = [&, original = viewer->onKeyDown](unsigned& key, unsigned shift) {
    keys.emplace_back(key, view::HistogramsRunning());
    original(key, shift);
  };
  PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
  PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_ADD, 1);
  PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_RIGHT, 1);
  ASSERT_TRUE(
      PumpUntil([&] { return keys.size() == 3 && !view::HistogramsRunning() && histograms->Visible(); }));
  EXPECT_TRUE(keys[1].second && keys[2].second) << "handled inside the count";
  EXPECT_EQ(view::View.ZoomLevel, 2);
  EXPECT_EQ(view::View.ViewLeft, 50);
  EXPECT_EQ(viewer->Caption().substr(viewer->Caption().size() - 5), "[2:1]");
  Counts after = Counts::Now();
  EXPECT_EQ(after.red, before.red);
  EXPECT_EQ(after.green, before.green);
  EXPECT_EQ(after.blue, before.blue);
  EXPECT_EQ(after.intensity, before.intensity);
  EXPECT_EQ(Sum(after.intensity), static_cast<long long>(W) * H);
}

// Both windows lie over the viewer and belong to it: a click on the viewer, which brings the
// viewer to the front, leaves them above it, and they go away and come back with it when it is
// minimised and restored.
TEST_F(HistogramsWindow, AClickOnTheViewerLeavesTheHistogramsAndProgressAboveIt) {
  MessageRecorder rec;
  Open({WritePicture(300, 200, Ramp)});
  EXPECT_EQ(GetWindow(histograms->Handle(), GW_OWNER), ViewerHwnd());
  EXPECT_EQ(GetWindow(progress->Handle(), GW_OWNER), ViewerHwnd());
  HWND image = viewer->ViewerImage.Handle();

  // The progress window, clicked past while the count runs: the click waits behind F2 and is
  // handled by the count's pump.
  bool progressAbove = false, clickedDuringTheCount = false;
  viewer->ViewerImage.onMouseUp = [&, original = viewer->ViewerImage.onMouseUp](
                                      forms::MouseButton b, unsigned shift, int x, int y) {
    clickedDuringTheCount = view::HistogramsRunning();
    progressAbove = Above(progress->Handle(), ViewerHwnd()) && progress->Visible();
    original(b, shift, x, y);
  };
  progress->Show();  // where the count puts it
  POINT outsideProgress = ViewerPointOutside(image, progress->Handle(), true);
  progress->Hide();
  Pump();
  PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
  RealClick(outsideProgress);
  ASSERT_TRUE(PumpUntil([&] { return histograms->Visible() && !view::HistogramsRunning(); }));
  EXPECT_TRUE(clickedDuringTheCount);
  EXPECT_TRUE(progressAbove) << "the progress window went behind the viewer";

  // The histograms window, clicked past once shown. The platform restacks the windows after
  // the click has been handled, from the display's answers: those are let in before the check.
  RealClick(ViewerPointOutside(image, histograms->Handle(), false));
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == ViewerHwnd(); }))
      << "the click activates the viewer";
  testing_support::PumpFor(300);
  EXPECT_TRUE(Above(histograms->Handle(), ViewerHwnd())) << "z-order after the click";
  // A bare spot of the window's face, right of the OK button, on the screen itself.
  POINT bare{600, 478};
  ClientToScreen(histograms->Handle(), &bare);
  EXPECT_EQ(GetAncestor(WindowFromPoint(bare), GA_ROOT), histograms->Handle());
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF seen = CLR_INVALID;
  EXPECT_TRUE(PumpUntil([&] {
    HDC screen = GetDC(nullptr);
    seen = GetPixel(screen, bare.x, bare.y);
    ReleaseDC(nullptr, screen);
    return seen == face;
  })) << "the screen shows 0x"
      << std::hex << seen << " where the window's face 0x" << face << " should be";

  SendMessageW(ViewerHwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(ViewerHwnd()));
  EXPECT_FALSE(histograms->Visible()) << "minimised with the viewer";
  SendMessageW(ViewerHwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_FALSE(IsIconic(ViewerHwnd()));
  EXPECT_TRUE(histograms->Visible()) << "restored with the viewer";
  EXPECT_EQ(histograms->Caption(), "Histograms");
  EXPECT_EQ(histograms->ClientWidth(), 767);
  EXPECT_EQ(rec.Count(), 0u);
}

// The progress window comes up over the viewer without taking the keyboard from it: all
// through the count the viewer is the active window and holds the focus, and the window above
// it, owned by it and centred on the screen, is the progress window. Once the count is over
// the histograms take over.
TEST_F(HistogramsWindow, TheViewerKeepsTheActivationAndTheFocusThroughTheCount) {
  MessageRecorder rec;
  Open({WriteLargePicture(2000, 1500)});
  ASSERT_EQ(GetActiveWindow(), ViewerHwnd());
  struct Seen {
    int progress;
    bool shown, above;
    HWND active, foreground, focusRoot;
    RECT place;
  };
  std::vector<Seen> seen;
  progress->HistogramProgress.onChange = [&](int p) {
    HWND focus = GetFocus();
    seen.push_back({p, progress->Visible(), Above(progress->Handle(), ViewerHwnd()), GetActiveWindow(),
                    GetForegroundWindow(), focus ? GetAncestor(focus, GA_ROOT) : nullptr,
                    testing_support::WindowRectOf(progress->Handle())});
  };
  PressF2AndWait();
  ASSERT_FALSE(seen.empty());
  for (const Seen& s : seen) {
    SCOPED_TRACE("at " + std::to_string(s.progress) + "%");
    EXPECT_TRUE(s.shown);
    EXPECT_TRUE(s.above) << "the progress window is under the viewer";
    EXPECT_EQ(s.active, ViewerHwnd()) << "the progress window took the activation";
    EXPECT_EQ(s.foreground, ViewerHwnd());
    EXPECT_EQ(s.focusRoot, ViewerHwnd()) << "the progress window took the focus";
    EXPECT_EQ(s.place.left, (forms::ScreenWidth() - (s.place.right - s.place.left)) / 2);
    EXPECT_EQ(s.place.top, (forms::ScreenHeight() - (s.place.bottom - s.place.top)) / 2);
  }
  EXPECT_EQ(GetWindow(progress->Handle(), GW_OWNER), ViewerHwnd());
  EXPECT_FALSE(progress->Visible());
  EXPECT_EQ(GetActiveWindow(), histograms->Handle());
  EXPECT_EQ(GetFocus(), histograms->BitBtn1.Handle());
  EXPECT_EQ(rec.Count(), 0u);
}

// Esc as the keyboard delivers it, to the window with the focus, once the progress window is
// up: it ends the program within the count, which shows no histograms.
TEST_F(HistogramsWindow, EscToTheFocusOnceTheProgressWindowShowsEndsTheProgram) {
  MessageRecorder rec;
  Open({WriteLargePicture()});
  HWND focusWhenShown = nullptr;
  bool progressShown = false;
  progress->HistogramProgress.onChange = [&](int) {
    if (focusWhenShown || !progress->Visible()) return;
    progressShown = true;
    focusWhenShown = GetFocus();
    if (focusWhenShown) {
      PostMessageW(focusWhenShown, WM_KEYDOWN, VK_ESCAPE, 1);
      PostMessageW(focusWhenShown, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    }
  };
  PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
  ASSERT_TRUE(PumpUntil([&] { return progressShown && !view::HistogramsRunning(); }, 20000));
  ASSERT_NE(focusWhenShown, nullptr);
  EXPECT_EQ(GetAncestor(focusWhenShown, GA_ROOT), ViewerHwnd());
  EXPECT_TRUE(forms::Application::Get().Terminated()) << "Esc did not end the program";
  EXPECT_EQ(view::OriginalBitmap, nullptr);
  EXPECT_FALSE(histograms->Visible()) << "the count ran to its end";
  EXPECT_FALSE(progress->Visible());
  EXPECT_EQ(rec.Count(), 0u);
}

// Closing the progress window while the count runs abandons the count: no charts, the viewer
// stays, and the next F2 counts from the start.
TEST_F(HistogramsWindow, ClosingTheProgressWindowCancelsTheCount) {
  struct Case {
    const char* name;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    bool chartsShownBefore;
  };
  const LPARAM altDown = 1 | (1 << 29);
  const Case cases[] = {
      {"its close box", WM_SYSCOMMAND, SC_CLOSE, 0, false},
      {"Alt+F4", WM_SYSKEYDOWN, VK_F4, altDown, false},
      {"its close box, over earlier charts", WM_SYSCOMMAND, SC_CLOSE, 0, true},
      {"Alt+F4, over earlier charts", WM_SYSKEYDOWN, VK_F4, altDown, true},
  };
  const int W = 500, H = 300;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageRecorder rec;
    Open({WritePicture(W, H, testing_support::PhotoScene(W, H))});
    if (c.chartsShownBefore) PressF2AndWait();
    // Both wait in the queue: the close comes through a pump of the count that F2 starts.
    PostMessageW(ViewerHwnd(), WM_KEYDOWN, VK_F2, 1);
    PostMessageW(progress->Handle(), c.msg, c.wp, c.lp);
    Pump();
    EXPECT_FALSE(view::HistogramsRunning());
    EXPECT_FALSE(progress->Visible());
    EXPECT_FALSE(histograms->Visible()) << "no charts";
    for (forms::AreaSeries* s : AllSeries()) EXPECT_EQ(s->Count(), 0);
    EXPECT_TRUE(viewer->Visible());
    EXPECT_FALSE(forms::Application::Get().Terminated());
    EXPECT_NE(view::OriginalBitmap, nullptr);

    PressF2AndWait();
    for (forms::AreaSeries* s : AllSeries()) EXPECT_EQ(s->Count(), 256);
    for (const view::HistogramBins* b :
         {&view::RedCounts, &view::GreenCounts, &view::BlueCounts, &view::IntensityCounts}) {
      EXPECT_EQ(Sum(*b), W * H) << "counted afresh";
    }
    EXPECT_EQ(rec.Count(), 0u);
    progress.reset();
    histograms.reset();
    viewer.reset();
  }
}

}  // namespace
