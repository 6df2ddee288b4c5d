// Kelmora4's versions of the results dialog's set-up and of the floppy report, and the
// dialog's design.
#include "forms/core/checked_arithmetic.h"
#include "sound_experiment/sound_program.h"
#include "sound_experiment/sound_report.h"
#include "wave_experiment/experiment_data.h"
#include "wave_experiment/report_file.h"

namespace SoundProgram {

const results::ResultsDialogDesign kSoundResultsDesign{
    96,
    784,
    303,
    11,
    {{155, 16, 220, 24}, 19, forms::clNavy, "Πίνακας Μετρήσεων  -", false, true},
    {{382, 16, 89, 24}, 19, forms::clGreen, "Διαμήκη", true, false},
    {{478, 16, 70, 24}, 19, forms::clNavy, "κύματα", true, false},
    {7, 48, 561, 169},
    5,
    6,
    127,
    24,
    {346, 264, 113, 33},
    {496, 264, 113, 33},
    15,
};

void Program::FillGrid(Unit1::TForm1&, results::Tresults_form& dialog) {
  forms::StringGrid& g = dialog.results_StringGrid;
  g.SetColCount(Unit1::GridCols);
  g.SetRowCount(Unit1::GridRows);
  g.SetWidth(forms::CheckedAdd(forms::CheckedMul(g.ColCount(), g.DefaultColWidth()), 11));
  g.SetHeight(forms::CheckedAdd(forms::CheckedMul(g.RowCount(), g.DefaultRowHeight()), 11));
  dialog.what_Label.SetCaption("Διαμήκη");
  results::WaveKind = 1;
  static const char* const kHeadings[] = {"Θερμοκρασία T (C)", "Μήκος κύματος λ (m)", "Περίοδος Τ (sec)",
                                          "Ταχύτητα υ (m/sec)"};
  for (int c = 1; c <= 4; ++c) g.SetCell(c, 0, kHeadings[c - 1]);
  static const char* const kRowLabels[] = {"1η Μέτρηση", "2η Μέτρηση", "3η Μέτρηση", "4η Μέτρηση",
                                           "5η Μέτρηση"};
  for (int r = 1; r <= 5; ++r) g.SetCell(0, r, kRowLabels[r - 1]);
  for (std::int32_t column = 1; column <= g.ColCount() - 1; ++column) {
    for (std::int32_t row = 1; row <= g.RowCount() - 1; ++row) {
      g.SetCell(column, row, Unit1::MeasurementsEdit.Cell(results::WaveKind, column, row));
    }
  }
  // The title reads on as one line.
  dialog.wave_label.SetLeft(dialog.what_Label.Left() + dialog.what_Label.Width() + 8);
}

bool Program::WriteResultsFile(Unit1::TForm1&) {
  std::string report = sound_report::BuildSoundReport(Unit1::Questions, Unit1::Measurements,
                                                      results::results_form->table_label.Caption(),
                                                      results::results_form->wave_label.Caption());
  return results::WriteFloppyReport(sound_report::kResultsReportPath, report);
}

}  // namespace SoundProgram
