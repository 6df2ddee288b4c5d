#include "sound_experiment/sound_report.h"

#include "wave_experiment/results_report.h"

namespace sound_report {

std::string BuildSoundReport(const Unit1::ExperimentQuestions& questions,
                             const Unit1::MeasurementTable& table, std::string_view tableLabel,
                             std::string_view waveLabel) {
  static const std::vector<results_report::ReportTable> kTables = {
      {1, "Διαμήκη", {"Θερμοκρασία", "Μήκος κύματος", "Περίοδος", "Ταχύτητα"}},
  };
  return results_report::BuildReport(questions, table, tableLabel, waveLabel, kTables);
}

}  // namespace sound_report
