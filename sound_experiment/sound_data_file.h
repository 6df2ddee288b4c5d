// What Kelmora4's data file does otherwise than the wave program's. Pure: no Windows header,
// so the codec's tests and its fuzzer read files as this program reads them.
#pragma once
#include "wave_experiment/experiment_data.h"

namespace SoundProgram {

// One table written; the end of the file before a cell and any third table are errors.
extern const Unit1::DataFilePolicy kSoundDataFilePolicy;

}  // namespace SoundProgram
