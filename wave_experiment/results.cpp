#include "wave_experiment/results.h"

#include "wave_experiment/Unit1.h"
#include "wave_experiment/form_seams.h"

namespace results {

Tresults_form* results_form = nullptr;

Tresults_form::Tresults_form() {
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetPosition(forms::FormPosition::ScreenCenter);
  SetCaption(" ");
}

void CreateResultsForm() {
  if (!results_form) results_form = new Tresults_form();
}

void results_ButtonClick(Unit1::TForm1&) {}

void save_BitBtnClick(Unit1::TForm1& form) {
  form.WriteDataFile();
  form.WriteResultsFile();
}

}  // namespace results

namespace WaveProgram {

void FillGrid(results::Tresults_form&) {}
bool WriteResultsFile(Unit1::TForm1&) { return true; }

}  // namespace WaveProgram
