// Kelmora4's main window in the test's own process: the set-up on a data file, the data
// file's errors, the temperature edit, the results dialog's grid and the animation.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>

#include "forms/application.h"
#include "forms/image.h"
#include "forms/core/message_service.h"
#include "enter_key.h"
#include "exit_question.h"
#include "gui_driver.h"
#include "message_recorder.h"
#include "probe_program.h"
#include "program_run.h"
#include "ruler_on_screen.h"
#include "sound_experiment/sound_program.h"
#include "sound_files.h"
#include "test_files.h"
#include "toolkit/okgraph3.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/results.h"
#include "forms/canvas.h"

using testing_support::MessageRecorder;

namespace {

void Pump(DWORD ms) { testing_support::PumpFor(ms, 2); }

class SoundWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().Initialize();
    Reset();
    kelmora_test::WriteFileBytes(dataFile, sound_test::SoundFixtureFile());
    Unit1::DataFileArgument = dataFile;
  }
  void TearDown() override { Reset(); }
  void Reset() { kelmora_test::EndProgramRun(form); }
  void Start() {
    form = std::make_unique<Unit1::TForm1>(program);
    SoundProgram::CreateForms();
    form->Show();
    Pump(50);
  }
  void Unlock() {
    kelmora_test::OpenAndCloseQuestions(*form);
    Pump(20);
  }
  // Types `text` into the temperature edit and leaves it (Enter), as the student does.
  void EnterTemperature(const std::string& text) {
    form->E_edit->SetFocus();
    form->E_edit->SetText(text);
    SendMessageW(form->E_edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(form->E_edit->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    Pump(10);
  }
  // Types `text` into the frequency edit and presses Enter.
  void EnterFrequency(const std::string& text) {
    form->v_Edit->SetFocus();
    form->v_Edit->SetText(text);
    testing_support::PressKey(form->v_Edit->Handle(), VK_RETURN);
    Pump(10);
  }

  kelmora_test::ScratchFolder folder;
  std::wstring dataFile = folder.File(L"sound.txt");
  kelmora_test::ProbeProgram<SoundProgram::Program> program;
  std::unique_ptr<Unit1::TForm1> form;
};

TEST_F(SoundWindow, StartsWithItsControlsAtTheirStartValues) {
  MessageRecorder messages;
  Start();
  ASSERT_EQ(messages.Count(), 0u) << messages.TextUtf8(0);
  EXPECT_EQ(form->Caption(), "Θερμοκρασία και Ταχύτητα του Ήχου");
  EXPECT_EQ(form->d_TrackBar, nullptr);
  EXPECT_EQ(form->egkarsia_radiobutton, nullptr);
  EXPECT_EQ(form->E_track_StaticText->Text(), "Θερμοκρασία (T)");
  EXPECT_EQ(form->v_TrackBar->Top(), 104);
  struct Bar {
    forms::TrackBar* bar;
    forms::Edit* edit;
    int min, max, position;
    const char* text;
  };
  const Bar bars[] = {{form->E_TrackBar.get(), form->E_edit.get(), 1, 1000, 100, "100"},
                      {form->v_TrackBar.get(), form->v_Edit.get(), 950, 1050, 1000, "10"}};
  for (const Bar& b : bars) {
    SCOPED_TRACE(b.text);
    EXPECT_EQ(SendMessageW(b.bar->Handle(), TBM_GETRANGEMIN, 0, 0), b.min);
    EXPECT_EQ(SendMessageW(b.bar->Handle(), TBM_GETRANGEMAX, 0, 0), b.max);
    EXPECT_EQ(SendMessageW(b.bar->Handle(), TBM_GETPOS, 0, 0), b.position);
    EXPECT_EQ(b.edit->Text(), b.text);
    EXPECT_FALSE(b.bar->Enabled());
  }
  EXPECT_DOUBLE_EQ(SoundProgram::Temperature, 100);
  EXPECT_DOUBLE_EQ(Unit1::Frequency, 10);
  EXPECT_EQ(Unit1::GridRows, 6);
  EXPECT_EQ(Unit1::GridCols, 5);
  EXPECT_EQ(Unit1::Measurements.Cell(1, 4, 5), "119");
  Unlock();
  EXPECT_TRUE(form->E_TrackBar->Enabled());
  EXPECT_TRUE(form->save_BitBtn->Enabled());
}

// The fixture's questions, then two sets of one cell each and a third set `third`: one set
// too many, with cells or without.
std::string ThreeSets(const std::string& third) {
  std::string bytes = sound_test::SoundFixtureLines(0);
  std::string counts = "\r\n1\r\n5\r\n4\r\n";
  bytes.replace(bytes.find(counts), counts.size(), "\r\n3\r\n1\r\n1\r\na\r\n1\r\n1\r\nb\r\n" + third);
  return bytes;
}

TEST_F(SoundWindow, DataFileErrorsEndTheProgramAfterTheirMessage) {
  struct Case {
    const char* name;
    bool exists;
    std::string bytes;
    const char* text;
  };
  const Case cases[] = {
      {"missing", false, "", "Το αρχείο δεδομένων δεν βρέθηκε"},
      {"ends after 19 cells", true, sound_test::SoundFixtureLines(19), "Λάθος τιμές στο αρχείο δεδομένων."},
      {"set count 3", true, ThreeSets("1\r\n1\r\nc\r\n"), "Λάθος τιμές στο αρχείο δεδομένων."},
      {"set count 3, the third without cells", true, ThreeSets("0\r\n0\r\n"),
       "Λάθος τιμές στο αρχείο δεδομένων."},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << c.name);
    Reset();
    std::wstring name = folder.File(L"case" + std::to_wstring(i));
    if (c.exists) kelmora_test::WriteFileBytes(name, c.bytes);
    Unit1::DataFileArgument = name;
    MessageRecorder messages;
    Start();
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.messages[0].kind, forms::MessageKind::GreekConfirm);
    EXPECT_EQ(messages.messages[0].caption, "Σφάλμα ανάγνωσης");
    EXPECT_EQ(messages.messages[0].text, c.text);
    EXPECT_TRUE(forms::Application::Get().Terminated());
  }
}

TEST_F(SoundWindow, TheTemperatureEditClampsAndMovesTheTrackBar) {
  Start();
  Unlock();
  struct Case {
    const char* typed;
    const char* shown;
    int position;
    double temperature;
  };
  const Case cases[] = {
      {"5000", "1000", 1000, 1000},
      {"0.5", "1", 1, 1},
      {"37.6", "38", 38, 37.6},  // the next frame reads 38 from the track bar
      {"250", "250", 250, 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    MessageRecorder messages;
    EnterTemperature(c.typed);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(form->E_edit->Text(), c.shown);
    EXPECT_EQ(form->E_TrackBar->Position(), c.position);
    EXPECT_DOUBLE_EQ(SoundProgram::Temperature, c.temperature);
  }
  MessageRecorder messages;
  Unit1::SavedEText = "250";
  form->E_edit->SetText("abc");
  form->update_e_edit();
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "Λάθος τιμή");
  EXPECT_EQ(messages.messages[0].text, "Η τιμή δεν μπορεί να υπολογισθεί. Δώστε έναν αριθμό από 1 έως 1000.");
  EXPECT_EQ(form->E_edit->Text(), "250");
  EXPECT_EQ(form->E_TrackBar->Position(), 250);
}

// A good temperature with Enter, then letters with Enter and the message closed by Enter:
// one message, and the edit comes back to the good value that the track bar shows.
TEST_F(SoundWindow, ABadTemperatureAfterAGoodOneBringsBackTheGoodOne) {
  Start();
  Unlock();
  form->work_button->SetFocus();
  form->E_edit->SetFocus();
  EXPECT_EQ(kelmora_test::TypeAndPressEnter(*form->E_edit, "37.6"), 0);
  EXPECT_EQ(form->E_edit->Text(), "38");
  int updates = program.eUpdates;
  EXPECT_EQ(kelmora_test::TypeAndPressEnter(*form->E_edit, "abc"), 1);
  EXPECT_EQ(program.eUpdates - updates, 1) << "the Enter that closed the message is no entry";
  EXPECT_EQ(form->E_edit->Text(), "38");
  EXPECT_EQ(form->E_TrackBar->Position(), 38);
  EXPECT_EQ(GetFocus(), form->E_edit->Handle());
}

// After the "Λάθος τιμή" message the temperature edit holds the value it brings back
// selected: the student's next key replaces it rather than going in front of it.
TEST_F(SoundWindow, TheKeyAfterABadTemperatureReplacesTheValueBroughtBack) {
  Start();
  Unlock();
  using kelmora_test::MessageAway;
  struct Case {
    UINT leave;
    MessageAway away;
  };
  const Case cases[] = {
      {VK_RETURN, MessageAway::Enter},
      {VK_RETURN, MessageAway::OkButton},
      {VK_RETURN, MessageAway::CloseBox},
      {VK_TAB, MessageAway::Enter},
  };
  forms::Edit& edit = *form->E_edit;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    form->work_button->SetFocus();
    edit.SetText("250");
    edit.SetFocus();
    ASSERT_EQ(kelmora_test::LeaveWithABadValue(edit, "abc", c.leave, c.away), 1);
    ASSERT_EQ(GetFocus(), edit.Handle());
    EXPECT_EQ(edit.Text(), "250");
    DWORD from = 99, to = 99;
    SendMessageW(edit.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 3u);
    PostMessageW(GetFocus(), WM_CHAR, L'7', 1);
    Pump(20);
    EXPECT_EQ(edit.Text(), "7");
  }
}

// Each way of answering the real unsaved-changes question after a typed answer, in Kelmora4's
// window, which shares the way out with Kelmora2's.
TEST_F(SoundWindow, EveryAnswerToTheExitQuestion) {
  kelmora_test::CheckEveryExitAnswer(
      [this]() -> Unit1::TForm1& {
        Reset();
        Start();
        Unlock();
        return *form;
      },
      dataFile, sound_test::SoundFixtureFile());
}

TEST_F(SoundWindow, TheResultsGridShowsTheOneTable) {
  Start();
  results::BackupMeasurements();
  program.FillGrid(*form, *results::results_form);
  const forms::StringGrid& g = results::results_form->results_StringGrid;
  EXPECT_EQ(g.ColCount(), 5);
  EXPECT_EQ(g.RowCount(), 6);
  EXPECT_EQ(g.Width(), 5 * g.DefaultColWidth() + 11);
  EXPECT_EQ(results::results_form->what_Label.Caption(), "Διαμήκη");
  EXPECT_EQ(results::WaveKind, 1);
  const char* headings[] = {"", "Θερμοκρασία T (C)", "Μήκος κύματος λ (m)", "Περίοδος Τ (sec)",
                            "Ταχύτητα υ (m/sec)"};
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(g.Cell(c, 0), headings[c]) << c;
  EXPECT_EQ(g.Cell(0, 1), "1η Μέτρηση");
  EXPECT_EQ(g.Cell(0, 5), "5η Μέτρηση");
  // Row by row, columns inner in the file: cell (c, r) is the file's (r - 1) * 4 + c - 1.
  for (int r = 1; r <= 5; ++r)
    for (int c = 1; c <= 4; ++c)
      EXPECT_EQ(g.Cell(c, r), std::to_string(100 + (r - 1) * 4 + c - 1)) << c << "," << r;
  EXPECT_EQ(results::results_form->wave_label.Left(),
            results::results_form->what_Label.Left() + results::results_form->what_Label.Width() + 8);
}

TEST_F(SoundWindow, StartAndPauseTheAnimation) {
  Start();
  Unlock();
  MessageRecorder messages;
  HWND work = form->work_button->Handle();
  std::string captionWhileRunning;
  program.onFrame = [&](int n) {
    if (n == 2) captionWhileRunning = form->work_button->Caption();
    if (n == 6) PostMessageW(work, BM_CLICK, 0, 0);
  };
  SendMessageW(work, BM_CLICK, 0, 0);
  EXPECT_EQ(Unit1::TimeStep, 6);
  EXPECT_EQ(captionWhileRunning, "&Παύση");
  EXPECT_EQ(form->work_button->Caption(), "Έ&ναρξη");
  EXPECT_TRUE(form->exit_button->Enabled());
  // The wavelength of the start values, and the particles on the plot in red and blue.
  EXPECT_NEAR(Unit1::WaveLength, 38.6902, 1e-3);
  EXPECT_DOUBLE_EQ(Unit1::Frequency, 10.001) << "10 Hz animates at 10.001";
  const forms::Bitmap& plot = okgraph3::CurrentWidgets().PlotImage->Picture();
  int red = 0, blue = 0;
  for (int y = 0; y < plot.Height(); ++y)
    for (int x = 0; x < plot.Width(); ++x) {
      red += plot.Pixel(x, y) == 0x0000FF;
      blue += plot.Pixel(x, y) == 0xFF0000;
    }
  EXPECT_GT(red, 20);
  EXPECT_GT(blue, 20);
  EXPECT_EQ(messages.Count(), 0u);
}

// Where particles 0 and 1 are drawn on the plot's row of the axis: the pixel midway between
// the outer edges of each marker's outline. Particle 0 is drawn red on the outside and blue
// inside, every other particle the other way round; particle 0 is the leftmost.
struct ParticleCentres {
  int first = -1, second = -1;
};

ParticleCentres FindParticles(const forms::Bitmap& plot, int row) {
  const forms::Color red = 0x0000FF, blue = 0xFF0000;
  ParticleCentres found;
  int x = 0;
  const int w = plot.Width();
  auto skip = [&](auto keepGoing) {
    while (x < w && keepGoing(plot.Pixel(x, row))) ++x;
  };
  auto either = [&](forms::Color c) { return c == red || c == blue; };
  // The first marker whose outline is `outline` and whose inside is `inside`.
  auto marker = [&](forms::Color outline, forms::Color inside) {
    skip([&](forms::Color c) { return c != outline; });
    int left = x;
    skip([&](forms::Color c) { return c == outline; });
    skip([&](forms::Color c) { return c == inside; });
    skip([&](forms::Color c) { return c == outline; });
    return x < w ? (left + x - 1) / 2 : -1;
  };
  found.first = marker(red, blue);
  skip([&](forms::Color c) { return !either(c); });
  found.second = marker(blue, red);
  return found;
}

// The slow motion of the air particles: at every frequency of the track bar particle 0
// swings visibly out from its rest position and back within 40 frames paced as the student
// sees them, and the particle 10 units on follows it a few frames later: the wave runs
// forwards.
TEST_F(SoundWindow, TheParticlesSwingForwardsAndBackOnTheScreen) {
  Start();
  Unlock();
  MessageRecorder messages;
  const forms::Bitmap& plot = okgraph3::CurrentWidgets().PlotImage->Picture();
  forms::Canvas& canvas = okgraph3::CurrentWidgets().PlotImage->GetCanvas();
  okgraph3::GraphMoveTo(0, 0);
  const int row = canvas.PenPos().y, rest0 = canvas.PenPos().x;
  okgraph3::GraphMoveTo(10, 0);
  const int rest1 = canvas.PenPos().x;
  HWND work = form->work_button->Handle();
  for (const char* frequency : {"9.5", "10", "10.5"}) {
    SCOPED_TRACE(testing::Message() << frequency << " Hz");
    EnterFrequency(frequency);
    std::vector<int> d0, d1;
    program.frames = 0;
    // The plot still shows the frame before while the next one measures its ruler.
    program.onFrame = [&](int n) {
      if (n == 1) return;
      ParticleCentres p = FindParticles(plot, row);
      d0.push_back(p.first - rest0);
      d1.push_back(p.second - rest1);
      if (n == 41) PostMessageW(work, BM_CLICK, 0, 0);
    };
    SendMessageW(work, BM_CLICK, 0, 0);
    ASSERT_EQ(d0.size(), 40u);
    ASSERT_TRUE(std::all_of(d0.begin(), d0.end(), [](int d) { return std::abs(d) < 60; }))
        << "particle 0 found on every frame";
    size_t out = 0;
    while (out < d0.size() && std::abs(d0[out]) < 8) ++out;
    ASSERT_LT(out, d0.size()) << "particle 0 never moved 8 pixels from its rest";
    int side = d0[out] > 0 ? 1 : -1;
    bool back = false;
    for (size_t i = out + 1; i < d0.size(); ++i) back = back || d0[i] * side <= 2;
    EXPECT_TRUE(back) << "particle 0 went " << d0[out] << " pixels out and stayed there";
    // The lag, in frames, at which particle 1 best repeats particle 0.
    int bestLag = 0;
    long bestError = -1;
    for (int lag = -10; lag <= 10; ++lag) {
      long error = 0;
      for (int i = 10; i < 30; ++i) {
        long e = d1[static_cast<size_t>(i + lag)] - d0[static_cast<size_t>(i)];
        error += e * e;
      }
      if (bestError < 0 || error < bestError) bestError = error, bestLag = lag;
    }
    EXPECT_GE(bestLag, 3);
    EXPECT_LE(bestLag, 8);
  }
  EXPECT_EQ(messages.Count(), 0u);
}

// Stretched at either end and pulled back by the real mouse, the ruler shows whole after every
// drag, as in the wave experiment.
TEST_F(SoundWindow, TheRulerShowsWholeAsTheMouseStretchesIt) {
  Start();
  Unlock();
  MessageRecorder messages;
  kelmora_test::DragTheRulerAndSeeItWhole(*form);
  EXPECT_EQ(messages.Count(), 0u);
}

}  // namespace
