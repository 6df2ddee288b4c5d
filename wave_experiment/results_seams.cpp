// Where the questions form and the results dialog meet the main window: the program block's
// creation of the dialog and the bodies of the results and save buttons.
#include "wave_experiment/form_seams.h"

#include <memory>

#include "wave_experiment/Unit1.h"
#include "wave_experiment/report_file.h"
#include "wave_experiment/results.h"

namespace results {

void CreateResultsForm() { CreateResultsForm(kWaveResultsDesign); }

void CreateResultsForm(const ResultsDialogDesign& design) {
  // Lives as long as the program, as the main window does.
  static std::unique_ptr<Tresults_form> form;
  form = std::make_unique<Tresults_form>(design);
  results_form = form.get();
}

void results_ButtonClick(Unit1::TForm1& form) {
  // The grid is the one this window's program chose, whichever window the dialog served
  // before.
  results_form->fillGrid = [&form](Tresults_form& dialog) { form.FillGrid(dialog); };
  RunResultsDialog();
}

void save_BitBtnClick(Unit1::TForm1& form) {
  SaveExperiment([&form] { form.WriteDataFile(); }, [&form] { return form.WriteResultsFile(); });
}

}  // namespace results
