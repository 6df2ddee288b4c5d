// Kelmora2's own versions of the results dialog's set-up and of the floppy report (its
// program's FillGrid and WriteResultsFile are these with the main window's choices).
#pragma once
#include "wave_experiment/results.h"

namespace WaveProgram {

// The report's file on the floppy drive.
inline constexpr wchar_t kResultsReportPath[] = L"a:\\results1-2.txt";

// FillGrid for the kind it is given (transverse or longitudinal): counts, size, title,
// headings, row labels and the working copy's cells of that kind.
void FillGridOfKind(results::Tresults_form& dialog, bool transverse);

// WriteResultsFile: the report of the stored table with the dialog's captions of this moment.
bool WriteWaveResultsFile();

}  // namespace WaveProgram
