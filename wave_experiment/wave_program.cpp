#include "wave_experiment/wave_program.h"

#include "forms/application.h"
#include "forms/core/checked_arithmetic.h"
#include "toolkit/dtools.h"
#include "toolkit/okgraph3.h"
#include "wave_experiment/wave_model.h"
#include "wave_experiment/wave_results.h"

namespace WaveProgram {

using namespace Unit1;

namespace {

constexpr int kBold = forms::fsBold;

// The main window of Kelmora2: its three value controls, the waveform, the wave kind and the
// questions button before the rows both programs share, the information box's panel (of this
// program's own bounds) after them. The design's track-bar limits are wide enough that the
// set-up's ranges (Min before Max) all take effect.
// clang-format off
const ControlRow kOwnControls[] = {
    {.control = &TForm1::E_track_StaticText, .left = 624, .top = 16, .width = 161, .height = 17,
     .caption = "Δύναμη (F)", .fontHeight = 12, .fontStyle = kBold, .options = kSunken | kCentred},
    {.control = &TForm1::E_TrackBar, .left = 616, .top = 40, .width = 113, .height = 33,
     .options = kStartsDisabled | kTrackBarDesign, .trackMax = 1000},
    {.control = &TForm1::E_edit, .left = 728, .top = 40, .width = 57, .height = 24,
     .options = kStartsDisabled},
    {.control = &TForm1::d_track_StaticText, .left = 624, .top = 80, .width = 161, .height = 17,
     .caption = "Γραμμική πυκνότητα (μ)", .fontHeight = 12, .fontStyle = kBold,
     .options = kSunken | kCentred},
    {.control = &TForm1::d_TrackBar, .left = 616, .top = 104, .width = 113, .height = 33,
     .options = kStartsDisabled | kTrackBarDesign, .trackMax = 300},
    {.control = &TForm1::d_edit, .left = 728, .top = 104, .width = 57, .height = 24,
     .options = kStartsDisabled},
    {.control = &TForm1::v_track_statictext, .left = 624, .top = 144, .width = 161, .height = 17,
     .caption = "Συχνότητα (v)", .fontHeight = 12, .fontStyle = kBold,
     .options = kSunken | kCentred},
    {.control = &TForm1::v_TrackBar, .left = 616, .top = 168, .width = 113, .height = 33,
     .options = kStartsDisabled | kTrackBarDesign, .trackMax = 200},
    {.control = &TForm1::v_Edit, .left = 728, .top = 168, .width = 57, .height = 24,
     .options = kStartsDisabled},
    {.control = &TForm1::showline_CheckBox, .left = 624, .top = 224, .width = 129, .height = 17,
     .caption = "&Κυματομορφή", .fontHeight = 13, .fontStyle = kBold,
     .options = kStartsDisabled | kChecked},
    {.control = &TForm1::egkarsia_radiobutton, .left = 624, .top = 264, .width = 145,
     .height = 17, .caption = "Εγκάρσια κύματα", .options = kStartsDisabled | kChecked},
    {.control = &TForm1::diamhkh_RadioButton, .left = 624, .top = 288, .width = 145, .height = 17,
     .caption = "Διαμήκη κύματα", .options = kStartsDisabled},
    {.control = &TForm1::peirama_Button, .left = 624, .top = 344, .width = 161, .height = 33,
     .caption = "&2° Πείραμα", .fontHeight = 19, .fontStyle = kBold},
};
// clang-format on

// clang-format off
const ControlRow kOwnControlsAfter[] = {
    {.control = &TForm1::Panel4, .left = 296, .top = 40, .width = 33, .height = 33,
     .options = kNoBevel},
};
// clang-format on

}  // namespace

const char* Program::Caption() const { return "Ταχύτητα Διάδοσης Κυμάτων"; }

std::span<const ControlRow> Program::Controls() const {
  static const std::vector<ControlRow> rows = WithSharedControls(kOwnControls, kOwnControlsAfter);
  return rows;
}

std::string Program::InformationText() const {
  return "Ταχύτητα Διάδοσης Κυμάτων\r"
         "Προσομοίωση εγκάρσιων και διαμήκων κυμάτων σε ελαστικό μέσο.";
}

const DataFilePolicy& Program::FilePolicy() const { return kWaveDataFilePolicy; }

void Program::InitExperiment(TForm1& form) {
  if (!form.BeginSetup()) return;
  // The answer lists live for the whole run (experiment_data): nothing to create here.
  ForceMin = 30.0;
  ForceMax = 1000.0;
  DensityMin = 10.0;
  DensityMax = 300.0;
  FreqMin = 3.0;
  FreqMax = 200.0;
  auto setBar = [](forms::TrackBar& bar, double min, double max, int frequency, int position) {
    bar.SetMin(forms::Round(min));
    bar.SetMax(forms::Round(max));
    bar.SetFrequency(frequency);
    bar.SetPosition(position);
  };
  setBar(*form.E_TrackBar, ForceMin, ForceMax, 50, 350);
  setBar(*form.d_TrackBar, DensityMin, DensityMax, 20, 40);
  setBar(*form.v_TrackBar, FreqMin, FreqMax, 50, 25);
  Force = form.E_TrackBar->Position() / 100.0;
  Density = form.d_TrackBar->Position() / 100.0;
  Frequency = form.v_TrackBar->Position() / 100.0;
  form.E_edit->SetText(dtools::RealToText(Force, 2));
  form.d_edit->SetText(dtools::RealToText(Density, 2));
  form.v_Edit->SetText(dtools::RealToText(Frequency, 2));
  form.FinishSetup();
}

void Program::Frame(TForm1& form) {
  auto& app = forms::Application::Get();
  TimeStep = forms::CheckedAdd(TimeStep, 1);
  Force = form.E_TrackBar->Position() / 100.0;
  Density = form.d_TrackBar->Position() / 100.0;
  Frequency = form.v_TrackBar->Position() / 100.0;
  WaveSpeed = wave_model::WaveSpeed(Force, Density);
  WaveLength = wave_model::WaveLength(WaveSpeed, Frequency);
  form.MeasureRuler();
  okgraph3::PrepareBackBitmap();
  app.ProcessMessages();
  const std::uint32_t red = 0x0000FF, blue = 0xFF0000;
  if (form.egkarsia_radiobutton->Checked()) {
    auto y = [](double x) { return wave_model::TransverseDisplacement(TimeStep, Frequency, WaveLength, x); };
    if (form.showline_CheckBox->Checked()) {
      okgraph3::BackMoveTo(0, y(0));
      for (int i = 1; i <= 200; ++i) {
        if (i % 20 == 0) app.ProcessMessages();
        okgraph3::BackLineTo(i / 2.0, y(i / 2.0));
      }
    }
    okgraph3::DrawMarker(0, MarkerSize, red, 0, y(0), blue);
    for (int i = 1; i <= 9; ++i) okgraph3::DrawMarker(0, MarkerSize, blue, 10 * i, y(10 * i), red);
  } else {
    auto s = [](double x) {
      return wave_model::LongitudinalDisplacement(TimeStep, Frequency, WaveLength, x);
    };
    okgraph3::DrawMarker(0, MarkerSize, red, 0 + s(0), 0, blue);
    for (int i = 1; i <= 9; ++i) {
      okgraph3::DrawMarker(0, MarkerSize, blue, 10 * i + s(10 * i), 0, red);
    }
  }
  okgraph3::VeruBackBitmap();
}

void Program::MeasureRuler(TForm1& form) {
  double units = PixelsToUnits(form.charakas_Panel->Width());
  wave_model::RulerReading r =
      wave_model::ReadRuler(units, GraphXMin, wave_model::WaveSpeed(Force, Density), Frequency);
  RulerUnits = r.RulerUnits;
  RulerSpeed = r.RulerSpeed;
  RulerLength = r.RulerLength;
  RulerFrequency = r.RulerFrequency;
  form.ShowRulerReading(dtools::IntToText(RulerUnits), dtools::RealToText(RulerFrequency, 2), r.red);
}

void Program::enable_buttons(TForm1& form) {
  forms::Control* controls[] = {form.E_TrackBar.get(),          form.E_edit.get(),
                                form.d_TrackBar.get(),          form.d_edit.get(),
                                form.v_TrackBar.get(),          form.v_Edit.get(),
                                form.showline_CheckBox.get(),   form.egkarsia_radiobutton.get(),
                                form.diamhkh_RadioButton.get(), form.work_button.get(),
                                form.charakas_Button.get(),     form.calc_Button.get(),
                                form.results_Button.get(),      form.save_BitBtn.get()};
  for (forms::Control* c : controls) c->SetEnabled(true);
}

void Program::update_e_edit(TForm1& form) {
  form.UpdateValueEdit(*form.E_edit, *form.E_TrackBar, SavedEText, Force, ForceMin, ForceMax);
}

void Program::E_TrackBarChange(TForm1& form) {
  form.E_edit->SetText(dtools::RealToText(form.E_TrackBar->Position() / 100.0, 2));
}

void Program::FillGrid(TForm1& form, results::Tresults_form& dialog) {
  FillGridOfKind(dialog, form.egkarsia_radiobutton->Checked());
}

bool Program::WriteResultsFile(TForm1&) { return WriteWaveResultsFile(); }

}  // namespace WaveProgram
