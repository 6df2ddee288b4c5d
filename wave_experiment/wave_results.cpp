#include "wave_experiment/wave_results.h"

#include "forms/core/checked_arithmetic.h"
#include "wave_experiment/experiment_data.h"
#include "wave_experiment/report_file.h"
#include "wave_experiment/results_report.h"

namespace WaveProgram {

void FillGridOfKind(results::Tresults_form& dialog, bool transverse) {
  forms::StringGrid& g = dialog.results_StringGrid;
  g.SetColCount(Unit1::GridCols);
  g.SetRowCount(Unit1::GridRows);
  g.SetWidth(forms::CheckedAdd(forms::CheckedMul(g.ColCount(), g.DefaultColWidth()), 11));
  g.SetHeight(forms::CheckedAdd(forms::CheckedMul(g.RowCount(), g.DefaultRowHeight()), 11));
  static const char* const kTransverse[] = {"Δύναμη F (N)", "Γρ. πυκνότητα μ (Kgr/m)", "Μήκος κύματος λ (m)",
                                            "Περίοδος Τ (sec)", "Ταχύτητα υ (m/sec)"};
  static const char* const kLongitudinal[] = {"Ελ/τητα Ε (Kgr/msec^2)", "Πυκνότητα d (Kgr/m^3)",
                                              "Μήκος κύματος λ (m)", "Περίοδος Τ (sec)",
                                              "Ταχύτητα υ (m/sec)"};
  dialog.what_Label.SetCaption(transverse ? "Εγκάρσια" : "Διαμήκη");
  results::WaveKind = transverse ? 1 : 2;
  const char* const* headings = transverse ? kTransverse : kLongitudinal;
  for (int c = 1; c <= 5; ++c) g.SetCell(c, 0, headings[c - 1]);
  static const char* const kRowLabels[] = {"1η Μέτρηση", "2η Μέτρηση", "3η Μέτρηση", "4η Μέτρηση",
                                           "5η Μέτρηση"};
  for (int r = 1; r <= 5; ++r) g.SetCell(0, r, kRowLabels[r - 1]);
  for (std::int32_t column = 1; column <= g.ColCount() - 1; ++column) {
    for (std::int32_t row = 1; row <= g.RowCount() - 1; ++row) {
      g.SetCell(column, row, Unit1::MeasurementsEdit.Cell(results::WaveKind, column, row));
    }
  }
  // The title reads on as one line whatever the kind's word.
  dialog.wave_label.SetLeft(dialog.what_Label.Left() + dialog.what_Label.Width() + 8);
}

bool WriteWaveResultsFile() {
  std::string report = results_report::BuildWaveReport(Unit1::Questions, Unit1::Measurements,
                                                       results::results_form->table_label.Caption(),
                                                       results::results_form->wave_label.Caption());
  return results::WriteFloppyReport(kResultsReportPath, report);
}

}  // namespace WaveProgram
