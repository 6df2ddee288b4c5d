// Kelmora4: the sound-speed experiment. One argument: the path of the data file.
#include "sound_experiment/sound_program.h"
#include "wave_experiment/program_start.h"

int main() {
  static SoundProgram::Program program;
  return Unit1::RunExperimentProgram(program, SoundProgram::CreateForms);
}
