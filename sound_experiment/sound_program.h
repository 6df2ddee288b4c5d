// Kelmora4's own side of the main window: its control table and its versions of the
// per-program operations (the speed of sound in air as a function of temperature).
#pragma once
#include "wave_experiment/Unit1.h"
#include "wave_experiment/results.h"

namespace SoundProgram {

// The sound program's own quantities (the wave program's Force and Density have no place
// here): the air temperature in whole degrees Celsius at each frame, and the temperature
// track bar's range in whole degrees.
extern double Temperature;
extern double TempMin, TempMax;

// The results dialog of Kelmora4, designed at 96 pixels per inch.
extern const results::ResultsDialogDesign kSoundResultsDesign;

class Program : public Unit1::ExperimentProgram {
 public:
  const char* Caption() const override;
  std::span<const Unit1::ControlRow> Controls() const override;
  std::string InformationText() const override;
  const Unit1::DataFilePolicy& FilePolicy() const override;

  void InitExperiment(Unit1::TForm1& form) override;
  void Frame(Unit1::TForm1& form) override;
  void MeasureRuler(Unit1::TForm1& form) override;
  void enable_buttons(Unit1::TForm1& form) override;
  void update_e_edit(Unit1::TForm1& form) override;
  void E_TrackBarChange(Unit1::TForm1& form) override;
  // The one table, kind 1, whatever the window shows.
  void FillGrid(Unit1::TForm1& form, results::Tresults_form& dialog) override;
  bool WriteResultsFile(Unit1::TForm1& form) override;
};

// The program block's creation of the questions form and of the results dialog with the
// sound program's design (after the main window).
void CreateForms();

}  // namespace SoundProgram
