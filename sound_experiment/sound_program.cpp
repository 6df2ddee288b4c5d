#include "sound_experiment/sound_program.h"

#include "forms/application.h"
#include "forms/core/checked_arithmetic.h"
#include "sound_experiment/sound_data_file.h"
#include "sound_experiment/sound_model.h"
#include "toolkit/GreekConfirm.h"
#include "toolkit/dtools.h"
#include "toolkit/okgraph3.h"
#include "wave_experiment/form_seams.h"
#include "wave_experiment/wave_model.h"

namespace SoundProgram {

using namespace Unit1;

double Temperature = 0;
double TempMin = 0, TempMax = 0;

namespace {

constexpr int kBold = forms::fsBold;

// The main window of Kelmora4: the wave program's without the density, the waveform and the
// wave kind; the frequency group takes the density's place and the questions button comes
// up. Its own rows come before the rows both programs share, the information box's panel
// after them.
// clang-format off
const ControlRow kOwnControls[] = {
    {.control = &TForm1::E_track_StaticText, .left = 624, .top = 16, .width = 161, .height = 17,
     .caption = "Θερμοκρασία (T)", .fontHeight = 12, .fontStyle = kBold,
     .options = kSunken | kCentred},
    {.control = &TForm1::E_TrackBar, .left = 616, .top = 40, .width = 113, .height = 33,
     .options = kStartsDisabled | kTrackBarDesign, .trackMax = 100},
    {.control = &TForm1::E_edit, .left = 728, .top = 40, .width = 57, .height = 24,
     .options = kStartsDisabled},
    {.control = &TForm1::v_track_statictext, .left = 624, .top = 80, .width = 161, .height = 17,
     .caption = "Συχνότητα (v)", .fontHeight = 12, .fontStyle = kBold,
     .options = kSunken | kCentred},
    {.control = &TForm1::v_TrackBar, .left = 616, .top = 104, .width = 113, .height = 33,
     .options = kStartsDisabled | kTrackBarDesign, .trackMax = 100},
    {.control = &TForm1::v_Edit, .left = 728, .top = 104, .width = 57, .height = 24,
     .options = kStartsDisabled},
    {.control = &TForm1::peirama_Button, .left = 624, .top = 256, .width = 161, .height = 33,
     .caption = "&2° Πείραμα", .fontHeight = 19, .fontStyle = kBold},
};
// clang-format on

// clang-format off
const ControlRow kOwnControlsAfter[] = {
    {.control = &TForm1::Panel4, .left = 304, .top = 40, .width = 25, .height = 33,
     .options = kNoBevel},
};
// clang-format on

}  // namespace

const char* Program::Caption() const { return "Θερμοκρασία και Ταχύτητα του Ήχου"; }

std::span<const ControlRow> Program::Controls() const {
  static const std::vector<ControlRow> rows = WithSharedControls(kOwnControls, kOwnControlsAfter);
  return rows;
}

std::string Program::InformationText() const {
  return "Θερμοκρασία και Ταχύτητα του Ήχου\r"
         "Προσομοίωση της διάδοσης του ήχου στον αέρα.";
}

const DataFilePolicy& Program::FilePolicy() const { return kSoundDataFilePolicy; }

void Program::InitExperiment(TForm1& form) {
  if (!form.BeginSetup()) return;
  // The answer lists live for the whole run (experiment_data): nothing to create here.
  TempMin = 1.0;
  TempMax = 1000.0;
  FreqMin = 950.0;
  FreqMax = 1050.0;
  forms::TrackBar& e = *form.E_TrackBar;
  e.SetMin(forms::Round(TempMin));
  e.SetMax(forms::Round(TempMax));
  e.SetFrequency(500);
  e.SetPosition(100);
  // Max before Min: a minimum above the design's maximum of 100 would not take.
  forms::TrackBar& v = *form.v_TrackBar;
  v.SetMax(forms::Round(FreqMax));
  v.SetMin(forms::Round(FreqMin));
  v.SetFrequency(10);
  v.SetPosition(1000);
  Temperature = e.Position();
  Frequency = v.Position() / 100.0;
  form.E_edit->SetText(dtools::RealToText(Temperature, 2));
  form.v_Edit->SetText(dtools::RealToText(Frequency, 2));
  form.FinishSetup();
}

void Program::Frame(TForm1& form) {
  TimeStep = forms::CheckedAdd(TimeStep, 1);
  Temperature = form.E_TrackBar->Position();
  Frequency = form.v_TrackBar->Position() / 100.0;
  WaveSpeed = sound_model::SoundSpeed(Temperature);
  WaveLength = wave_model::WaveLength(WaveSpeed, Frequency);
  form.MeasureRuler();
  okgraph3::PrepareBackBitmap();
  forms::Application::Get().ProcessMessages();
  Frequency = sound_model::AnimatedFrequency(Frequency);
  auto s = [](double x) { return sound_model::ParticleDisplacement(TimeStep, Frequency, WaveLength, x); };
  const std::uint32_t red = 0x0000FF, blue = 0xFF0000;
  okgraph3::DrawMarker(0, MarkerSize, red, 0 + s(0), 0, blue);
  for (int i = 1; i <= 9; ++i) okgraph3::DrawMarker(0, MarkerSize, blue, 10 * i + s(10 * i), 0, red);
  okgraph3::VeruBackBitmap();
}

void Program::MeasureRuler(TForm1& form) {
  double units = PixelsToUnits(form.charakas_Panel->Width());
  wave_model::RulerReading r = sound_model::ReadRuler(units, GraphXMin, Temperature, Frequency);
  RulerUnits = r.RulerUnits;
  RulerSpeed = r.RulerSpeed;
  RulerLength = r.RulerLength;
  RulerFrequency = r.RulerFrequency;
  form.ShowRulerReading(dtools::IntToText(RulerUnits), dtools::RealToText(RulerFrequency, 2), r.red);
}

void Program::enable_buttons(TForm1& form) {
  forms::Control* controls[] = {form.E_TrackBar.get(),  form.E_edit.get(),         form.v_TrackBar.get(),
                                form.v_Edit.get(),      form.work_button.get(),    form.charakas_Button.get(),
                                form.calc_Button.get(), form.results_Button.get(), form.save_BitBtn.get()};
  for (forms::Control* c : controls) c->SetEnabled(true);
}

void Program::update_e_edit(TForm1& form) {
  forms::Edit& edit = *form.E_edit;
  forms::TrackBar& bar = *form.E_TrackBar;
  double value = dtools::TextToReal(edit.Text());
  if (value == dtools::InvalidReal) {
    GreekConfirm::VeruGreekConfirm("Λάθος τιμή",
                                   "Η τιμή δεν μπορεί να υπολογισθεί. Δώστε έναν αριθμό από " +
                                       dtools::RealToText(TempMin, 0) + " έως " +
                                       dtools::RealToText(TempMax, 0) + ".",
                                   0);
    form.RestoreValueEdit(edit, SavedEText);
    return;
  }
  // Whole degrees: the track bar's units are the temperature's own.
  if (value < bar.Min()) {
    value = bar.Min();
    edit.SetText(dtools::RealToText(value, 0));
  }
  if (value > bar.Max()) {
    value = bar.Max();
    edit.SetText(dtools::RealToText(value, 0));
  }
  std::int32_t position = forms::Round(value);
  Temperature = value;
  bar.SetPosition(position);
  // A position set here raises no change event of the track bar: the edit shows the whole
  // degrees the next frame will use as the change event would have shown them.
  E_TrackBarChange(form);
  // A bad entry after this one brings back this value, not the text the edit had when it
  // got the focus.
  SavedEText = edit.Text();
}

void Program::E_TrackBarChange(TForm1& form) {
  form.E_edit->SetText(dtools::RealToText(form.E_TrackBar->Position(), 0));
}

void CreateForms() {
  peirama::CreatePeiramaForm();
  results::CreateResultsForm(kSoundResultsDesign);
}

}  // namespace SoundProgram
