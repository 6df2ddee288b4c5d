// Any bytes as a data file: the reader never fails other than by its outcome, and whatever it
// reads the writer writes so that it reads back to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "wave_experiment/experiment_data.h"

namespace {

struct State {
  Unit1::ExperimentQuestions q;
  Unit1::MeasurementTable t;
  std::int32_t rows = 0, cols = 0;
};

void Check(std::string_view bytes, const Unit1::DataFilePolicy& policy) {
  State s;
  if (Unit1::ParseDataFile(bytes, policy, s.q, s.t, s.rows, s.cols) != Unit1::ReadOutcome::Ok)
    return;
  std::string written = Unit1::FormatDataFile(policy, s.q, s.t, s.rows, s.cols);
  // An empty answer is written as one empty line and comes back as one empty entry.
  if (s.q.Answer1Lines.empty()) s.q.Answer1Lines.push_back("");
  if (s.q.Answer2Lines.empty()) s.q.Answer2Lines.push_back("");
  State back;
  if (Unit1::ParseDataFile(written, policy, back.q, back.t, back.rows, back.cols) !=
      Unit1::ReadOutcome::Ok)
    std::abort();
  if (back.q != s.q || back.rows != s.rows || back.cols != s.cols) std::abort();
  if (Unit1::FormatDataFile(policy, back.q, back.t, back.rows, back.cols) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(bytes, Unit1::kWaveDataFilePolicy);
  Check(bytes, Unit1::kSoundDataFilePolicy);
  return 0;
}
