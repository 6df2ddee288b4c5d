// Kelmora4's floppy report: the questions, the answers and the one table of longitudinal
// (sound) measurements. Pure: bytes in code page 1253, lines ended by CR LF.
#pragma once
#include <string>
#include <string_view>

#include "wave_experiment/experiment_data.h"

namespace sound_report {

// The report's file on the floppy drive.
inline constexpr wchar_t kResultsReportPath[] = L"a:\\results2-2.txt";

// Always five rows of the four columns of kind 1, whatever the grid's counts; no closing
// separator.
std::string BuildSoundReport(const Unit1::ExperimentQuestions& questions,
                             const Unit1::MeasurementTable& table, std::string_view tableLabel,
                             std::string_view waveLabel);

}  // namespace sound_report
