// Any bytes as a data file, read as each program reads it: the reader never fails other than
// by its outcome, and every file it takes survives a save and a second reading unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data_file_content.h"
#include "sound_experiment/sound_data_file.h"
#include "wave_experiment/experiment_data.h"

namespace {

using data_file_content::Read;
using data_file_content::Write;

// Whatever a program reads, it saves as a file that reads back to the same content, and
// saves that again byte for byte.
void Check(std::string_view bytes, const Unit1::DataFilePolicy& policy) {
  data_file_content::Reading first = Read(bytes, policy);
  if (first.outcome != Unit1::ReadOutcome::Ok) return;
  std::string written = Write(first, policy);
  data_file_content::Reading back = Read(written, policy);
  if (back.outcome != Unit1::ReadOutcome::Ok) std::abort();
  if (!data_file_content::Difference(first, back, policy).empty()) std::abort();
  if (Write(back, policy) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(bytes, Unit1::kWaveDataFilePolicy);
  Check(bytes, SoundProgram::kSoundDataFilePolicy);
  return 0;
}
