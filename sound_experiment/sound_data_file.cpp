#include "sound_experiment/sound_data_file.h"

namespace SoundProgram {

const Unit1::DataFilePolicy kSoundDataFilePolicy{1, true, true, "Το αρχείο δεδομένων δεν βρέθηκε"};

}  // namespace SoundProgram
