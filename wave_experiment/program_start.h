// The program block both experiment programs share: the application with the program's title,
// the data file from the first command-line argument, the main window first, then the
// program's other forms, and the message loop.
#pragma once
#include <functional>

#include "wave_experiment/Unit1.h"

namespace Unit1 {

int RunExperimentProgram(ExperimentProgram& program, const std::function<void()>& createOtherForms);

}  // namespace Unit1
