// Where the questions form (unit peirama) and the results dialog (unit results) meet the main
// window (unit Unit1). The units of the two forms define the functions declared here; the
// main window calls them. Both forms work directly on the state of experiment_data.h; the
// results dialog is filled by the program of the window whose button opened it.
#pragma once

namespace Unit1 {
class TForm1;
}

namespace peirama {
// The program block: creates peirama_form after Form1.
void CreatePeiramaForm();
// Shows peirama_form modally (peirama_ButtonClick, and FormClose of the main window); the
// answers are back in Unit1::Answer1Lines and Answer2Lines when it returns.
void ShowPeiramaForm();
}  // namespace peirama

namespace results {
// The program block: creates results_form, with Kelmora2's design, after peirama_form.
void CreateResultsForm();
// Body of TForm1::results_ButtonClick: BackupMeasurements, the dialog modally (filled by
// form.FillGrid), AcceptMeasurements.
void results_ButtonClick(Unit1::TForm1& form);
// Body of TForm1::save_BitBtnClick: form.WriteDataFile(), then form.WriteResultsFile(), then
// the outcome message.
void save_BitBtnClick(Unit1::TForm1& form);
}  // namespace results
