// Kelmora2: the wave-speed experiment. One argument: the path of the data file.
#include "wave_experiment/form_seams.h"
#include "wave_experiment/program_start.h"
#include "wave_experiment/wave_program.h"

int main() {
  static WaveProgram::Program program;
  return Unit1::RunExperimentProgram(program, [] {
    peirama::CreatePeiramaForm();
    results::CreateResultsForm();
  });
}
