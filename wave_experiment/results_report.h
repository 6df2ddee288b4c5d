// The floppy report: the questions, the answers and the measurement tables as fixed-width
// text for the student to take away. Pure: bytes in code page 1253, lines ended by CR LF.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wave_experiment/experiment_data.h"

namespace results_report {

// One table of the report: its kind in the measurement table, the kind's word of the title
// line and the column headings (one per reported column, 20 characters each).
struct ReportTable {
  std::int32_t kind;
  std::string kindWord;
  std::vector<std::string> headings;
};

// Separator, question 1 and its answer, separator, question 2 and its answer, then for each
// table a separator (none after the last), its title line, an empty line, the headings and
// five rows of cells. The title line is the two captions of the results dialog around the
// kind's word, each followed by one space. An empty answer is one empty line; cells are cut
// or padded to 20 characters, row labels to 15.
std::string BuildReport(const Unit1::ExperimentQuestions& questions, const Unit1::MeasurementTable& table,
                        std::string_view tableLabel, std::string_view waveLabel,
                        const std::vector<ReportTable>& tables);

// Kelmora2's report: the transverse and the longitudinal table, five columns each.
std::string BuildWaveReport(const Unit1::ExperimentQuestions& questions, const Unit1::MeasurementTable& table,
                            std::string_view tableLabel, std::string_view waveLabel);

}  // namespace results_report
