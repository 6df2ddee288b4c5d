#include "sound_experiment/sound_model.h"

#include <cmath>

#include "forms/checked.h"

namespace sound_model {

double SoundSpeed(double temperature) {
  double v = 331.0 * std::sqrt(temperature / 273.0 + 1.0);
  if (!std::isfinite(v)) throw forms::RangeError();
  return v;
}

double AnimatedFrequency(double frequency) { return frequency == 10.0 ? 10.001 : frequency; }

wave_model::RulerReading ReadRuler(double units, std::int32_t graphXMin, double temperature,
                                   double frequency) {
  return wave_model::ReadRuler(units, graphXMin, SoundSpeed(temperature), frequency);
}

}  // namespace sound_model
