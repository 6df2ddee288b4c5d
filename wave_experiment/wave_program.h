// Kelmora2's own side of the main window: its control table and its versions of the
// per-program operations (transverse and longitudinal waves in an elastic medium).
#pragma once
#include "wave_experiment/Unit1.h"

namespace WaveProgram {

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
  // The transverse or the longitudinal table, as the window's radio buttons chose.
  void FillGrid(Unit1::TForm1& form, results::Tresults_form& dialog) override;
  bool WriteResultsFile(Unit1::TForm1& form) override;
};

}  // namespace WaveProgram
