// Kelmora2's animation as the student sees it, measured: the time to compose one frame in each
// mode, the frame rate the paced loop holds, the CPU time the process uses while animating
// and while paused, and the delay from a posted click to its handler during the animation.
// Prints figures only. Run under Wine with a display: wine kelmora2_bench.exe [seconds]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/bench_clock.h"
#include "forms/application.h"
#include "forms/core/message_service.h"
#include "tests/support/file_bytes.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/form_seams.h"
#include "wave_experiment/wave_program.h"

namespace {

using bench_support::CpuSeconds;
using bench_support::Now;

// A sample data file of the bench's own.
std::wstring WriteDataFile() {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"kelmora2_bench_data.txt";
  std::string bytes =
      "Ερώτηση 1\r\n----------\r\n\r\n----------\r\nΕρώτηση 2\r\n----------\r\n\r\n"
      "----------\r\n0\r\n";
  testing_support::WriteFileBytes(path, bytes);
  return path;
}

void Pump(double seconds) {
  double until = Now() + seconds;
  while (Now() < until) {
    forms::Application::Get().ProcessMessages();
    Sleep(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  if (seconds <= 0) seconds = 5.0;
  auto& app = forms::Application::Get();
  app.Initialize();
  // Nothing may wait for a student: any message is answered at once.
  forms::ScopedMessageRecorder quiet([](const forms::MessageRequest&) { return forms::mrOk; });
  std::wstring data = WriteDataFile();
  Unit1::DataFileArgument = data;
  WaveProgram::Program program;
  Unit1::TForm1 form(program);
  peirama::CreatePeiramaForm();
  results::CreateResultsForm();
  form.Show();
  Pump(0.2);
  program.enable_buttons(form);
  form.charakas_ButtonClick();
  Pump(0.1);

  // 1. Composition of one frame per mode (the frame's own message pumps included).
  struct Mode {
    const char* name;
    bool transverse, curve;
  };
  const Mode modes[] = {{"transverse with curve", true, true},
                        {"transverse, no curve", true, false},
                        {"longitudinal", false, true}};
  std::printf("Kelmora2 benchmark (graph panel %dx%d)\n", form.Panel1->Width(), form.Panel1->Height());
  std::printf("frame composition:\n");
  for (const Mode& m : modes) {
    (m.transverse ? form.egkarsia_radiobutton : form.diamhkh_RadioButton)->SetChecked(true);
    form.showline_CheckBox->SetChecked(m.curve);
    const int frames = 1000;
    double t0 = Now();
    for (int i = 0; i < frames; ++i) program.Frame(form);
    double t = Now() - t0;
    std::printf("  %-24s %8.1f us/frame (%.0f frames/s unpaced)\n", m.name, t / frames * 1e6, frames / t);
  }
  form.egkarsia_radiobutton->SetChecked(true);
  form.showline_CheckBox->SetChecked(true);

  // 2-4. The paced loop as the start button runs it, with clicks posted at odd moments.
  HWND panel4 = form.Panel4->Handle();
  HWND work = form.work_button->Handle();
  std::vector<double> delays;
  std::atomic<double> postedAt{0};
  auto original = form.Panel4->onMouseUp;
  form.Panel4->onMouseUp = [&](forms::MouseButton b, unsigned s, int x, int y) {
    double at = postedAt.load();
    if (at > 0) delays.push_back(Now() - at);
    postedAt = 0;
    original(b, s, x, y);
  };
  std::atomic<bool> done{false};
  std::thread clicker([&] {
    Sleep(500);
    for (int i = 0; !done && i < 1000; ++i) {
      Sleep(97 + (i * 37) % 61);
      if (done) break;
      postedAt = Now();
      PostMessageW(panel4, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
  });
  std::int32_t steps0 = Unit1::TimeStep;
  double cpu0 = CpuSeconds(), wall0 = Now();
  std::thread stopper([&] {
    Sleep(static_cast<DWORD>(seconds * 1000));
    PostMessageW(work, BM_CLICK, 0, 0);
  });
  SendMessageW(work, BM_CLICK, 0, 0);
  double wall = Now() - wall0, cpu = CpuSeconds() - cpu0;
  stopper.join();
  int frames = Unit1::TimeStep - steps0;
  done = true;
  clicker.join();
  Pump(0.3);

  std::printf("paced loop: %d frames in %.2f s = %.2f frames/s (target 20.0 +- 0.5)\n", frames, wall,
              frames / wall);
  std::printf("CPU while animating: %.1f%% of a core (target under 10%%)\n", cpu / wall * 100);
  if (!delays.empty()) {
    std::sort(delays.begin(), delays.end());
    double sum = 0;
    for (double d : delays) sum += d;
    std::printf(
        "click to handler during the animation: mean %.1f ms, median %.1f ms, max %.1f ms"
        " over %zu clicks (target under 60 ms)\n",
        sum / delays.size() * 1000, delays[delays.size() / 2] * 1000, delays.back() * 1000, delays.size());
  }

  // Paused: the program's own message loop, stopped by a timer.
  static double pausedSeconds = seconds < 3 ? seconds : 3;
  cpu0 = CpuSeconds();
  wall0 = Now();
  SetTimer(
      nullptr, 0, static_cast<UINT>(pausedSeconds * 1000),
      [](HWND, UINT, UINT_PTR id, DWORD) __attribute__((stdcall)) {
        KillTimer(nullptr, id);
        forms::Application::Get().Terminate();
      });
  app.Run(form);
  wall = Now() - wall0;
  cpu = CpuSeconds() - cpu0;
  std::printf("CPU while paused: %.2f%% of a core over %.1f s (target near 0)\n", cpu / wall * 100, wall);
  app.ResetTerminated();
  form.Hide();
  DeleteFileW(data.c_str());
  return 0;
}
